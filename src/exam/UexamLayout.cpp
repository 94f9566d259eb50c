// The exam window's controls and their layout, in the full and the
// compact screen mode.
#include "exam/Uexam.h"
#include "widgets/ThemeGui.h"
#include "widgets/Ubackdrop.h"

#include "exam/Marking.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/QuestionPaneWidget.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

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
    theme::setRole(epLabel2, "heading");
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
    theme::setRole(Label5, "alert");
    Label5->setProperty("strong", true);
    auto *ti = new QLabel(QStringLiteral("题"), this);
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    theme::setRole(Label7, "heading");
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
    // The handle shows only for a sub-question (see exam::bodySplit).
    Splitter1 = makeQuestionSplitter(Panel1, Re1, Re2);
    Re1->setFont(backdrop::questionFont(false));
    Re2->setFont(backdrop::questionFont(false));
    Splitter1->setChildrenCollapsible(true);
    pl->addWidget(Splitter1);
    left->addWidget(Panel1, 1);
    Panel2 = new AnswerPanelWidget(Panel1);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    theme::setRole(Label1, "alert");
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
    theme::setRole(epLb_time1, "clock");
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
    theme::setRole(epLb_time2, "clock");
    Lb_zfs = new QLabel(reviewing);
    Lb_zfs->setObjectName(QStringLiteral("Lb_zfs"));
    Lb_zfs->setFont(clockFont);
    theme::setRole(Lb_zfs, "score");
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
    Re1->setFont(backdrop::questionFont(true));
    Re2->setFont(backdrop::questionFont(true));
    for (ExamSheetCell *c : m_cells)
        c->setCellSize(QSize(26, 20));
    QFont hf = epLabel2->font();
    hf.setPixelSize(16);
    epLabel2->setFont(hf);
    layout()->setContentsMargins(6, 4, 6, 4);
    resize(773, 478);
}
