// The key-point directory.
#include "keypoints/Laws.h"
#include "widgets/AccessibleGui.h"
#include "widgets/KeyboardGui.h"

#include "common/ShellState.h"
#include "keypoints/KeyPointRules.h"
#include "keypoints/details.h"
#include "platform/Seams.h"
#include "practice/uRulelxxt.h"
#include "store/DbError.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"
#include "widgets/Ubackdrop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace keypoints;

namespace {

const QString DirectoryTitle = QStringLiteral("考 点 目 录");

} // namespace

TfrmLawsFaGui::TfrmLawsFaGui(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLawsFaGui"));
    setWindowTitle(DirectoryTitle);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildUi();
    new backdrop::StripDragger(this);
    // FormCreate: the empty code list, the grid's columns, the groups.
    SetupGrid();
    LoadGroups();
    SwitchView(false);
    FormShow();
}

TfrmLawsFaGui::~TfrmLawsFaGui() = default;

void TfrmLawsFaGui::buildUi()
{
    auto *root = new QVBoxLayout(this);
    // The five columns (554 + 4 x 80 pixels) and the scroll bar just fit
    // the 900-pixel window.
    root->setContentsMargins(4, backdrop::StripHeight + 8, 4, 10);
    root->setSpacing(8);

    m_listArea = new QWidget(this);
    m_listArea->setObjectName(QStringLiteral("m_listArea"));
    m_listLayout = new QVBoxLayout(m_listArea);
    m_listLayout->setContentsMargins(0, 0, 0, 0);
    m_grid = new QTableWidget(0, 5, m_listArea);
    m_grid->setObjectName(QStringLiteral("m_grid"));
    m_grid->setAccessibleName(QStringLiteral("考点目录"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->setAlternatingRowColors(true);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listLayout->addWidget(m_grid);
    root->addWidget(m_listArea, 1);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(6);
    m_editFind = new QLineEdit(this);
    m_editFind->setObjectName(QStringLiteral("m_editFind"));
    m_editFind->setAccessibleName(QStringLiteral("查找考点"));
    m_editFind->installEventFilter(this);
    bar->addWidget(m_editFind, 1);
    auto button = [this, bar](QPushButton *&b, const char *name, const QString &caption) {
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        b->setMinimumWidth(84);
        bar->addWidget(b);
    };
    button(m_btnFind, "m_btnFind", QStringLiteral("检索(&F)"));
    button(m_btnSelect, "m_btnSelect", QStringLiteral("选定(&S)"));
    button(m_btnMost, "m_btnMost", QStringLiteral("重点(&M)"));
    button(m_btnQuestion, "m_btnQuestion", QStringLiteral("练习(&P)"));
    button(m_btnBack, "m_btnBack", QStringLiteral("返回(&B)"));
    button(m_btnExit, "m_btnExit", QStringLiteral("退出(&E)"));
    root->addLayout(bar);

    connect(m_btnFind, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnFindClick);
    connect(m_btnSelect, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnSelectClick);
    connect(m_btnMost, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnMostClick);
    connect(m_btnQuestion, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnQuestionClick);
    connect(m_btnBack, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnBackClick);
    connect(m_btnExit, &QPushButton::clicked, this, &TfrmLawsFaGui::m_btnExitClick);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) { m_gridSelectCell(row); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { m_btnSelectClick(); });
    keys::workGridByKeys(m_grid, [this] { m_btnSelectClick(); });
}

// ---------------------------------------------------------------- the group list

void TfrmLawsFaGui::SetupGrid()
{
    const bool compact = shell().compactScreen();
    m_grid->setColumnCount(5);
    m_grid->setHorizontalHeaderLabels({compact ? QStringLiteral("                   考 点 名 称")
                                               : QStringLiteral("                             考 点 名 称"),
                                       QStringLiteral("  题  数"), QStringLiteral(" 已做题数"), QStringLiteral(" 已做道次"),
                                       QStringLiteral(" 做错道次")});
    m_grid->setColumnWidth(0, compact ? 410 : 554);
    for (int c = 1; c <= 4; ++c)
        m_grid->setColumnWidth(c, 80);
}

void TfrmLawsFaGui::LoadGroups()
{
    QVector<KeyPointGroup> groups;
    try {
        if (DM1)
            groups = loadGroups(*DM1);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    if (groups.isEmpty())
        return;
    // Loading again (after "返回(&B)") replaces the rows and the codes.
    m_grid->setRowCount(0);
    m_codes.clear();
    m_grid->setRowCount(int(groups.size()));
    for (int r = 0; r < groups.size(); ++r) {
        const KeyPointGroup &g = groups.at(r);
        m_grid->setItem(r, 0, new QTableWidgetItem(g.name));
        const QString counters[4] = {g.q, g.q1, g.q2, g.q4};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(paddedCounter(counters[c]));
            // Blanks are narrower than digits in the window's font: the
            // figures are aligned by the cell as well.
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c + 1, item);
        }
        m_codes << g.id;
    }
}

void TfrmLawsFaGui::m_gridSelectCell(int row)
{
    if (row >= 0 && row < m_grid->rowCount() && m_grid->item(row, 0))
        m_grid->setToolTip(m_grid->item(row, 0)->text());
}

bool TfrmLawsFaGui::m_editFindKeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    m_btnFindClick();
    return true;
}

void TfrmLawsFaGui::m_btnFindClick()
{
    QStringList names;
    for (int r = 0; r < m_grid->rowCount(); ++r)
        names << (m_grid->item(r, 0) ? m_grid->item(r, 0)->text() : QString());
    const int row = findGroupRow(names, m_editFind->text());
    if (row >= 0) {
        m_grid->setCurrentCell(row, 0);
        m_grid->scrollToItem(m_grid->item(row, 0));
    }
}

// ---------------------------------------------------------------- the detail view

void TfrmLawsFaGui::m_btnSelectClick()
{
    const int row = m_grid->currentRow();
    if (m_detail || row < 0 || row >= m_codes.size())
        return;
    const QString code = m_codes.at(row).trimmed();
    if (isHeadingGroup(code)) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("请选择具体章节!"), 3, seams::DlgWarning);
        return;
    }
    const QString questions = m_grid->item(row, 1) ? m_grid->item(row, 1)->text() : QString();
    m_threshold = keyPointThreshold(questions, DM1 ? keyPointCount(*DM1, code) : std::nullopt);
    m_groupCode = code;

    SwitchView(true);
    setWindowTitle(m_grid->item(row, 0) ? m_grid->item(row, 0)->text().trimmed() : QString());
    update();

    m_queryDetail.close();
    m_filter.reset();
    m_btnMost->setText(m_filter.caption());
    try {
        m_queryDetail.setRows(DM1 ? loadKeyPoints(*DM1, code) : QVector<KeyPoint>());
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    if (m_queryDetail.count() == 0) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("找不到考点!"), seams::Prompt::Information);
        return;
    }
    showDetailRows(0);
}

void TfrmLawsFaGui::showDetailRows(int select)
{
    m_detail->FillKeyPointList(select);
    const int entry = m_detail->m_LBmenu->currentRow();
    m_detail->showRecord(entry);
    m_detail->ShowKeyPointNote(entry);
}

void TfrmLawsFaGui::SwitchView(bool toDetail)
{
    m_editFind->setVisible(!toDetail);
    m_btnFind->setVisible(!toDetail);
    m_btnSelect->setVisible(!toDetail);
    m_btnMost->setEnabled(toDetail);
    m_btnBack->setVisible(toDetail);
    m_grid->setVisible(!toDetail);
    if (toDetail) {
        m_btnQuestion->setEnabled(false);
        m_detail = std::make_unique<TfrmLawDetail>();
        m_detail->resize(m_listArea->size());
        m_detail->bind(&m_queryDetail, m_btnQuestion);
        m_listLayout->addWidget(m_detail->m_Pdetail);
        m_detail->m_Pdetail->show();
    } else {
        m_btnQuestion->setEnabled(false);
        setWindowTitle(DirectoryTitle);
        update();
    }
}

void TfrmLawsFaGui::m_btnMostClick()
{
    if (!m_detail)
        return;
    const bool ok = m_filter.press(m_queryDetail, m_threshold);
    if (m_queryDetail.count() > 0)
        showDetailRows(0);
    if (!ok)
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("此考点暂无重点内容！"), seams::Prompt::Information);
    m_btnMost->setText(m_filter.caption());
}

void TfrmLawsFaGui::m_btnQuestionClick()
{
    if (!m_detail || m_inPractice || !DM1)
        return;
    const int entry = m_detail->m_LBmenu->currentRow();
    if (entry < 0 || entry >= m_queryDetail.count())
        return;
    // The selected record itself names the key point: two key points of a
    // group may share a title, and a title may hold "(" itself.
    const QString title = entryTitle(m_detail->m_LBmenu->item(entry)->text());
    shell().PracticeSql = keyPointPracticeSql(m_queryDetail.at(entry).ftid);

    m_inPractice = true;
    ui::busyCursor();
    QString error;
    try {
        auto practice = std::make_unique<TFrmRuleLxxt>(this);
        const TFrmLxxt::Start start = practice->prepareRun();
        if (start == TFrmLxxt::Start::Refused) {
            // The refusal has been shown and the program is ending.
            ui::normalCursor();
            m_inPractice = false;
            return;
        }
        if (start == TFrmLxxt::Start::Ready) {
            // Hiding a window that runs modally would end its loop: the
            // directory steps out of sight while practice covers it.
            m_hidden = true;
            setWindowOpacity(0.0);
            practice->Lb_hint->setText(title);
            ui::execModal(practice.get());
        } else {
            ui::normalCursor();
            seams::showDlg(QStringLiteral("提示"), QStringLiteral("恭喜你，习题已做完！"), 1, seams::DlgNotice,
                           QStringLiteral("NO"));
        }
    } catch (const std::exception &e) {
        error = QString::fromStdString(e.what());
    }
    ui::normalCursor();
    refreshDetail();
    m_hidden = false;
    setWindowOpacity(1.0);
    activateWindow();
    m_inPractice = false;
    if (!error.isEmpty())
        ui::showError(error);
}

void TfrmLawsFaGui::refreshDetail()
{
    // The figures of the key points changed with the answers just given;
    // the same entry stays selected under the same filter.
    if (!m_detail || !DM1)
        return;
    const int entry = m_detail->m_LBmenu->currentRow();
    try {
        m_queryDetail.setRows(loadKeyPoints(*DM1, m_groupCode));
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    m_detail->FillKeyPointList(entry);
    m_detail->m_lBmenuClick();
}

void TfrmLawsFaGui::m_btnBackClick()
{
    if (!m_detail)
        return;
    const int remembered = m_grid->currentRow();
    SwitchView(false);
    SetupGrid();
    LoadGroups();
    FormShow();
    if (remembered >= 0 && remembered < m_grid->rowCount())
        m_grid->setCurrentCell(remembered, 0);
    m_detail.reset();
    m_queryDetail.close();
    m_filter.reset();
    m_btnMost->setText(m_filter.caption());
}

void TfrmLawsFaGui::m_btnExitClick() { close(); }

// ---------------------------------------------------------------- window

void TfrmLawsFaGui::FormShow()
{
    if (shell().compactScreen())
        setFixedSize(760, 504);
    else
        setFixedSize(900, 599);
    m_grid->verticalHeader()->setDefaultSectionSize(30);
    if (!parentWidget())
        if (QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
}

void TfrmLawsFaGui::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
        if (m_grid->rowCount() > 0 && m_grid->currentRow() < 0)
            m_grid->setCurrentCell(0, 0);
    }
}

void TfrmLawsFaGui::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle());
}

void TfrmLawsFaGui::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the directory; "退出(&E)" does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmLawsFaGui::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editFind && event->type() == QEvent::KeyPress)
        return m_editFindKeyDown(static_cast<QKeyEvent *>(event)->key());
    return QDialog::eventFilter(watched, event);
}

void TfrmLawsFaGui::closeEvent(QCloseEvent *event)
{
    // Every way out frees the code list, as "退出(&E)" does.
    m_codes.clear();
    QDialog::closeEvent(event);
}
