// The practice window's controls and their layout in the two screen modes.
#include "practice/Ulxxt.h"
#include "widgets/ThemeGui.h"

#include "common/ShellState.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/PracticeAnimationWidget.h"
#include "practice/PracticeWindowRules.h"
#include "practice/QuestionPaneWidget.h"
#include "widgets/PictureButtonWidget.h"
#include "widgets/UflatButton.h"
#include "widgets/Ubackdrop.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace practice;

namespace {

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return l;
}

QLabel *numberLabel(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(name);
    theme::setRole(l, "alert");
    l->setProperty("strong", true);
    l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return l;
}

// A red number between its words on a row: "第 [n] 题"; a number that
// follows the previous one directly has no word before it.
QLabel *addNumber(QHBoxLayout *row, const QString &before, const QString &name, const QString &after,
                  QWidget *parent)
{
    if (!before.isEmpty())
        row->addWidget(plainLabel(before, parent));
    QLabel *number = numberLabel(name, parent);
    row->addWidget(number);
    row->addWidget(plainLabel(after, parent));
    return number;
}

} // namespace

void TFrmLxxt::buildUi()
{
    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(12, backdrop::StripHeight + 8, 12, 12);
    root->setSpacing(10);

    // Left: hint board, status and position, body with gauge, answer area, buttons.
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    root->addLayout(left, 1);

    auto *hintBox = new QGroupBox(QStringLiteral("提示板"), this);
    hintBox->setObjectName(QStringLiteral("GroupBox1"));
    auto *hintLay = new QHBoxLayout(hintBox);
    hintLay->setContentsMargins(10, 6, 10, 6);
    Lb_hint = new QLabel(hintBox);
    Lb_hint->setObjectName(QStringLiteral("Lb_hint"));
    Lb_hint->setWordWrap(true);
    theme::setRole(Lb_hint, "heading");
    hintLay->addWidget(Lb_hint);
    left->addWidget(hintBox);

    auto *statusRow = new QHBoxLayout;
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    theme::setRole(Label1, "alert");
    Lb_edited = new QLabel(this);
    Lb_edited->setObjectName(QStringLiteral("Lb_edited"));
    QFont bold = Lb_edited->font();
    bold.setBold(true);
    Lb_edited->setFont(bold);
    statusRow->addWidget(Label1);
    statusRow->addSpacing(12);
    statusRow->addWidget(Lb_edited);
    statusRow->addStretch(1);
    Lb_pos = addNumber(statusRow, QStringLiteral("第"), QStringLiteral("Lb_pos"), QStringLiteral("题"), this);
    Lb_occur = addNumber(statusRow, QStringLiteral("（第"), QStringLiteral("Lb_occur"), QStringLiteral("次出现）"), this);
    left->addLayout(statusRow);

    auto *bodyRow = new QHBoxLayout;
    bodyRow->setSpacing(6);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setOrientation(Qt::Vertical);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(false);
    Gauge1->setFixedWidth(14);
    Gauge1->setToolTip(QStringLiteral("答题时间"));
    bodyRow->addWidget(Gauge1);
    m_bodyBox = new QWidget(this);
    m_bodyBox->setObjectName(QStringLiteral("Panel1"));
    auto *bodyLay = new QVBoxLayout(m_bodyBox);
    bodyLay->setContentsMargins(0, 0, 0, 0);
    // The material pane is hidden rather than collapsed (see setMaterialPane).
    Splitter1 = makeQuestionSplitter(m_bodyBox, Re1, Re2);
    Splitter1->setHandleWidth(MaterialSplitter);
    Splitter1->setChildrenCollapsible(false);
    bodyLay->addWidget(Splitter1);
    m_bodyBox->installEventFilter(this);
    bodyRow->addWidget(m_bodyBox, 1);
    left->addLayout(bodyRow, 1);
    Panel2 = new AnswerPanelWidget(m_bodyBox);

    answerArea = new AnswerAreaWidget(this);
    answerArea->setSideLabel(PageMatching, m_options.matchingLabel);
    if (!m_options.subjectiveLabel.isEmpty())
        answerArea->setSideLabel(PageSubjective, m_options.subjectiveLabel);
    left->addWidget(answerArea);

    auto makeButton = [this](QPushButton *&b, const char *name, const QString &caption) {
        return b = flatButton(this, name, caption);
    };
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(makeButton(epEfTrBtn1, "epEfTrBtn1", QStringLiteral("上一题")));
    buttons->addWidget(makeButton(epEfTrBtn2, "epEfTrBtn2", QStringLiteral("下一题")));
    buttons->addWidget(makeButton(epEfTrBtn3, "epEfTrBtn3", QStringLiteral("完成")));
    buttons->addWidget(makeButton(epEfTrBtn6, "epEfTrBtn6", QStringLiteral("答案")));
    buttons->addWidget(makeButton(epEfTrBtn4, "epEfTrBtn4", QStringLiteral("解析")));
    buttons->addWidget(makeButton(epEfTrBtn5, "epEfTrBtn5", QStringLiteral("笔记")));
    buttons->addWidget(makeButton(epEfTrBtn9, "epEfTrBtn9", QStringLiteral("考点")));
    buttons->addWidget(makeButton(epEfTrBtn10, "epEfTrBtn10", m_options.voidCaption));
    buttons->addWidget(makeButton(epEfTrBtn11, "epEfTrBtn11", QStringLiteral("修改本题")));
    left->addLayout(buttons);

    // Right: clock, type board, question board, tools.
    m_right = new QWidget(this);
    m_right->setObjectName(QStringLiteral("RightColumn"));
    auto *right = new QVBoxLayout(m_right);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(6);
    root->addWidget(m_right);

    auto *clockBox = new QGroupBox(QStringLiteral("时钟"), m_right);
    auto *clockLay = new QHBoxLayout(clockBox);
    clockLay->setContentsMargins(10, 4, 10, 4);
    Lb_time = new QLabel(QStringLiteral("0:00:00"), clockBox);
    Lb_time->setObjectName(QStringLiteral("Lb_time"));
    QFont clockFont = Lb_time->font();
    clockFont.setPointSize(16);
    clockFont.setBold(true);
    Lb_time->setFont(clockFont);
    theme::setRole(Lb_time, "clock");
    clockLay->addWidget(Lb_time, 1);
    m_animation = new PracticeAnimation(clockBox);
    clockLay->addWidget(m_animation);
    right->addWidget(clockBox);

    auto *typeBox = new QGroupBox(QStringLiteral("题型指示板"), m_right);
    auto *typeLay = new QVBoxLayout(typeBox);
    typeLay->setContentsMargins(8, 6, 8, 6);
    fcBG_tx = new QWidget(typeBox);
    fcBG_tx->setObjectName(QStringLiteral("fcBG_tx"));
    m_typeGrid = new QGridLayout(fcBG_tx);
    m_typeGrid->setContentsMargins(0, 0, 0, 0);
    m_typeGrid->setSpacing(4);
    typeLay->addWidget(fcBG_tx);
    right->addWidget(typeBox);

    auto *boardBox = new QGroupBox(QStringLiteral("题目指示板"), m_right);
    auto *boardLay = new QVBoxLayout(boardBox);
    boardLay->setContentsMargins(8, 6, 8, 6);
    boardLay->setSpacing(4);
    fcBG_th = new QWidget(boardBox);
    fcBG_th->setObjectName(QStringLiteral("fcBG_th"));
    auto *grid = new QGridLayout(fcBG_th);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    for (int i = 0; i < 20; ++i) {
        auto *b = new PictureButton(QString::number(i + 1), fcBG_th);
        b->setObjectName(QStringLiteral("th%1").arg(i + 1));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(b, i / 5, i % 5);
        questionButtons[i] = b;
        connect(b, &PictureButton::clicked, this, [this, i] {
            if (m_groups.recordAt(i) > 0 && m_groups.recordAt(i) == m_current) {
                questionButtons[i]->setChecked(true);
                return;
            }
            pressQuestionButton(i);
        });
    }
    boardLay->addWidget(fcBG_th);
    auto *countRow = new QHBoxLayout;
    countRow->addStretch(1);
    Lb_groups = addNumber(countRow, QStringLiteral("共"), QStringLiteral("Lb_groups"), QStringLiteral("组"), boardBox);
    Lb_total = addNumber(countRow, QString(), QStringLiteral("Lb_total"), QStringLiteral("道题"), boardBox);
    countRow->addStretch(1);
    boardLay->addLayout(countRow);
    auto *groupRow = new QHBoxLayout;
    groupRow->addStretch(1);
    Lb_group = addNumber(groupRow, QStringLiteral("第"), QStringLiteral("Lb_group"), QStringLiteral("组"), boardBox);
    groupRow->addStretch(1);
    boardLay->addLayout(groupRow);
    auto *groupButtons = new QHBoxLayout;
    groupButtons->addWidget(makeButton(FlatSpeedButton1, "FlatSpeedButton1", QStringLiteral("<-上一组")));
    groupButtons->addWidget(makeButton(FlatSpeedButton2, "FlatSpeedButton2", QStringLiteral("下一组->")));
    boardLay->addLayout(groupButtons);
    right->addWidget(boardBox);
    right->addStretch(1);

    auto *tools = new QHBoxLayout;
    tools->addWidget(makeButton(epEfTrBtn8, "epEfTrBtn8", QStringLiteral("设置")));
    tools->addWidget(makeButton(epEfTrBtn7, "epEfTrBtn7", QStringLiteral("桌面")));
    tools->addWidget(makeButton(epEfTrBtn99, "epEfTrBtn99", QStringLiteral("关闭")));
    right->addLayout(tools);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    KZTimeCounter1 = new QTimer(this);
    KZTimeCounter1->setObjectName(QStringLiteral("KZTimeCounter1"));
    KZTimeCounter1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFrmLxxt::Timer1Timer);
    connect(KZTimeCounter1, &QTimer::timeout, this, &TFrmLxxt::KZTimeCounter1Timer);

    connect(epEfTrBtn1, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn1Click);
    connect(epEfTrBtn2, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn2Click);
    connect(epEfTrBtn3, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn3Click);
    connect(epEfTrBtn4, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn4Click);
    connect(epEfTrBtn5, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn5Click);
    connect(epEfTrBtn6, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn6Click);
    connect(epEfTrBtn7, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn7Click);
    connect(epEfTrBtn8, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn8Click);
    connect(epEfTrBtn9, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn9Click);
    connect(epEfTrBtn10, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn10Click);
    connect(epEfTrBtn11, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn11Click);
    connect(epEfTrBtn99, &QPushButton::clicked, this, [this] { close(); });
    connect(FlatSpeedButton1, &QPushButton::clicked, this, &TFrmLxxt::FlatSpeedButton1Click);
    connect(FlatSpeedButton2, &QPushButton::clicked, this, &TFrmLxxt::FlatSpeedButton2Click);

    for (QPushButton *b : {epEfTrBtn1, epEfTrBtn2, epEfTrBtn4, epEfTrBtn6, epEfTrBtn9, FlatSpeedButton1, FlatSpeedButton2})
        b->setEnabled(false);
    epEfTrBtn11->setVisible(m_options.editButton);
    epEfTrBtn4->setVisible(m_options.explanationButton);
    setMaterialPane(false);
    layoutForScreenMode();
}

void TFrmLxxt::layoutForScreenMode()
{
    const bool compact = shell().compactScreen();
    const QFont f = backdrop::windowFont(compact);
    setFont(f);
    Re1->setFont(backdrop::questionFont(compact));
    Re2->setFont(backdrop::questionFont(compact));
    answerArea->setCompact(compact);
    m_right->setFixedWidth(compact ? 196 : 236);
    for (PictureButton *b : questionButtons)
        b->setFixedHeight(compact ? 24 : 30);
    for (PictureButton *b : typeButtons)
        b->setFixedHeight(compact ? 22 : 26);
    layout()->setContentsMargins(compact ? 8 : 12, backdrop::StripHeight + (compact ? 4 : 8), compact ? 8 : 12,
                                 compact ? 8 : 12);
    if (compact)
        setFixedSize(780, 490);
    else
        setFixedSize(1000, 700);
}
