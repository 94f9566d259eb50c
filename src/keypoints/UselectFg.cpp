// The key-point picker.
#include "keypoints/UselectFg.h"
#include "widgets/AccessibleGui.h"

#include "common/ShellState.h"
#include "platform/Seams.h"
#include "store/DbError.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace keypoints;

TFrmSelectFG::TFrmSelectFG(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSelectFG"));
    setWindowTitle(QStringLiteral("欢迎"));
    // A tool window without border icons.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(528, 400);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    root->addWidget(PageControl1);

    auto *pick = new QWidget(PageControl1);
    auto *pv = new QVBoxLayout(pick);
    auto *groupRow = new QHBoxLayout;
    groupRow->addWidget(new QLabel(QStringLiteral("考点："), pick));
    ComboBox1 = new QComboBox(pick);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    groupRow->addWidget(ComboBox1, 1);
    pv->addLayout(groupRow);
    auto *itemsLabel = new QLabel(QStringLiteral("条文："), pick);
    pv->addWidget(itemsLabel);
    CheckListBox1 = new QListWidget(pick);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    a11y::nameAfter(itemsLabel, CheckListBox1);
    pv->addWidget(CheckListBox1, 1);
    auto *pickButtons = new QHBoxLayout;
    pickButtons->addStretch(1);
    auto button = [this](QPushButton *&b, const char *name, const QString &text, QWidget *owner) {
        b = new QPushButton(text, owner);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
        return b;
    };
    pickButtons->addWidget(button(epEfButton1, "epEfButton1", QStringLiteral("确定"), pick));
    pickButtons->addWidget(button(epEfButton2, "epEfButton2", QStringLiteral("关闭"), pick));
    pv->addLayout(pickButtons);
    PageControl1->addTab(pick, QStringLiteral("考 点 选 择"));

    auto *help = new QWidget(PageControl1);
    auto *hv = new QVBoxLayout(help);
    helpText = new QPlainTextEdit(help);
    helpText->setObjectName(QStringLiteral("Memo1"));
    helpText->setAccessibleName(QStringLiteral("使用说明"));
    helpText->setReadOnly(true);
    helpText->setPlainText(pickerHelpText());
    hv->addWidget(helpText, 1);
    auto *helpButtons = new QHBoxLayout;
    helpButtons->addStretch(1);
    helpButtons->addWidget(button(epEfButton3, "epEfButton3", QStringLiteral("关闭"), help));
    hv->addLayout(helpButtons);
    PageControl1->addTab(help, QStringLiteral("使 用 说 明"));

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            ComboBox1Change();
    });
    connect(CheckListBox1, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_filling)
            CheckListBox1ClickCheck(CheckListBox1->row(item));
    });
    connect(epEfButton1, &QPushButton::clicked, this, &TFrmSelectFG::epEfButton1Click);
    connect(epEfButton2, &QPushButton::clicked, this, &TFrmSelectFG::closeClick);
    connect(epEfButton3, &QPushButton::clicked, this, &TFrmSelectFG::closeClick);
}

void TFrmSelectFG::selectPage(int page) { PageControl1->setCurrentIndex(page); }
int TFrmSelectFG::page() const { return PageControl1->currentIndex(); }

void TFrmSelectFG::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    FormShow();
}

void TFrmSelectFG::FormShow()
{
    if (page() != 0 || !DM1)
        return;
    try {
        LoadPickerLists();
    } catch (const store::DbError &e) {
        ui::showError(e.text());
    }
}

void TFrmSelectFG::LoadPickerLists()
{
    m_filling = true;
    ComboBox1->clear();
    ComboBox2.clear();
    for (const PickerGroup &g : loadPickerGroups(*DM1)) {
        ComboBox1->addItem(g.name);
        ComboBox2 << g.code;
    }
    m_filling = false;
    if (ComboBox2.isEmpty()) {
        CheckListBox1->clear();
        CheckListBox2.clear();
        picked.clear();
        return;
    }
    m_filling = true;
    ComboBox1->setCurrentIndex(0);
    m_filling = false;
    fillKeyPoints(ComboBox2.first());
}

void TFrmSelectFG::fillKeyPoints(const QString &groupCode)
{
    m_filling = true;
    CheckListBox1->clear();
    CheckListBox2 = loadPickerEntries(*DM1, groupCode);
    picked = QVector<bool>(CheckListBox2.size(), false);
    for (const PickerEntry &e : std::as_const(CheckListBox2)) {
        auto *item = new QListWidgetItem(e.title, CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (CheckListBox1->count() > 0)
        CheckListBox1->setCurrentRow(0);
    m_filling = false;
}

void TFrmSelectFG::ComboBox1Change()
{
    const int i = ComboBox1->currentIndex();
    if (i < 0 || i >= ComboBox2.size() || !DM1)
        return;
    try {
        fillKeyPoints(ComboBox2.at(i));
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    // The caller's own key points of this group show ticked; they count
    // toward the limit but are not picked again.
    m_filling = true;
    for (int r = 0; r < CheckListBox2.size(); ++r)
        if (m_callerIds.contains(CheckListBox2.at(r).ftid))
            CheckListBox1->item(r)->setCheckState(Qt::Checked);
    if (CheckListBox1->count() > 0)
        CheckListBox1->setCurrentRow(0);
    m_filling = false;
}

void TFrmSelectFG::CheckListBox1ClickCheck(int row)
{
    if (row >= 0 && row < picked.size())
        picked[row] = CheckListBox1->item(row)->checkState() == Qt::Checked;
}

void TFrmSelectFG::epEfButton1Click()
{
    int ticked = 0;
    for (int r = 0; r < CheckListBox1->count(); ++r)
        if (CheckListBox1->item(r)->checkState() == Qt::Checked)
            ++ticked;
    const QString refusal = pickerRefusal(shell().ExistingKeyPointCount, ticked);
    if (!refusal.isEmpty()) {
        seams::messageBox(QStringLiteral("提示"), refusal, seams::Prompt::Information);
        return;
    }
    accept();
}

int TFrmSelectFG::mergeInto(PickedKeyPoints &list) const
{
    return mergePickedKeyPoints(list, ComboBox1->currentText(), CheckListBox2, picked);
}

void TFrmSelectFG::closeClick() { QDialog::reject(); }

// The title bar's close (and Alt+F4) takes the road of "关闭".
void TFrmSelectFG::reject() { closeClick(); }

void TFrmSelectFG::keyPressEvent(QKeyEvent *event)
{
    // Escape has no meaning here.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
