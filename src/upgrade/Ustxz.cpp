// The question bank upgrade window.
#include "upgrade/Ustxz.h"
#include "widgets/ThemeGui.h"

#include "widgets/UsmallWindow.h"
#include "platform/Seams.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

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
#include <QVBoxLayout>

QString Tfrmstxz::fileFilter() { return QStringLiteral("升级文件(*.db)|*.db|所有文件(*.*)|*.*"); }

Tfrmstxz::Tfrmstxz(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmstxz"));
    setWindowTitle(QStringLiteral("题库升级"));
    setFixedSize(420, 200);

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
    auto *group = new QGridLayout(RadioGroup1);
    group->addWidget(RadioGroup1Item0, 0, 0, 1, 2);
    group->addWidget(Edit1, 1, 0);
    group->addWidget(SpeedButton1, 1, 1);

    epFocusButton1 = new QPushButton(QStringLiteral("开始升级"), this);
    epFocusButton1->setObjectName(QStringLiteral("epFocusButton1"));
    epFocusButton1->setAutoDefault(false);
    epFocusButton3 = new QPushButton(QStringLiteral("关闭"), this);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(epFocusButton1);
    buttons->addWidget(epFocusButton3);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 36, 20, 14);
    outer->addWidget(Label1);
    outer->addWidget(RadioGroup1);
    outer->addStretch(1);
    outer->addLayout(buttons);

    connect(epFocusButton1, &QPushButton::clicked, this, &Tfrmstxz::epFocusButton1Click);
    connect(epFocusButton3, &QPushButton::clicked, this, &QWidget::close);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrmstxz::SpeedButton1Click);
}

void Tfrmstxz::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    smallwindow::centreOnScreen(this);
    FormShow();
}

void Tfrmstxz::paintEvent(QPaintEvent *) { smallwindow::paintFace(this); }

void Tfrmstxz::FormShow() { RadioGroup1Item0->setChecked(true); }

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
    const upgrade::Result r = upgrade::importUpgrade(*DM1, m_cn2, path);
    ui::normalCursor();
    m_last = r.outcome;
    if (r.outcome == upgrade::Outcome::EngineError) {
        ui::showError(r.engineText);
        return;
    }
    const upgrade::Message m = upgrade::messageFor(r.outcome);
    seams::showDlg(m.caption, m.text, 1, m.page, QStringLiteral("NO"));
}
