// The exam window: answering a paper against the clock, marking it, and
// reviewing it.
#include "exam/Uexam.h"
#include "exam/UexamNames.h"

#include "common/CommonRoutines.h"
#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "widgets/Udlg.h"
#include "exam/ExamSettings.h"
#include "exam/Marking.h"
#include "exam/UexamLinks.h"
#include "exam/PaperExport.h"
#include "exam/UexamProgress.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/PracticeRun.h"
#include "store/dm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

using exam::CellLook;

namespace {

const char *const PictureFiles[] = {"pic/vloxup.bmp",   "pic/vloxdw.bmp",   "pic/vloxyes.bmp", "pic/vloxno.bmp",
                                    "pic/vloxover.bmp", "pic/vloxdw_r.bmp", "pic/vloxdw_w.bmp"};

// Flat buttons: black text that turns blue under the mouse, grey when
// disabled.
const char *const WindowStyle =
    "TFrmExam { background: #eef3fa; }"
    "QPushButton { color: black; background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #ffffff, stop:1 #dfe8f4);"
    " border: 1px solid #9bb2d1; border-radius: 4px; padding: 3px 8px; }"
    "QPushButton:hover { color: blue; border-color: #3b6fc2; }"
    "QPushButton:disabled { color: rgb(128,128,128); border-color: #c3cfdf; }"
    "QGroupBox { border: 1px solid #9bb2d1; border-radius: 6px; margin-top: 14px; background: #f7faff; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 10px; color: #1d3c66; font-weight: bold; }"
    "#Panel1 { border: 1px solid #9bb2d1; background: white; }"
    "QTextEdit { border: none; background: white; }";

constexpr int SheetColumns = 10;

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumHeight(26);
    return b;
}

} // namespace

// --- answer sheet cell -----------------------------------------------------

ExamSheetCell::ExamSheetCell(int number, QWidget *parent) : QToolButton(parent), m_number(number)
{
    setObjectName(QStringLiteral("fcBG_th%1").arg(number));
    setText(QString::number(number));
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ExamSheetCell::setPictures(const QPixmap &released, const QPixmap &pressed)
{
    m_released = released;
    m_pressed = pressed;
    update();
}

void ExamSheetCell::setReleasedPicture(const QPixmap &released)
{
    m_released = released;
    update();
}

QSize ExamSheetCell::sizeHint() const { return m_size; }

void ExamSheetCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool down = isChecked() || isDown();
    const QPixmap &pic = down ? m_pressed : m_released;
    if (!pic.isNull())
        p.drawPixmap(rect(), pic);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(qMax(9, height() / 2 - 1));
    p.setFont(f);
    p.setPen(isEnabled() ? QColor(0x12, 0x2a, 0x4a) : QColor(128, 128, 128));
    p.drawText(rect(), Qt::AlignCenter, text());
}

// --- pause cover -------------------------------------------------------------

PauseScrollText::PauseScrollText(QWidget *parent) : QWidget(parent), m_lines(exam::pauseCoverLines())
{
    setObjectName(QStringLiteral("ScrollText1"));
    m_timer = new QTimer(this);
    m_timer->setInterval(40);
    connect(m_timer, &QTimer::timeout, this, [this] {
        ++m_offset;
        update();
    });
}

void PauseScrollText::startScrolling()
{
    // The first lines are in view at once, a third of the way down.
    m_offset = height() * 2 / 3;
    m_timer->start();
}

void PauseScrollText::stopScrolling() { m_timer->stop(); }
bool PauseScrollText::isScrolling() const { return m_timer->isActive(); }

void PauseScrollText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0x1d, 0x3c, 0x66));
    g.setColorAt(1, QColor(0x0e, 0x22, 0x40));
    p.fillRect(rect(), g);
    QFont f = font();
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    const int lineHeight = 34;
    const int block = lineHeight * int(m_lines.size());
    // The lines enter from the bottom edge and leave at the top, then come
    // round again.
    const int cycle = block + height();
    const int top = height() - (m_offset % qMax(1, cycle));
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRect r(0, top + i * lineHeight, width(), lineHeight);
        p.setPen(i == 2 ? QColor(0xff, 0xd8, 0x6b) : QColor(0xe8, 0xf0, 0xff));
        p.drawText(r, Qt::AlignCenter, m_lines.at(i));
    }
}

// --- the window --------------------------------------------------------------

TFrmExam::TFrmExam(QWidget *parent) : QDialog(parent), m_dm(*DM1)
{
    setObjectName(QStringLiteral("FrmExam"));
    setWindowTitle(QStringLiteral("正在答卷"));
    setStyleSheet(QString::fromLatin1(WindowStyle));
    BelowLeastMark = false;
    buildControls();
    SheetCellCount = int(m_cells.size());
    nameExamControls(this);

    m_resourcesLoaded = true;
    for (int i = 0; i < PictureCount; ++i) {
        m_pictures[i] = QPixmap(seams::appDir() + QLatin1String(PictureFiles[i]));
        if (m_pictures[i].isNull())
            m_resourcesLoaded = false;
    }
    if (!m_resourcesLoaded) {
        exam::failAndEnd(QStringLiteral("无法提取资源文件！"));
        return;
    }
    for (ExamSheetCell *c : m_cells)
        setCellLook(c, CellLook::Normal);
}

TFrmExam::~TFrmExam() = default;

void TFrmExam::buildControls()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(6);

    epLabel2 = new QLabel(this);
    epLabel2->setObjectName(QStringLiteral("epLabel2"));
    epLabel2->setAlignment(Qt::AlignCenter);
    QFont hf = epLabel2->font();
    hf.setPixelSize(20);
    hf.setBold(true);
    epLabel2->setFont(hf);
    epLabel2->setStyleSheet(QStringLiteral("color: #1d3c66;"));
    root->addWidget(epLabel2);

    auto *body = new QHBoxLayout;
    body->setSpacing(10);
    root->addLayout(body, 1);

    // Left: the question.
    auto *left = new QVBoxLayout;
    left->setSpacing(5);
    body->addLayout(left, 1);
    auto *head = new QHBoxLayout;
    auto *di = new QLabel(QStringLiteral("第"), this);
    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setStyleSheet(QStringLiteral("color: #b3261e; font-weight: bold;"));
    auto *ti = new QLabel(QStringLiteral("题"), this);
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("color: #1d3c66; font-weight: bold;"));
    DBText1 = new QLabel(this);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->hide();
    head->addWidget(di);
    head->addWidget(Label5);
    head->addWidget(ti);
    head->addSpacing(16);
    head->addWidget(Label7);
    head->addStretch(1);
    left->addLayout(head);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *pl = new QVBoxLayout(Panel1);
    pl->setContentsMargins(1, 1, 1, 1);
    Splitter1 = new QSplitter(Qt::Vertical, Panel1);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Re1 = new QTextEdit(Splitter1);
    Re1->setObjectName(QStringLiteral("Re1"));
    Re1->setReadOnly(true);
    Re2 = new QTextEdit(Splitter1);
    Re2->setObjectName(QStringLiteral("Re2"));
    Re2->setReadOnly(true);
    Splitter1->addWidget(Re1);
    Splitter1->addWidget(Re2);
    Splitter1->setChildrenCollapsible(true);
    pl->addWidget(Splitter1);
    left->addWidget(Panel1, 1);
    Panel2 = new AnswerPanelWidget(Panel1);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: #b3261e;"));
    Label1->setMinimumHeight(18);
    left->addWidget(Label1);

    AnswerArea = new AnswerAreaWidget(this);
    // In the exam the several-answers page is labelled "不定项".
    AnswerArea->setSideLabel(practice::PageMatching, QStringLiteral("不\r\n定\r\n项"));
    left->addWidget(AnswerArea);

    auto *buttons = new QGridLayout;
    buttons->setSpacing(5);
    epEfTrBtn1 = makeButton(this, "epEfTrBtn1", QStringLiteral("上一题"));
    epEfTrBtn2 = makeButton(this, "epEfTrBtn2", QStringLiteral("下一题"));
    epEfTrBtn4 = makeButton(this, "epEfTrBtn4", QStringLiteral("解析"));
    epEfTrBtn5 = makeButton(this, "epEfTrBtn5", QStringLiteral("笔记"));
    epEfTrBtn6 = makeButton(this, "epEfTrBtn6", QStringLiteral("答案"));
    epEfTrBtn9 = makeButton(this, "epEfTrBtn9", QStringLiteral("考点"));
    epEfTrBtn12 = makeButton(this, "epEfTrBtn12", QStringLiteral("本题作废"));
    epEfTrBtn10 = makeButton(this, "epEfTrBtn10", QStringLiteral("生成文档"));
    epEfTrBtn3 = makeButton(this, "epEfTrBtn3", QStringLiteral("交卷"));
    epEfTrBtn7 = makeButton(this, "epEfTrBtn7", QStringLiteral("关闭"));
    const QList<QPushButton *> order = {epEfTrBtn1, epEfTrBtn2, epEfTrBtn4, epEfTrBtn5, epEfTrBtn6,
                                        epEfTrBtn9, epEfTrBtn12, epEfTrBtn10, epEfTrBtn3, epEfTrBtn7};
    for (int i = 0; i < order.size(); ++i)
        buttons->addWidget(order.at(i), i / 5, i % 5);
    left->addLayout(buttons);

    // Right: the hint board with the clock and the answer sheet.
    GroupBox1 = new QGroupBox(QStringLiteral("提示板"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *board = new QVBoxLayout(GroupBox1);
    board->setContentsMargins(8, 16, 8, 8);
    board->setSpacing(6);
    auto *tools = new QHBoxLayout;
    epEfTrBtn8 = makeButton(GroupBox1, "epEfTrBtn8", QStringLiteral("设置"));
    epEfTrBtn11 = makeButton(GroupBox1, "epEfTrBtn11", QStringLiteral("桌面"));
    epEfTrBtn13 = makeButton(GroupBox1, "epEfTrBtn13", QStringLiteral("暂停考试"));
    tools->addWidget(epEfTrBtn8);
    tools->addWidget(epEfTrBtn11);
    tools->addWidget(epEfTrBtn13);
    board->addLayout(tools);

    Notebook_Time = new QStackedWidget(GroupBox1);
    Notebook_Time->setObjectName(QStringLiteral("Notebook_Time"));
    QFont clockFont = font();
    clockFont.setPixelSize(18);
    clockFont.setBold(true);
    auto *answering = new QWidget(Notebook_Time);
    answering->setObjectName(QStringLiteral("答卷时"));
    auto *al = new QHBoxLayout(answering);
    al->setContentsMargins(4, 2, 4, 2);
    auto *usedLabel1 = new QLabel(QStringLiteral("用时："), answering);
    epLb_time1 = new QLabel(QStringLiteral("0:00:00"), answering);
    epLb_time1->setObjectName(QStringLiteral("epLb_time1"));
    epLb_time1->setFont(clockFont);
    epLb_time1->setStyleSheet(QStringLiteral("color: #0b4bb5;"));
    al->addWidget(usedLabel1);
    al->addWidget(epLb_time1);
    al->addStretch(1);
    auto *reviewing = new QWidget(Notebook_Time);
    reviewing->setObjectName(QStringLiteral("查卷时"));
    auto *rl = new QHBoxLayout(reviewing);
    rl->setContentsMargins(4, 2, 4, 2);
    auto *usedLabel2 = new QLabel(QStringLiteral("用时："), reviewing);
    epLb_time2 = new QLabel(reviewing);
    epLb_time2->setObjectName(QStringLiteral("epLb_time2"));
    epLb_time2->setFont(clockFont);
    epLb_time2->setStyleSheet(QStringLiteral("color: #0b4bb5;"));
    Lb_zfs = new QLabel(reviewing);
    Lb_zfs->setObjectName(QStringLiteral("Lb_zfs"));
    Lb_zfs->setFont(clockFont);
    Lb_zfs->setStyleSheet(QStringLiteral("color: #b3261e;"));
    rl->addWidget(usedLabel2);
    rl->addWidget(epLb_time2);
    rl->addStretch(1);
    rl->addWidget(Lb_zfs);
    Notebook_Time->addWidget(answering);
    Notebook_Time->addWidget(reviewing);
    Notebook_Time->setFixedHeight(36);
    board->addWidget(Notebook_Time);

    fcBG_th = new QWidget(GroupBox1);
    fcBG_th->setObjectName(QStringLiteral("fcBG_th"));
    auto *grid = new QGridLayout(fcBG_th);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    m_sheetGroup = new QButtonGroup(this);
    m_sheetGroup->setExclusive(true);
    for (int i = 1; i <= exam::SheetCellCount; ++i) {
        auto *c = new ExamSheetCell(i, fcBG_th);
        grid->addWidget(c, (i - 1) / SheetColumns, (i - 1) % SheetColumns);
        m_sheetGroup->addButton(c, i);
        m_cells.append(c);
    }
    connect(m_sheetGroup, &QButtonGroup::idClicked, this, [this](int id) {
        if (id != m_selectedCell)
            fcBG_thChange(id);
    });
    board->addWidget(fcBG_th, 0, Qt::AlignHCenter);
    board->addStretch(1);
    body->addWidget(GroupBox1);

    // The pause cover lies over the question panel while paused.
    suiPanel1 = new QFrame(this);
    suiPanel1->setObjectName(QStringLiteral("suiPanel1"));
    suiPanel1->setStyleSheet(QStringLiteral("#suiPanel1 { background: #0e2240; }"));
    ScrollText1 = new PauseScrollText(suiPanel1);
    suiPanel1->hide();

    KZTimeCounter1 = new QTimer(this);
    KZTimeCounter1->setObjectName(QStringLiteral("KZTimeCounter1"));
    KZTimeCounter1->setInterval(1000);
    connect(KZTimeCounter1, &QTimer::timeout, this, &TFrmExam::KZTimeCounter1Timer);

    connect(epEfTrBtn1, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn1Click);
    connect(epEfTrBtn2, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn2Click);
    connect(epEfTrBtn3, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn3Click);
    connect(epEfTrBtn7, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn3Click);
    connect(epEfTrBtn4, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn4Click);
    connect(epEfTrBtn5, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn5Click);
    connect(epEfTrBtn6, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn6Click);
    connect(epEfTrBtn8, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn8Click);
    connect(epEfTrBtn9, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn9Click);
    connect(epEfTrBtn10, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn10Click);
    connect(epEfTrBtn11, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn11Click);
    connect(epEfTrBtn12, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn12Click);
    connect(epEfTrBtn13, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn13Click);

    // The window sees every key first (A..F, Backspace and Enter answer and
    // navigate whatever control has the focus).
    installEventFilter(this);
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);

    resize(1000, 700);
}

void TFrmExam::layOutCompact()
{
    AnswerArea->setCompact(true);
    for (ExamSheetCell *c : m_cells)
        c->setCellSize(QSize(26, 20));
    QFont hf = epLabel2->font();
    hf.setPixelSize(16);
    epLabel2->setFont(hf);
    layout()->setContentsMargins(6, 4, 6, 4);
    resize(773, 478);
}

ExamSheetCell *TFrmExam::cell(int number) const
{
    return number >= 1 && number <= m_cells.size() ? m_cells.at(number - 1) : nullptr;
}

exam::PaperQuestion *TFrmExam::row(int question)
{
    return question >= 1 && question <= m_rows.size() ? &m_rows[question - 1] : nullptr;
}

void TFrmExam::setCellLook(ExamSheetCell *c, CellLook look)
{
    switch (look) {
    case CellLook::Normal:
        c->setPictures(m_pictures[Up], m_pictures[Dw]);
        break;
    case CellLook::Right:
        c->setPictures(m_pictures[Yes], m_pictures[DwR]);
        break;
    case CellLook::Wrong:
        c->setPictures(m_pictures[No], m_pictures[DwW]);
        break;
    case CellLook::Answered:
        c->setReleasedPicture(m_pictures[Over]);
        break;
    }
    c->look = look;
}

void TFrmExam::OpenPaper(const QString &tableName, const QString &title, const QString &mode, double score,
                         const QString &timeUsed)
{
    m_paper.tableName = tableName;
    m_paper.title = title;
    m_paper.mode = mode;
    m_paper.score = score;
    m_paper.timeUsed = timeUsed;
}

int TFrmExam::LoadPaper(const exam::Progress &progress)
{
    m_progress = progress;
    try {
        m_rows = exam::LoadPaper(m_dm, m_paper, progress);
    } catch (const exam::PaperError &e) {
        m_rows.clear();
        exam::failAndEnd(e.message());
        return 0;
    }
    // Headings come from the current subject's type table.
    const int subject = shell().CurSubject;
    if (subject >= 1 && subject <= 5)
        m_dm.setTypeTable(subject);
    try {
        m_types = exam::readTypeTable(m_dm);
    } catch (const std::exception &) {
        m_types.clear();
    }
    m_current = 0;
    return 1;
}

void TFrmExam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window is shown once; marking turns it to review in place and
    // runs the showing steps itself.  A window restored after "桌面" keeps
    // its clock and its question.
    if (m_firstShow && !event->spontaneous())
        FormShow();
}

void TFrmExam::FormShow()
{
    if (m_firstShow) {
        m_firstShow = false;
        suiPanel1->hide();
        epEfTrBtn9->setVisible(true);
        if (shell().ScreenMode == QLatin1String("800"))
            layOutCompact();
    }
    epLabel2->setText(m_paper.title);
    Splitter1->setHandleWidth(0);
    Splitter1->setSizes({qMax(1, Panel1->height()), 0});

    const bool review = !m_paper.isNew();
    if (review) {
        epEfTrBtn3->setEnabled(false);
        epEfTrBtn4->setVisible(true);
        epEfTrBtn5->setVisible(true);
        epEfTrBtn6->setVisible(true);
        epEfTrBtn13->setVisible(false);
        epEfTrBtn10->setEnabled(true);
        AnswerArea->setPagesEnabled(false);
        setWindowTitle(QStringLiteral("查阅试卷"));
        Notebook_Time->setCurrentIndex(1);
        epLb_time2->setText(m_paper.timeUsed);
        Lb_zfs->setText(exam::scoreText(m_paper.score));
    } else {
        epEfTrBtn3->setEnabled(true);
        epEfTrBtn4->setEnabled(false);
        epEfTrBtn6->setEnabled(false);
        epEfTrBtn9->setEnabled(false);
        epEfTrBtn10->setEnabled(false);
        AnswerArea->setPagesEnabled(true);
        setWindowTitle(QStringLiteral("正在答卷"));
        Notebook_Time->setCurrentIndex(0);
        epEfTrBtn13->setVisible(true);
        epEfTrBtn13->setText(QStringLiteral("暂停考试"));
    }
    epEfTrBtn5->setEnabled(true);
    closeAnswerPanel();
    FillAnswerSheet(int(m_rows.size()));
    m_clock.reset();
    epLb_time1->setText(m_clock.elapsedText());
    if (review) {
        KZTimeCounter1->stop();
    } else {
        m_clock.start();
        KZTimeCounter1->start();
    }
}

void TFrmExam::FillAnswerSheet(int n)
{
    const bool review = !m_paper.isNew();
    m_sheetGroup->setExclusive(false);
    for (ExamSheetCell *c : m_cells) {
        c->setChecked(false);
        const int i = c->number();
        if (i <= n) {
            c->setEnabled(true);
            c->tag = i;
            if (review)
                setCellLook(c, exam::reviewLook(m_rows.at(i - 1)));
            else
                setCellLook(c, CellLook::Normal);
        } else {
            c->setEnabled(false);
            c->tag = 0;
            setCellLook(c, CellLook::Normal);
        }
    }
    m_sheetGroup->setExclusive(true);
    m_selectedCell = 0;
    selectQuestion(1);
}

void TFrmExam::selectQuestion(int number)
{
    ExamSheetCell *c = cell(number);
    if (!c || !c->isEnabled())
        return;
    c->setChecked(true);
    if (number != m_selectedCell)
        fcBG_thChange(number);
}

void TFrmExam::closeAnswerPanel()
{
    if (epEfTrBtn6->text() == QStringLiteral("返回"))
        epEfTrBtn6->setText(QStringLiteral("答案"));
    Panel2->closeNow();
}

void TFrmExam::fcBG_thChange(int cellNumber)
{
    DBText1->clear();
    if (epEfTrBtn6->text() == QStringLiteral("返回"))
        closeAnswerPanel();
    ExamSheetCell *c = cell(cellNumber);
    if (!c || c->tag == 0)
        return;
    const int previous = m_selectedCell;
    m_selectedCell = cellNumber;
    Label5->setText(c->text());

    if (m_paper.isNew() && previous > 0) {
        if (ExamSheetCell *p = cell(previous)) {
            if (exam::PaperQuestion *r = row(p->tag))
                JudgeAnswer(p->tag, TypeToPage(r->a13), false);
        }
    }

    const int a = c->tag;
    epEfTrBtn1->setEnabled(a >= 2);
    epEfTrBtn2->setEnabled(a < m_rows.size());
    moveTo(a);
    exam::PaperQuestion *r = row(a);
    AnswerArea->showPageForType(r->a13);
    PrepareAnswerControls(TypeToPage(r->a13));
    ShowQuestionBody();

    Label1->clear();
    epEfTrBtn12->setText(QStringLiteral("本题作废"));
    if (m_paper.isNew()) {
        epEfTrBtn12->setEnabled(false);
    } else {
        epEfTrBtn12->setEnabled(true);
        epEfTrBtn9->setEnabled(r->hasKeyPoints());
        if (r->f1 == 1)
            epEfTrBtn12->setText(QStringLiteral("取消作废"));
        showStatus(exam::reviewStatusText(*r));
    }
    DBText1->setText(r->a1);
}

void TFrmExam::moveTo(int question) { m_current = question; }

void TFrmExam::PrepareAnswerControls(int page)
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    Label7->setText(exam::TypeHeading(m_types, r->a13));
    if (!m_paper.isNew()) {
        epEfTrBtn6->setEnabled(!practice::isSelfAssessed(r->a13));
        epEfTrBtn4->setEnabled(r->hasJx);
        epEfTrBtn9->setEnabled(r->hasKeyPoints());
    }
    epEfTrBtn5->setText(r->a14.trimmed().isEmpty() ? QStringLiteral("笔记") : QStringLiteral("有内容"));
    AnswerArea->restore(page, r->a2_1, r->e2_1);
}

void TFrmExam::ShowQuestionBody()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    Re1->clear();
    Re2->clear();
    practice::QuestionContent content;
    try {
        content = practice::loadQuestionContent(m_dm, r->a1);
    } catch (const std::exception &) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, 2, QString());
        return;
    }
    if (!content.found) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("找不到该试题！"), 1, 2, QString());
        return;
    }
    practice::fillQuestionBody(content, *Re1->document(), *Re2->document());
    const int h = qMax(1, Splitter1->height());
    if (content.isSubQuestion) {
        Splitter1->setHandleWidth(6);
        Splitter1->setSizes({qMax(1, h - 150 - 6), 150});
    } else {
        Splitter1->setHandleWidth(0);
        Splitter1->setSizes({h, 0});
    }
}

void TFrmExam::JudgeAnswer(int question, int page, bool keepPicture)
{
    exam::PaperQuestion *r = row(question);
    if (!r)
        return;
    const QString answer = AnswerArea->answer(page);
    CellLook look;
    try {
        look = exam::recordPaperAnswer(m_dm, m_paper.tableName, *r, answer);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    if (keepPicture)
        return;
    for (ExamSheetCell *c : m_cells)
        if (c->tag == question)
            setCellLook(c, look);
}

void TFrmExam::showStatus(const QString &text) { Label1->setText(text); }

int TFrmExam::currentPage() const { return AnswerArea->page(); }

// --- buttons -------------------------------------------------------------------

void TFrmExam::epEfTrBtn1Click() { selectQuestion(m_current - 1); }
void TFrmExam::epEfTrBtn2Click() { selectQuestion(m_current + 1); }

void TFrmExam::epEfTrBtn3Click()
{
    if (m_ending || m_closed)
        return;
    if (m_paper.isNew()) {
        submitWhileAnswering();
        return;
    }
    // A paper marked in this window below the minimum is not kept.
    if (BelowLeastMark)
        DropExamTable(m_dm, m_paper.tableName);
    closeWindow();
}

void TFrmExam::submitWhileAnswering()
{
    m_ending = true;
    m_clock.pause();
    const QString used = m_clock.elapsedText();
    if (exam::PaperQuestion *r = row(m_current))
        JudgeAnswer(m_current, TypeToPage(r->a13), true);
    int unanswered = 0;
    try {
        unanswered = exam::UnansweredCount(m_dm, m_paper.tableName);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        m_clock.resume();
        m_ending = false;
        return;
    }
    if (exam::discardsSilently(unanswered)) {
        DropExamTable(m_dm, m_paper.tableName);
        closeWindow();
        return;
    }
    const int answer = ShowDlg(QStringLiteral("提示"), exam::submitQuestionText(unanswered), 2, 0, QStringLiteral("Exam"));
    if (answer == 1) {
        markPaper();
        return;
    }
    if (answer == 2) {
        try {
            exam::voidPaper(m_dm, m_paper.tableName, unanswered, used);
        } catch (const std::exception &e) {
            ui::showError(QString::fromUtf8(e.what()));
        }
        closeWindow();
        return;
    }
    // "取消": the exam goes on from where the clock stopped.
    m_clock.resume();
    m_ending = false;
}

void TFrmExam::timeUp()
{
    m_ending = true;
    m_clock.pause();
    KZTimeCounter1->stop();
    if (exam::PaperQuestion *r = row(m_current))
        JudgeAnswer(m_current, TypeToPage(r->a13), true);
    int unanswered = exam::SheetCellCount;
    try {
        unanswered = exam::UnansweredCount(m_dm, m_paper.tableName);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
    }
    seams::messageBox(QStringLiteral("提示"), QStringLiteral("很遗憾，考试时间到了！"), seams::Prompt::Information,
                      seams::Prompt::Ok);
    if (unanswered < exam::SheetCellCount) {
        markPaper();
    } else {
        DropExamTable(m_dm, m_paper.tableName);
        closeWindow();
    }
}

void TFrmExam::markPaper()
{
    // The window stays where it is, disabled behind the waiting window: a
    // modal window that hid itself would end its own modal run.
    setEnabled(false);
    KZTimeCounter1->stop();
    exam::showProgress(QStringLiteral("正在判卷..."));
    const QString used = m_clock.elapsedText();
    m_paper.mode = QStringLiteral("old");
    m_paper.timeUsed = used;
    try {
        const exam::MarkResult r = exam::MarkPaper(m_dm, shell().CurSubject, m_paper.tableName, used);
        BelowLeastMark = r.belowLeastMark;
        m_paper.score = r.score;
    } catch (const std::exception &) {
        exam::hideProgress();
        ShowDlg(QStringLiteral("错误"), QStringLiteral("发生错误！"), 1, 2, QString());
    }
    // Review shows what the bank now holds.
    if (LoadPaper([](const QString &text) { exam::showProgress(text); }) != 1)
        return;
    exam::hideProgress();
    setEnabled(true);
    m_ending = false;
    FormShow();
}

void TFrmExam::epEfTrBtn4Click()
{
    if (exam::PaperQuestion *r = row(m_current))
        examlinks::showExplanation(this, m_paper.tableName, r->a1);
}

void TFrmExam::epEfTrBtn5Click()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    QString note = r->a14;
    if (examlinks::editNote(this, m_paper.tableName, r->a1, note))
        r->a14 = note;
    epEfTrBtn5->setText(r->a14.trimmed().isEmpty() ? QStringLiteral("笔记") : QStringLiteral("有内容"));
}

void TFrmExam::epEfTrBtn6Click()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    if (epEfTrBtn6->text() == QStringLiteral("答案"))
        Panel2->fill(AnswerArea->comparisonHeadline(r->a2), AnswerArea->shownAnswer(),
                     practice::shownKey(AnswerArea->page(), r->a2));
    placeOverlays();
    ToggleAnswerPanel(epEfTrBtn6, Panel2, Panel1->width());
}

void TFrmExam::epEfTrBtn8Click() { examlinks::showSettings(this); }

void TFrmExam::epEfTrBtn9Click()
{
    if (exam::PaperQuestion *r = row(m_current))
        examlinks::showKeyPoints(this, r->a1);
}

void TFrmExam::epEfTrBtn10Click()
{
    exam::showProgress(QStringLiteral("正在导出试卷，请等待..."));
    exam::ExportPaperToWord(m_dm, m_paper.title, m_rows, m_types);
    exam::hideProgress();
}

void TFrmExam::epEfTrBtn11Click()
{
    // Shows the desktop: the program's own windows step aside.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow())
            w->showMinimized();
}

void TFrmExam::epEfTrBtn12Click()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r || m_rows.isEmpty())
        return;
    const bool voiding = epEfTrBtn12->text() == QStringLiteral("本题作废");
    try {
        exam::setQuestionVoided(m_dm, m_paper.tableName, *r, voiding);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    if (voiding) {
        showStatus(exam::voidedStatusText());
        epEfTrBtn12->setText(QStringLiteral("取消作废"));
    } else {
        showStatus(exam::unvoidedStatusText());
        epEfTrBtn12->setText(QStringLiteral("本题作废"));
    }
}

void TFrmExam::epEfTrBtn13Click() { setPaused(epEfTrBtn13->text() == QStringLiteral("暂停考试")); }

void TFrmExam::setPaused(bool paused)
{
    if (paused) {
        epEfTrBtn13->setText(QStringLiteral("继续考试"));
        m_clock.pause();
        KZTimeCounter1->stop();
        m_prevWasEnabled = epEfTrBtn1->isEnabled();
        m_nextWasEnabled = epEfTrBtn2->isEnabled();
        for (QWidget *w : {static_cast<QWidget *>(epEfTrBtn3), static_cast<QWidget *>(epEfTrBtn5),
                           static_cast<QWidget *>(epEfTrBtn7), static_cast<QWidget *>(fcBG_th),
                           static_cast<QWidget *>(epEfTrBtn1), static_cast<QWidget *>(epEfTrBtn2)})
            w->setEnabled(false);
        AnswerArea->setPagesEnabled(false);
        placeOverlays();
        suiPanel1->show();
        suiPanel1->raise();
        ScrollText1->startScrolling();
        m_paused = true;
    } else {
        epEfTrBtn13->setText(QStringLiteral("暂停考试"));
        KZTimeCounter1->start();
        m_clock.resume();
        for (QWidget *w : {static_cast<QWidget *>(epEfTrBtn3), static_cast<QWidget *>(epEfTrBtn5),
                           static_cast<QWidget *>(epEfTrBtn7), static_cast<QWidget *>(fcBG_th)})
            w->setEnabled(true);
        AnswerArea->setPagesEnabled(true);
        epEfTrBtn1->setEnabled(m_prevWasEnabled);
        epEfTrBtn2->setEnabled(m_nextWasEnabled);
        ScrollText1->stopScrolling();
        suiPanel1->hide();
        m_paused = false;
    }
}

void TFrmExam::KZTimeCounter1Timer()
{
    epLb_time1->setText(m_clock.elapsedText());
    if (m_ending || m_closed || !m_paper.isNew() || !m_clock.running())
        return;
    exam::ExamSettings settings;
    try {
        settings = exam::readExamSettings(m_dm);
    } catch (const std::exception &) {
        return;
    }
    if (exam::examTimeIsUp(m_clock.elapsedSeconds(), settings))
        timeUp();
}

bool TFrmExam::FormKeyDown(int key)
{
    // Review and the pause leave the answer as it is.
    return AnswerArea->handleChoicePageKey(key, epEfTrBtn1, epEfTrBtn2, AnswerArea->Notebook1->isEnabled() && !m_paused);
}

bool TFrmExam::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return QDialog::eventFilter(watched, event);
        if (FormKeyDown(k->key()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmExam::keyPressEvent(QKeyEvent *event)
{
    // Escape does not end an exam; "关闭" and "交卷" do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmExam::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeOverlays();
}

void TFrmExam::placeOverlays()
{
    if (!Panel1)
        return;
    const QRect r(Panel1->mapTo(this, QPoint(0, 0)), Panel1->size());
    suiPanel1->setGeometry(r);
    ScrollText1->setGeometry(1, 1, qMax(0, r.width() - 2), qMax(0, r.height() - 2));
    Panel2->setGeometry(0, 0, Panel2->isVisible() ? qMin(Panel2->width(), Panel1->width()) : 0, Panel1->height());
}

bool TFrmExam::FormCloseQuery()
{
    ui::busyCursor();
    m_clock.pause();
    KZTimeCounter1->stop();
    ScrollText1->stopScrolling();
    ui::normalCursor();
    return true;
}

void TFrmExam::closeWindow()
{
    if (m_closed)
        return;
    FormCloseQuery();
    m_closed = true;
    done(QDialog::Accepted);
}

void TFrmExam::closeEvent(QCloseEvent *event)
{
    // The window manager's close (title bar, Alt+F4) is the "关闭" button:
    // while answering it asks to submit, in review it drops a paper marked
    // below the minimum; while paused, with "关闭" disabled, it does nothing.
    if (!m_closed) {
        if (epEfTrBtn7->isEnabled())
            epEfTrBtn3Click();
        if (!m_closed) {
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}
