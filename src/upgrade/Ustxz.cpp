// The question bank upgrade window.
#include "upgrade/Ustxz.h"
#include "widgets/ThemeGui.h"

#include "widgets/UsmallWindow.h"
#include "platform/Seams.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"
#include "widgets/BackupGui.h"
#include "store/BankBackup.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

QString Tfrmstxz::fileFilter() { return QStringLiteral("升级文件(*.db)|*.db|所有文件(*.*)|*.*"); }

Tfrmstxz::Tfrmstxz(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmstxz"));
    setWindowTitle(QStringLiteral("题库升级"));
    setFixedSize(480, 380);

    auto *title = new QLabel(windowTitle(), this);
    title->setObjectName(QStringLiteral("title"));
    theme::setRole(title, "title");
    title->setGeometry(12, 3, 300, 20);

    Label1 = new QLabel(QStringLiteral("建议先下载升级题库，然后选择本地升级！"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    theme::setRole(Label1, "notice");

    RadioGroup1 = new QGroupBox(QStringLiteral("选择升级方式"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1Item0 = new QRadioButton(QStringLiteral("本地升级"), RadioGroup1);
    RadioGroup1Item0->setObjectName(QStringLiteral("RadioGroup1Item0"));
    Edit1 = new QLineEdit(RadioGroup1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    SpeedButton1 = new QToolButton(RadioGroup1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setToolTip(QStringLiteral("选择升级文件"));
    RadioGroup1Item1 = new QRadioButton(QStringLiteral("从备份恢复"), RadioGroup1);
    RadioGroup1Item1->setObjectName(QStringLiteral("RadioGroup1Item1"));
    ListBackups = new QTreeWidget(RadioGroup1);
    ListBackups->setObjectName(QStringLiteral("ListBackups"));
    ListBackups->setAccessibleName(QStringLiteral("备份列表"));
    ListBackups->setRootIsDecorated(false);
    ListBackups->setHeaderLabels(
        {QStringLiteral("备份时间"), QStringLiteral("原因"), QStringLiteral("题目数"), QStringLiteral("已答题数")});
    ListBackups->header()->setStretchLastSection(false);
    ListBackups->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 4; ++c)
        ListBackups->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    auto *group = new QGridLayout(RadioGroup1);
    group->addWidget(RadioGroup1Item0, 0, 0, 1, 2);
    group->addWidget(Edit1, 1, 0);
    group->addWidget(SpeedButton1, 1, 1);
    group->addWidget(RadioGroup1Item1, 2, 0, 1, 2);
    group->addWidget(ListBackups, 3, 0, 1, 2);

    epFocusButton1 = new QPushButton(QStringLiteral("开始升级"), this);
    epFocusButton1->setObjectName(QStringLiteral("epFocusButton1"));
    epFocusButton1->setAutoDefault(false);
    epFocusButton2 = new QPushButton(QStringLiteral("开始恢复"), this);
    epFocusButton2->setObjectName(QStringLiteral("epFocusButton2"));
    epFocusButton2->setAutoDefault(false);
    epFocusButton3 = new QPushButton(QStringLiteral("关闭"), this);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(epFocusButton1);
    buttons->addWidget(epFocusButton2);
    buttons->addWidget(epFocusButton3);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 36, 20, 14);
    outer->addWidget(Label1);
    outer->addWidget(RadioGroup1);
    outer->addLayout(buttons);

    connect(epFocusButton1, &QPushButton::clicked, this, &Tfrmstxz::epFocusButton1Click);
    connect(epFocusButton3, &QPushButton::clicked, this, &QWidget::close);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrmstxz::SpeedButton1Click);
    connect(epFocusButton2, &QPushButton::clicked, this, &Tfrmstxz::epFocusButton2Click);
    connect(RadioGroup1Item0, &QRadioButton::toggled, this, &Tfrmstxz::RadioGroup1Click);
    RadioGroup1Item0->installEventFilter(this);
    RadioGroup1Item1->installEventFilter(this);
}

void Tfrmstxz::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    smallwindow::centreOnScreen(this);
    FormShow();
}

bool Tfrmstxz::eventFilter(QObject *watched, QEvent *event)
{
    // Tab reaches both choices, the one not chosen included: the toolkit
    // takes the Tab stop from an unchecked radio button when it is shown.
    if (event->type() == QEvent::Show || event->type() == QEvent::Paint)
        if (auto *r = qobject_cast<QRadioButton *>(watched); r && !(r->focusPolicy() & Qt::TabFocus))
            r->setFocusPolicy(Qt::StrongFocus);
    return QDialog::eventFilter(watched, event);
}

void Tfrmstxz::paintEvent(QPaintEvent *) { smallwindow::paintFace(this); }

void Tfrmstxz::FormShow()
{
    RadioGroup1Item0->setChecked(true);
    RadioGroup1Click();
}

void Tfrmstxz::RadioGroup1Click()
{
    const bool local = RadioGroup1Item0->isChecked();
    Edit1->setEnabled(local);
    SpeedButton1->setEnabled(local);
    epFocusButton1->setVisible(local);
    ListBackups->setEnabled(!local);
    epFocusButton2->setVisible(!local);
    if (!local)
        loadBackups();
}

void Tfrmstxz::loadBackups()
{
    ListBackups->clear();
    if (!DM1)
        return;
    ui::busyCursor();
    const QList<bankbackup::Entry> copies = bankbackup::findBackups(bankbackup::backupDir(DM1->bankPath()));
    const QList<bankbackup::Summary> summaries = backupgui::summarizeCopies(copies);
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const bankbackup::Entry &e = copies.at(i);
        const bankbackup::Summary &s = summaries.at(i);
        auto *item = new QTreeWidgetItem(ListBackups);
        item->setText(0, e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        item->setText(1, bankbackup::reasonText(e.reason));
        item->setText(2, s.error.isEmpty() ? QString::number(s.questions) : QStringLiteral("?"));
        item->setText(3, s.error.isEmpty() ? QString::number(s.answers) : QStringLiteral("?"));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, Qt::UserRole, e.path);
    }
    if (ListBackups->topLevelItemCount() > 0)
        ListBackups->setCurrentItem(ListBackups->topLevelItem(0));
    ui::normalCursor();
}

void Tfrmstxz::epFocusButton2Click()
{
    QTreeWidgetItem *item = ListBackups->currentItem();
    if (!item) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("请先选择一个备份！"), 1, seams::DlgWarning, QStringLiteral("NO"));
        return;
    }
    const QString question = QStringLiteral("题库将恢复为 %1 的备份，之后的学习记录将被替换（当前题库会先备份）。确定要恢复吗？")
                                 .arg(item->text(0));
    if (seams::showDlg(QStringLiteral("提示"), question, 0, seams::DlgWarning, QStringLiteral("NO")) != 1)
        return;
    if (backupgui::restoreFrom(item->data(0, Qt::UserRole).toString()))
        loadBackups();
}

bool Tfrmstxz::FormCloseQuery()
{
    m_cn2.close();
    return true;
}

void Tfrmstxz::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    QDialog::closeEvent(event);
}

void Tfrmstxz::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the window; "关闭" does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tfrmstxz::SpeedButton1Click()
{
    const QString current = Edit1->text().trimmed();
    const QString folder = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    const QString chosen = seams::openFileName({QStringLiteral("选择升级文件"), folder, fileFilter()});
    if (!chosen.isEmpty())
        Edit1->setText(QDir::toNativeSeparators(chosen));
}

void Tfrmstxz::epFocusButton1Click()
{
    const QString path = Edit1->text().trimmed();
    if (path.isEmpty()) {
        m_last = upgrade::Outcome::NoPath;
        const upgrade::Message m = upgrade::messageFor(m_last);
        seams::showDlg(m.caption, m.text, 1, m.page, QStringLiteral("NO"));
        return;
    }
    ImportUpgrade(path);
}

void Tfrmstxz::ImportUpgrade(const QString &path)
{
    if (!DM1)
        return;
    ui::busyCursor();
    // The bank is copied (reason upgrade) once the file has passed its
    // checks, just before the merge.
    const upgrade::Result r = upgrade::importUpgrade(*DM1, m_cn2, path, [] {
        return backupgui::backUp(QString::fromLatin1(bankbackup::Upgrade));
    });
    ui::normalCursor();
    m_last = r.outcome;
    if (r.outcome == upgrade::Outcome::EngineError) {
        ui::showError(r.engineText);
        return;
    }
    const upgrade::Message m = upgrade::messageFor(r.outcome);
    seams::showDlg(m.caption, m.text, 1, m.page, QStringLiteral("NO"));
}
