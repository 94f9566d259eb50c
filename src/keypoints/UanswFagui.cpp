// The related key points of one question.
#include "keypoints/UanswFagui.h"
#include "widgets/ThemeGui.h"

#include "common/ShellState.h"
#include "platform/RichText.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QSqlQuery>
#include <QTextEdit>
#include <QVBoxLayout>

TfrmAnswFagui::TfrmAnswFagui(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAnswFagui"));
    setWindowTitle(QStringLiteral("相关考点"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(917, 585);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);
    epLabel1 = new QLabel(QStringLiteral("考点："), this);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    QFont tf = epLabel1->font();
    tf.setPointSize(13);
    tf.setBold(true);
    epLabel1->setFont(tf);
    theme::setRole(epLabel1, "section");
    v->addWidget(epLabel1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    ListBox1 = new QListWidget(Splitter1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("本题考点"));
    Re = new QTextEdit(Splitter1);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setAccessibleName(QStringLiteral("考点内容"));
    Re->setReadOnly(true);
    Splitter1->addWidget(ListBox1);
    Splitter1->addWidget(Re);
    Splitter1->setSizes({260, 640});
    v->addWidget(Splitter1, 1);

    auto *bar = new QHBoxLayout;
    bar->addStretch(1);
    epEfTrBtn1 = new QPushButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setAutoDefault(false);
    epEfTrBtn1->setMinimumWidth(90);
    bar->addWidget(epEfTrBtn1);
    v->addLayout(bar);

    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int) {
        if (m_shown)
            ListBox1Click();
    });
    connect(epEfTrBtn1, &QPushButton::clicked, this, &TfrmAnswFagui::epEfTrBtn1Click);
    // Moving the splitter repaints the text.
    connect(Splitter1, &QSplitter::splitterMoved, Re, [this] { Re->viewport()->update(); });
}

bool TfrmAnswFagui::LoadKeyPoints(const QString &questionId)
{
    if (!DM1)
        return false;
    QSqlQuery q = DM1->exec(QStringLiteral("select k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 from tab_answ where a1=?"), {questionId});
    if (!q.next()) {
        q.finish();
        return false;
    }
    m_listbox.clear();
    for (int i = 0; i < 10; ++i) {
        const QString k = q.value(i).toString();
        if (!q.value(i).isNull() && !k.isEmpty())
            m_listbox << k;
    }
    q.finish();
    return !m_listbox.isEmpty();
}

void TfrmAnswFagui::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown)
        FormShow();
}

void TfrmAnswFagui::FormShow()
{
    if (shell().compactScreen()) {
        resize(657, 421);
        Splitter1->setSizes({185, 469});
    }
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    m_rows.clear();
    ListBox1->clear();
    Re->clear();
    epLabel1->clear();
    if (DM1 && !m_listbox.isEmpty()) {
        QSqlQuery q = DM1->execText(QStringLiteral("select id,n,sn from tab_rule where ftid in") + sqltext::valueList(m_listbox));
        while (q.next())
            m_rows.append({q.value(0).toString(), q.value(1).toByteArray(), q.value(2).toString()});
        q.finish();
    }
    for (const KeyPoint &k : m_rows)
        ListBox1->addItem(k.sn.trimmed());
    if (!m_rows.isEmpty()) {
        epLabel1->setText(groupName(m_rows.first().id));
        showRow(0);
        ListBox1->setCurrentRow(0);
    }
    m_shown = true;
}

void TfrmAnswFagui::showRow(int row)
{
    Re->clear();
    if (row >= 0 && row < m_rows.size())
        richtext::readInto(*Re->document(), m_rows.at(row).n);
}

QString TfrmAnswFagui::groupName(const QString &groupId)
{
    if (!DM1)
        return QString();
    return DM1->scalar(QStringLiteral("select n from tab_fgmc where id=?"), {groupId}).toString();
}

void TfrmAnswFagui::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= m_rows.size() || !DM1)
        return;
    showRow(row);
    // The title names the group of the first key point with this title.
    const QVariant group = DM1->scalar(QStringLiteral("select id from tab_rule where sn=?"), {m_rows.at(row).sn});
    epLabel1->setText(groupName(group.toString()));
}

void TfrmAnswFagui::epEfTrBtn1Click() { close(); }
