// The key-point detail view.
#include "keypoints/details.h"
#include "widgets/ThemeGui.h"

#include "keypoints/KeyPointData.h"
#include "keypoints/KeyPointRules.h"
#include "platform/RichText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace keypoints;

TfrmLawDetail::TfrmLawDetail(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmLawDetail"));
    m_Pdetail = new QWidget(this);
    m_Pdetail->setObjectName(QStringLiteral("m_Pdetail"));
    auto *v = new QVBoxLayout(m_Pdetail);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(6);
    m_split = new QSplitter(Qt::Horizontal, m_Pdetail);
    m_LBmenu = new QListWidget(m_split);
    m_LBmenu->setObjectName(QStringLiteral("m_LBmenu"));
    m_LBmenu->setAccessibleName(QStringLiteral("考点列表"));
    Re = new QTextEdit(m_split);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setAccessibleName(QStringLiteral("考点内容"));
    Re->setReadOnly(true);
    m_split->addWidget(m_LBmenu);
    m_split->addWidget(Re);
    m_split->setStretchFactor(0, 2);
    m_split->setStretchFactor(1, 5);
    v->addWidget(m_split, 1);
    m_pNote = new QLabel(m_Pdetail);
    theme::setRole(m_pNote, "note");
    m_pNote->setObjectName(QStringLiteral("m_pNote"));
    v->addWidget(m_pNote);

    connect(m_LBmenu, &QListWidget::itemClicked, this, [this] { m_lBmenuClick(); });
    // Moving through the list by keys shows each key point as a click does.
    connect(m_LBmenu, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0)
            m_lBmenuClick();
    });
}

TfrmLawDetail::~TfrmLawDetail()
{
    // The panel may live in the directory's list area by now.
    delete m_Pdetail.data();
}

void TfrmLawDetail::bind(KeyPointList *list, QPushButton *practise)
{
    m_list = list;
    m_practise = practise;
}

void TfrmLawDetail::FillKeyPointList(int select)
{
    m_filling = true;
    m_LBmenu->clear();
    if (m_list)
        m_LBmenu->addItems(m_list->entries());
    if (m_LBmenu->count() > 0)
        m_LBmenu->setCurrentRow(select >= 0 && select < m_LBmenu->count() ? select : 0);
    m_filling = false;
}

void TfrmLawDetail::showRecord(int entry)
{
    Re->clear();
    if (m_list && entry >= 0 && entry < m_list->count())
        richtext::readInto(*Re->document(), m_list->at(entry).text);
}

void TfrmLawDetail::ShowKeyPointNote(int entry)
{
    KeyPointNote note = keyPointNote(0, 0, 0, 0);
    if (m_list && entry >= 0 && entry < m_list->count()) {
        const KeyPoint &k = m_list->at(entry);
        note = keyPointNote(k.q, k.q1, k.q2, k.q4);
    }
    m_pNote->setText(note.text);
    if (m_practise)
        m_practise->setEnabled(note.canPractise);
}

void TfrmLawDetail::m_lBmenuClick()
{
    if (m_LBmenu->currentRow() < 0) {
        if (m_LBmenu->count() == 0)
            return;
        m_filling = true;
        m_LBmenu->setCurrentRow(0);
        m_filling = false;
    }
    if (!m_list || !m_list->isOpen())
        return;
    const int entry = m_LBmenu->currentRow();
    if (entry >= m_list->count())
        return;
    showRecord(entry);
    const KeyPoint &k = m_list->at(entry);
    const KeyPointNote note = entryNote(m_LBmenu->item(entry)->text(), k.q, k.q1, k.q2, k.q4);
    m_pNote->setText(note.text);
    if (m_practise)
        m_practise->setEnabled(note.canPractise);
}

void TfrmLawDetail::clearView()
{
    m_filling = true;
    m_LBmenu->clear();
    m_filling = false;
    Re->clear();
    m_pNote->clear();
    if (m_practise)
        m_practise->setEnabled(false);
}
