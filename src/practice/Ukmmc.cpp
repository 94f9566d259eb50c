// The chapter window.
#include "practice/Ukmmc.h"
#include "widgets/ThemeGui.h"
#include "widgets/AccessibleGui.h"
#include "widgets/KeyboardGui.h"

#include "authoring/UInPut.h"
#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "widgets/Ubackdrop.h"
#include "widgets/Uconfig.h"
#include "practice/Ulxxt.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>

using namespace practice;

namespace {

// The title strip of the chapter window's background pictures.
constexpr int BackgroundStrip = 52;

enum Column { ColCode, ColName, ColQuestions, ColDone, ColAnswers, ColWrong, ColScore, ColumnCount };

QLCDNumber *numberPanel(const char *name, QWidget *parent)
{
    auto *n = new QLCDNumber(5, parent);
    n->setObjectName(QString::fromLatin1(name));
    n->setSegmentStyle(QLCDNumber::Flat);
    n->setFrameShape(QFrame::NoFrame);
    n->display(0);
    return n;
}

} // namespace

TFrmkmmc::TFrmkmmc(QWidget *parent) : QDialog(parent)
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("Frmkmmc"));
    setWindowTitle(QStringLiteral("科目名称"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildUi();
    new backdrop::StripDragger(this);
}

void TFrmkmmc::buildUi()
{
    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(14, backdrop::StripHeight + 10, 14, 14);
    root->setSpacing(12);

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    root->addLayout(left, 1);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("章节列表"));
    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("章节代码"), QStringLiteral("章节名称"), QStringLiteral("习题数目"),
                                        QStringLiteral("已做题数"), QStringLiteral("已做道次"), QStringLiteral("做错道次"),
                                        QStringLiteral("综合成绩")});
    DBGrid1->setModel(m_model);
    DBGrid1->setColumnHidden(ColCode, true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setDefaultSectionSize(24);
    DBGrid1->setAlternatingRowColors(true);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    left->addWidget(DBGrid1, 1);
    connect(DBGrid1, &QTableView::doubleClicked, this, [this] { DBGrid1DblClick(); });
    keys::workGridByKeys(DBGrid1, [this] { DBGrid1DblClick(); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        // The data module follows the chapter row (its hint text is the
        // practice window's hint board).
        if (current.isValid() && DM1) {
            try {
                DM1->setChapterRow(m_model->item(current.row(), ColCode)->text());
            } catch (const store::DbError &) {
            }
        }
    });

    auto *totals = new QGridLayout;
    totals->setHorizontalSpacing(10);
    auto addTotal = [&](int column, const QString &text, QWidget *value) {
        auto *l = new QLabel(text, this);
        theme::setRole(l, "heading");
        a11y::nameAfter(l, value);
        totals->addWidget(l, 0, column * 2);
        totals->addWidget(value, 0, column * 2 + 1);
    };
    epNum_all = numberPanel("epNum_all", this);
    epNum_ok = numberPanel("epNum_ok", this);
    epNum_Err = numberPanel("epNum_Err", this);
    Lb_fs = new QLabel(QStringLiteral("分数"), this);
    Lb_fs->setObjectName(QStringLiteral("Lb_fs"));
    theme::setRole(Lb_fs, "score");
    QFont scoreFont = Lb_fs->font();
    scoreFont.setPixelSize(16);
    Lb_fs->setFont(scoreFont);
    addTotal(0, QStringLiteral("总习题数"), epNum_all);
    addTotal(1, QStringLiteral("已做题道次"), epNum_ok);
    addTotal(2, QStringLiteral("做错题道次"), epNum_Err);
    addTotal(3, QStringLiteral("综合成绩"), Lb_fs);
    left->addLayout(totals);

    m_buttonColumn = new QWidget(this);
    auto *buttons = new QVBoxLayout(m_buttonColumn);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(10);
    auto hotArea = [this, buttons](QPushButton *&b, const char *name, const QString &text, int tag) {
        b = new QPushButton(text, m_buttonColumn);
        b->setObjectName(QString::fromLatin1(name));
        b->setProperty("tag", tag);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        theme::setRole(b, "hotarea");
        b->setProperty("align", QStringLiteral("left"));
        b->setMinimumHeight(44);
        buttons->addWidget(b);
    };
    auto *heading = new QLabel(QStringLiteral("章节练习"), m_buttonColumn);
    heading->setAlignment(Qt::AlignCenter);
    theme::setRole(heading, "section");
    QFont headingFont = heading->font();
    headingFont.setPixelSize(18);
    heading->setFont(headingFont);
    heading->setContentsMargins(6, 6, 6, 6);
    buttons->addWidget(heading);
    hotArea(SpeedButton1, "SpeedButton1", QStringLiteral("▶  练习新题"), 1);
    hotArea(SpeedButton2, "SpeedButton2", QStringLiteral("✎  错题重做"), 2);
    hotArea(SpeedButton3, "SpeedButton3", QStringLiteral("↺  习题重温"), 3);
    buttons->addSpacing(12);
    hotArea(SpeedButton5, "SpeedButton5", QStringLiteral("＋  录入试题"), 0);
    hotArea(SpeedButton4, "SpeedButton4", QStringLiteral("⚙  系统设置"), 0);
    buttons->addStretch(1);
    hotArea(SpeedButton6, "SpeedButton6", QStringLiteral("✕  关闭"), 0);
    root->addWidget(m_buttonColumn);

    for (QPushButton *b : {SpeedButton1, SpeedButton2, SpeedButton3})
        connect(b, &QPushButton::clicked, this, [this, b] { epEfButton1Click(b->property("tag").toInt()); });
    connect(SpeedButton5, &QPushButton::clicked, this, &TFrmkmmc::epEfButton6Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TFrmkmmc::epEfButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &TFrmkmmc::SpeedButton6Click);
}

void TFrmkmmc::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle(), m_background, BackgroundStrip);
}

void TFrmkmmc::layoutForScreenMode()
{
    const bool compact = shell().compactScreen();
    const QFont f = backdrop::windowFont(compact);
    setFont(f);
    m_buttonColumn->setFixedWidth(compact ? 136 : 180);
    // The compact grid (308 + 5 x 50 pixels of columns) fits without a
    // horizontal scroll bar.
    // The background picture of the mode, when it is beside the program;
    // otherwise a painted one.
    if (!m_background.load(seams::appDir() + QStringLiteral("pic/bg_kmmc_") + (compact ? QStringLiteral("800") : QStringLiteral("1024"))
                           + QStringLiteral(".png")))
        m_background = QPixmap();
    const int strip = m_background.isNull() ? backdrop::StripHeight : BackgroundStrip;
    layout()->setContentsMargins(compact ? 8 : 14, strip + (compact ? 6 : 10), compact ? 8 : 14, compact ? 8 : 14);
    layout()->setSpacing(compact ? 8 : 12);
    // The compact layout's 50-pixel columns still show their whole heading.
    QFont header = f;
    if (compact)
        header.setPixelSize(11);
    else
        header.setPointSize(10);
    header.setBold(true);
    DBGrid1->horizontalHeader()->setFont(header);
    for (QLCDNumber *n : {epNum_all, epNum_ok, epNum_Err})
        n->setFixedSize(compact ? QSize(70, 26) : QSize(86, 30));
    if (compact)
        setFixedSize(761, 480);
    else
        setFixedSize(935, 611);
}

void TFrmkmmc::loadChapters()
{
    m_model->removeRows(0, m_model->rowCount());
    if (!DM1)
        return;
    QSqlQuery q = DM1->exec(QStringLiteral("select C1, C2, C3, C4, D1, D2, C6 from tab_kmmc where c1<>'xx' order by bh"));
    while (q.next()) {
        QList<QStandardItem *> row;
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QStandardItem(q.value(c).toString());
            if (c >= ColQuestions)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);   // figures, like the score
            row << item;
        }
        // Headings (subject, part) stand out from the chapters below them.
        if (q.value(0).toString().size() <= 2)
            for (QStandardItem *item : row) {
                QFont bf = item->font();
                bf.setBold(true);
                item->setFont(bf);
            }
        m_model->appendRow(row);
    }
    q.finish();
}

void TFrmkmmc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFrmkmmc::hideEvent(QHideEvent *event)
{
    m_shownMark = false;
    QDialog::hideEvent(event);
}

void TFrmkmmc::FormShow()
{
    m_shownMark = true;
    ui::busyCursor();
    try {
        loadChapters();
    } catch (const store::DbError &e) {
        ui::normalCursor();
        ui::showError(e.text());
        return;
    }
    if (m_model->rowCount() > 0 && !DBGrid1->currentIndex().isValid())
        DBGrid1->selectRow(0);
    layoutForScreenMode();
    if (!parentWidget())
        if (QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    if (shell().PracticeSubject < 1 || shell().PracticeSubject > 5) {
        ui::normalCursor();
        return;
    }
    const bool compact = shell().compactScreen();
    DBGrid1->setColumnWidth(ColName, compact ? 308 : 370);
    for (int c = ColQuestions; c < ColumnCount; ++c)
        DBGrid1->setColumnWidth(c, compact ? 50 : 65);
    try {
        const ChapterTotals t = chapterTotals(*DM1);
        epNum_all->display(int(shownQuestionTotal(t.questions)));
        epNum_ok->display(int(t.answers));
        epNum_Err->display(int(t.wrong));
        const QString score = overallScoreText(t);
        if (!score.isEmpty())
            Lb_fs->setText(score);
    } catch (const store::DbError &e) {
        ui::normalCursor();
        ui::showError(e.text());
        return;
    }
    if (!m_remembered.isEmpty())
        locateChapter(m_remembered);
    ui::normalCursor();
}

QString TFrmkmmc::selectedChapter() const
{
    const QModelIndex i = DBGrid1->currentIndex();
    if (!i.isValid())
        return QString();
    return m_model->item(i.row(), ColCode)->text();
}

bool TFrmkmmc::locateChapter(const QString &code)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->item(r, ColCode)->text() == code) {
            DBGrid1->selectRow(r);
            DBGrid1->scrollTo(m_model->index(r, ColName));
            return true;
        }
    }
    return false;
}

void TFrmkmmc::epEfButton1Click(int tag)
{
    if (tag < 1 || tag > 3)
        return;
    const QString code = selectedChapter();
    m_remembered = code;
    if (isHeadingCode(code)) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("请选择具体章节目录！"), seams::Prompt::Information);
        return;
    }
    const PracticeKind kind = PracticeKind(tag);
    startPractice(practiceSql(kind, code), emptySelectionText(kind), emptySelectionPicture(kind));
}

void TFrmkmmc::DBGrid1DblClick()
{
    const QString code = selectedChapter();
    m_remembered = code;
    if (isHeadingCode(code)) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("请选择具体章节目录！"), seams::Prompt::Information);
        return;
    }
    startPractice(doubleClickSql(code), emptySelectionText(PracticeKind::New), emptySelectionPicture(PracticeKind::New));
}

void TFrmkmmc::startPractice(const QString &sql, const QString &emptyText, int emptyPicture)
{
    if (m_inPractice)
        return;
    m_inPractice = true;
    shell().PracticeSql = sql;
    ui::busyCursor();
    auto practice = std::make_unique<TFrmLxxt>(this);
    try {
        const TFrmLxxt::Start start = practice->prepareRun();
        if (start == TFrmLxxt::Start::Refused) {
            // The refusal has been shown and the program is ending.
            ui::normalCursor();
            m_inPractice = false;
            return;
        }
        if (start == TFrmLxxt::Start::Ready) {
            // This window may itself be running modally: hiding it would end
            // its modal loop, so it only steps out of sight while practice
            // covers it.
            m_shownMark = false;
            setWindowOpacity(0.0);
            ui::execModal(practice.get());
        } else {
            ui::normalCursor();
            seams::showDlg(QStringLiteral("提示"), emptyText, 1, emptyPicture);
        }
    } catch (const std::exception &e) {
        ui::normalCursor();
        practice.reset();
        setWindowOpacity(1.0);
        m_inPractice = false;
        FormShow();
        ui::showError(QString::fromStdString(e.what()));
        return;
    }
    ui::normalCursor();
    practice.reset();
    setWindowOpacity(1.0);
    m_inPractice = false;
    // Showing again refreshes the totals and re-selects the chapter.
    FormShow();
}

void TFrmkmmc::epEfButton6Click()
{
    const QString code = selectedChapter();
    m_remembered = code;
    if (isHeadingCode(code)) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("请选择具体章节目录！"), seams::Prompt::Information);
        return;
    }
    TFrmInPut entry(this);
    entry.Lb_cap->setText(QStringLiteral("试题录入 [") + chapterName(code) + QStringLiteral("]"));
    entry.TargetChapter = code;
    ui::execModal(&entry);
    // The totals were shown before the entry: the saved questions are added
    // to them, and the grid is read again for the chapters' own counts.
    epNum_all->display(int(shownQuestionTotal(epNum_all->intValue() + entry.AddedCount)));
    try {
        loadChapters();
        locateChapter(code);
    } catch (const store::DbError &) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("录入试题后出现异常!"), seams::Prompt::Warning);
    }
}

QString TFrmkmmc::chapterName(const QString &code) const
{
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_model->item(r, ColCode)->text() == code)
            return m_model->item(r, ColName)->text();
    return QString();
}

void TFrmkmmc::epEfButton5Click() { openSettings(this, 0); }

void TFrmkmmc::SpeedButton6Click() { close(); }

void TFrmkmmc::done(int result)
{
    m_shownMark = false;
    QDialog::done(result);
}
