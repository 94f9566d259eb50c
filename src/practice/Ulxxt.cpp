// The chapter practice window.
#include "practice/Ulxxt.h"
#include "practice/UlxxtNames.h"

#include "common/ClockText.h"

#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "authoring/Utedit.h"
#include "keypoints/UanswFagui.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "widgets/PictureButtonWidget.h"
#include "widgets/Ubackdrop.h"
#include "practice/Ubj.h"
#include "practice/Ujx.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QSqlQuery>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtMath>

using namespace practice;

namespace {

constexpr int MaterialHeight = 150;
constexpr int MaterialSplitter = 6;

int markIndex(Mark m) { return m == Mark::Right ? 1 : m == Mark::Wrong ? 2 : 0; }

// The small animated picture beside the clock: an hourglass-like dial
// whose hand turns while the practice runs.
class PracticeAnimation : public QWidget {
public:
    explicit PracticeAnimation(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Animate1"));
        setFixedSize(44, 44);
        m_timer.setInterval(120);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            m_angle = (m_angle + 15) % 360;
            update();
        });
    }
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(3, 3, -3, -3);
        QRadialGradient g(r.center(), r.width() / 2);
        g.setColorAt(0, QColor(0xff, 0xff, 0xff));
        g.setColorAt(1, QColor(0xb9, 0xd3, 0xf3));
        p.setBrush(g);
        p.setPen(QPen(QColor(0x2a, 0x5c, 0xa8), 2));
        p.drawEllipse(r);
        p.translate(r.center());
        for (int i = 0; i < 12; ++i) {
            p.save();
            p.rotate(i * 30);
            p.setPen(QPen(QColor(0x2a, 0x5c, 0xa8), i % 3 ? 1 : 2));
            p.drawLine(QPointF(0, -r.height() / 2 + 3), QPointF(0, -r.height() / 2 + 7));
            p.restore();
        }
        p.rotate(m_angle);
        p.setPen(QPen(QColor(0xd0, 0x3a, 0x2f), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 0), QPointF(0, -r.height() / 2 + 8));
        p.setBrush(QColor(0xd0, 0x3a, 0x2f));
        p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    }

private:
    QTimer m_timer;
    int m_angle = 0;
};

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
    l->setStyleSheet(QStringLiteral("color: #b3261e; font-weight: bold;"));
    l->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return l;
}

const char *const GroupStyle =
    "QGroupBox { border: 1px solid #8aa8d2; border-radius: 6px; margin-top: 10px; background: rgba(255,255,255,150); }"
    "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: #1f4d8f; font-weight: bold; }";

} // namespace

TFrmLxxt::TFrmLxxt(QWidget *parent, const PracticeOptions &options)
    : QDialog(parent), m_options(options), m_run(std::make_unique<PracticeRun>(*DM1))
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmLxxt"));
    setWindowTitle(m_options.caption);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildUi();
    namePracticeControls(this);
    new backdrop::StripDragger(this);
    qApp->installEventFilter(this);

    // The six question-indicator pictures beside the program.
    const char *const up[] = {"pic/vloxup.bmp", "pic/vloxyes.bmp", "pic/vloxno.bmp"};
    const char *const down[] = {"pic/vloxdw.bmp", "pic/vloxdw_r.bmp", "pic/vloxdw_w.bmp"};
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i)
        ok = loadPicture(QString::fromLatin1(up[i]), m_upPictures[i]) && loadPicture(QString::fromLatin1(down[i]), m_downPictures[i]);
    if (!ok)
        refuseMissingPictures();
}

TFrmLxxt::~TFrmLxxt() { qApp->removeEventFilter(this); }

bool TFrmLxxt::loadPicture(const QString &relative, QPixmap &out)
{
    const QString path = seams::appDir() + relative;
    return QFile::exists(path) && out.load(path);
}

void TFrmLxxt::refuseMissingPictures()
{
    if (m_resourcesMissing)
        return;
    m_resourcesMissing = true;
    seams::showDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, seams::DlgError);
    seams::endProgram();
}

// ---------------------------------------------------------------- layout

void TFrmLxxt::buildUi()
{
    setStyleSheet(backdrop::buttonStyle() + QString::fromLatin1(GroupStyle)
                  + QStringLiteral("QTextEdit { background: white; border: 1px solid #9fb7d9; }"));
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
    Lb_hint->setStyleSheet(QStringLiteral("color: #1d3c66;"));
    hintLay->addWidget(Lb_hint);
    left->addWidget(hintBox);

    auto *statusRow = new QHBoxLayout;
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: #d01010;"));
    Lb_edited = new QLabel(this);
    Lb_edited->setObjectName(QStringLiteral("Lb_edited"));
    QFont bold = Lb_edited->font();
    bold.setBold(true);
    Lb_edited->setFont(bold);
    statusRow->addWidget(Label1);
    statusRow->addSpacing(12);
    statusRow->addWidget(Lb_edited);
    statusRow->addStretch(1);
    statusRow->addWidget(plainLabel(QStringLiteral("第"), this));
    Lb_pos = numberLabel(QStringLiteral("Lb_pos"), this);
    statusRow->addWidget(Lb_pos);
    statusRow->addWidget(plainLabel(QStringLiteral("题"), this));
    statusRow->addWidget(plainLabel(QStringLiteral("（第"), this));
    Lb_occur = numberLabel(QStringLiteral("Lb_occur"), this);
    statusRow->addWidget(Lb_occur);
    statusRow->addWidget(plainLabel(QStringLiteral("次出现）"), this));
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
    Gauge1->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #8aa8d2; border-radius: 3px; background: white; }"
        "QProgressBar::chunk { background: qlineargradient(x1:0,y1:1,x2:0,y2:0, stop:0 #4caf50, stop:1 #e53935); }"));
    bodyRow->addWidget(Gauge1);
    m_bodyBox = new QWidget(this);
    m_bodyBox->setObjectName(QStringLiteral("Panel1"));
    auto *bodyLay = new QVBoxLayout(m_bodyBox);
    bodyLay->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Vertical, m_bodyBox);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(MaterialSplitter);
    Splitter1->setChildrenCollapsible(false);
    Re1 = new QTextEdit(Splitter1);
    Re1->setObjectName(QStringLiteral("Re1"));
    Re1->setReadOnly(true);
    Re2 = new QTextEdit(Splitter1);
    Re2->setObjectName(QStringLiteral("Re2"));
    Re2->setReadOnly(true);
    Splitter1->addWidget(Re1);
    Splitter1->addWidget(Re2);
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
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::PointingHandCursor);
        return b;
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
    Lb_time->setStyleSheet(QStringLiteral("color: #1f4d8f;"));
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
    countRow->addWidget(plainLabel(QStringLiteral("共"), boardBox));
    Lb_groups = numberLabel(QStringLiteral("Lb_groups"), boardBox);
    countRow->addWidget(Lb_groups);
    countRow->addWidget(plainLabel(QStringLiteral("组"), boardBox));
    Lb_total = numberLabel(QStringLiteral("Lb_total"), boardBox);
    countRow->addWidget(Lb_total);
    countRow->addWidget(plainLabel(QStringLiteral("道题"), boardBox));
    countRow->addStretch(1);
    boardLay->addLayout(countRow);
    auto *groupRow = new QHBoxLayout;
    groupRow->addStretch(1);
    groupRow->addWidget(plainLabel(QStringLiteral("第"), boardBox));
    Lb_group = numberLabel(QStringLiteral("Lb_group"), boardBox);
    groupRow->addWidget(Lb_group);
    groupRow->addWidget(plainLabel(QStringLiteral("组"), boardBox));
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
    const bool compact = shell().ScreenMode == QLatin1String("800");
    QFont f = QApplication::font();
    f.setPointSize(compact ? 9 : 10);
    setFont(f);
    QFont body = f;
    body.setPointSize(compact ? 11 : 12);
    Re1->setFont(body);
    Re2->setFont(body);
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

void TFrmLxxt::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle());
}

void TFrmLxxt::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    positionPanel();
}

void TFrmLxxt::positionPanel()
{
    // The comparison panel lies over the body, as high as the body area.
    const int w = Panel2->isOpen() && !Panel2->isSliding() ? m_bodyBox->width() : Panel2->width();
    Panel2->setGeometry(0, 0, w, panelHeight());
}

int TFrmLxxt::panelHeight() const
{
    return m_options.panelHeight > 0 ? std::min(m_options.panelHeight, m_bodyBox->height()) : m_bodyBox->height();
}

void TFrmLxxt::setMaterialPane(bool open)
{
    // An open material pane keeps the height the user gave it.
    if (open && !Re2->isHidden())
        return;
    Re2->setVisible(open);
    if (open) {
        const int total = std::max(Splitter1->height(), MaterialHeight * 2);
        Splitter1->setSizes({total - MaterialHeight - MaterialSplitter, MaterialHeight});
    }
}

// ---------------------------------------------------------------- loading

bool TFrmLxxt::LoadQuestionList()
{
    if (m_resourcesMissing)
        return false;
    if (!m_run->load(shell().PracticeSql))
        return false;
    m_firstId = m_run->row(1).id;

    if (!loadPicture(QStringLiteral("pic/vloxtxup.bmp"), m_typeUp) || !loadPicture(QStringLiteral("pic/vloxtxdw.bmp"), m_typeDown)) {
        refuseMissingPictures();
        return false;
    }

    // The type board: "任意" first, then the subject's types in code order;
    // a type with no question in the list cannot be chosen.
    for (PictureButton *b : typeButtons)
        delete b;
    typeButtons.clear();
    typeCodes.clear();
    QVector<QPair<int, QString>> types{{0, QStringLiteral("任意")}};
    const int subject = shell().CurSubject >= 1 && shell().CurSubject <= 5 ? shell().CurSubject : 1;
    DM1->setTypeTable(subject);
    {
        QSqlQuery q = DM1->execText(QStringLiteral("select A1, B1 from ") + DM1->typeTable() + QStringLiteral(" order by A1 ASC"));
        while (q.next())
            types.append({q.value(0).toInt(), q.value(1).toString()});
        q.finish();
    }
    for (int i = 0; i < types.size(); ++i) {
        auto *b = new PictureButton(types.at(i).second, fcBG_tx);
        b->setObjectName(QStringLiteral("tx%1").arg(types.at(i).first));
        b->setUpPicture(m_typeUp, 0);
        b->setDownPicture(m_typeDown, 0);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setEnabled(types.at(i).first == 0 || m_run->typeCount(types.at(i).first) > 0);
        m_typeGrid->addWidget(b, i / 2, i % 2);
        connect(b, &PictureButton::clicked, this, [this, i] {
            if (i == m_typeIndex) {
                typeButtons[i]->setChecked(true);
                return;
            }
            pressTypeButton(i);
        });
        typeButtons << b;
        typeCodes << types.at(i).first;
    }
    layoutForScreenMode();
    return true;
}

// ---------------------------------------------------------------- showing

void TFrmLxxt::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrmLxxt::FormShow()
{
    ui::busyCursor();
    Gauge1->setValue(0);
    layoutForScreenMode();
    if (!parentWidget())
        if (QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    setMaterialPane(false);
    Panel2->closeNow();
    if (m_options.hintFromChapter)
        Lb_hint->setText(DM1 ? DM1->ChapterCaption : QString());
    m_current = 0;
    m_typeIndex = -1;
    if (!typeButtons.isEmpty())
        pressTypeButton(0);
    m_clock.start();
    Lb_time->setText(QStringLiteral("0:00:00"));
    KZTimeCounter1->start();
    ui::normalCursor();
    static_cast<PracticeAnimation *>(m_animation)->start();
    epEfTrBtn9->setEnabled(false);
    if (!m_options.explanationButton)
        epEfTrBtn4->setEnabled(false);
}

void TFrmLxxt::pressTypeButton(int index)
{
    for (int i = 0; i < typeButtons.size(); ++i)
        typeButtons[i]->setChecked(i == index);
    fcBG_txChange(index);
}

void TFrmLxxt::fcBG_txChange(int index)
{
    if (index < 0 || index >= typeButtons.size())
        return;
    if (m_current > 0) {
        JudgeAnswer(m_current, answerArea->page(), m_groups.start(), m_groups.last(), Silent);
        m_current = 0;
    }
    const int code = typeCodes.at(index);
    if (!m_options.subjectiveLabel.isEmpty()) {
        // The window's own label stays whatever the type.
    } else if (code == 0) {
        answerArea->setSideLabel(PageSubjective, QStringLiteral("主\r观"));
    } else {
        const QString name = typeButtons.at(index)->text();
        answerArea->setSideLabel(PageSubjective, name.left(1) + QLatin1Char('\r') + name.mid(1, 1));
    }
    if (m_run->typeFilter() != code)
        m_run->setTypeFilter(code);
    if (m_run->count() == 0) {
        // Cannot happen after loading (the button is disabled); should it,
        // the previous type is chosen again.
        typeButtons[index]->setEnabled(false);
        const int previous = m_typeIndex;
        if (previous >= 0 && previous != index) {
            m_typeIndex = -1;
            pressTypeButton(previous);
        } else {
            typeButtons[index]->setChecked(false);
        }
        return;
    }
    m_typeIndex = index;
    FillQuestionButtons(1);
}

void TFrmLxxt::FillQuestionButtons(int mode)
{
    if (mode == 1)
        m_groups.first(m_run->count());
    else if (mode == 2)
        m_groups.previousGroup();
    else
        m_groups.nextGroup();
    Lb_groups->setText(QString::number(m_groups.groupCount()));
    Lb_total->setText(QString::number(m_groups.total()));
    Lb_group->setText(QString::number(m_groups.group()));
    FlatSpeedButton1->setEnabled(m_groups.previousGroupEnabled());
    FlatSpeedButton2->setEnabled(m_groups.nextGroupEnabled());
    for (int i = 0; i < 20; ++i) {
        const int record = m_groups.recordAt(i);
        PictureButton *b = questionButtons[i];
        b->setChecked(false);
        if (record > 0) {
            const QuestionRow &r = m_run->row(record);
            const Mark m = markFor(r.runAnswer, r.key);
            b->setEnabled(true);
            setQuestionUp(i, m);
            setQuestionDown(i, m);
        } else {
            b->setEnabled(false);
            setQuestionUp(i, Mark::Neutral);
            setQuestionDown(i, Mark::Neutral);
        }
    }
    if (m_groups.size() > 0)
        pressQuestionButton(0);
}

void TFrmLxxt::setQuestionUp(int button, Mark mark)
{
    if (button >= 0 && button < 20)
        questionButtons[button]->setUpPicture(m_upPictures[markIndex(mark)], markIndex(mark));
}

void TFrmLxxt::setQuestionDown(int button, Mark mark)
{
    if (button >= 0 && button < 20)
        questionButtons[button]->setDownPicture(m_downPictures[markIndex(mark)], markIndex(mark));
}

void TFrmLxxt::pressQuestionButton(int button)
{
    for (int i = 0; i < 20; ++i)
        questionButtons[i]->setChecked(i == button);
    fcBG_thChange(button);
}

void TFrmLxxt::fcBG_thChange(int button)
{
    const int c = m_groups.recordAt(button);
    if (c <= 0)
        return;
    Lb_edited->clear();
    if (epEfTrBtn6->text() == QStringLiteral("返回")) {
        epEfTrBtn6->setText(QStringLiteral("答案"));
        Panel2->closeNow();
    }
    epEfTrBtn1->setEnabled(m_groups.previousQuestionEnabled(c));
    epEfTrBtn2->setEnabled(m_groups.nextQuestionEnabled(c));
    ShowQuestion(m_current, c);

    const QuestionRow &r = m_run->row(c);
    if (!m_options.statusNeedsRows || m_run->count() > 0) {
        Label1->clear();
        epEfTrBtn10->setText(m_options.voidCaption);
        if (r.status == 1) {
            Label1->setText(QStringLiteral("本题已被您作废！"));
            epEfTrBtn10->setText(QStringLiteral("取消作废"));
        } else if (r.status == 2) {
            Label1->setText(QStringLiteral("本题是您加入的题目！"));
        }
    }
    if (m_options.editedMark && r.editCount != 0)
        Lb_edited->setText(QStringLiteral("本题被您修改过"));
}

void TFrmLxxt::ShowQuestion(int oldRecord, int record)
{
    // The controls still show the question being left.
    JudgeAnswer(oldRecord, answerArea->page(), m_groups.start(), m_groups.last(), LeavingQuestion);
    m_current = record;
    const QuestionRow &r = m_run->row(record);
    m_contentFailed = false;
    try {
        m_content = loadQuestionContent(*DM1, r.id);
    } catch (const store::DbError &) {
        m_content = QuestionContent();
        m_contentFailed = true;
    }
    Lb_occur->setText(QString::number(r.attempts >= 1 ? r.attempts + 1 : 1));
    Lb_pos->setText(QString::number(record - m_groups.start() + 1));
    PrepareAnswerControls(r);
    ShowQuestionBody(r.id);
    setQuestionDown(m_groups.buttonOf(record), markFor(r.runAnswer, r.key));

    Timer1->stop();
    Timer1->setInterval(shell().typeTime(r.type));
    Gauge1->setValue(0);
    Timer1->start();
}

void TFrmLxxt::PrepareAnswerControls(const QuestionRow &row)
{
    // A type without a page keeps the page shown; the question's own
    // answer (none at first) is put into it, so the previous question's
    // answer is never carried over to this one.
    const int page = answerArea->showPageForType(row.type);
    answerArea->restore(page, row.optionCount, row.runAnswer);
    setAfterAnswerButtons(row);
    epEfTrBtn5->setText(row.note.trimmed().isEmpty() ? QStringLiteral("笔记") : QStringLiteral("有内容"));
}

void TFrmLxxt::setAfterAnswerButtons(const QuestionRow &row)
{
    const AfterAnswerButtons b = afterAnswerButtons(row.runAnswer, m_content.hasExplanation, row.keyPoints.value(0), row.type);
    epEfTrBtn4->setEnabled(b.explanation && m_options.explanationButton);
    epEfTrBtn9->setEnabled(b.keyPoints);
    epEfTrBtn6->setEnabled(b.comparison);
}

void TFrmLxxt::ShowQuestionBody(const QString &id)
{
    Q_UNUSED(id);
    try {
        if (m_contentFailed)
            throw store::DbError(QStringLiteral("question content unreadable"));
        setMaterialPane(m_content.isSubQuestion);
        fillQuestionBody(m_content, *Re1->document(), *Re2->document());
    } catch (...) {
        // The window stays; the user can move on to other questions.
        Re1->clear();
        Re2->clear();
        seams::showDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, seams::DlgError);
    }
}

// ---------------------------------------------------------------- judging

void TFrmLxxt::JudgeAnswer(int record, int page, int first, int last, JudgeKind kind)
{
    if (record <= 0 || !m_run->valid(record))
        return;
    const QString answer = answerArea->answer(page);
    JudgeOutcome out;
    try {
        out = m_run->judge(record, answer);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    const bool inGroup = first <= record && record <= last;
    if (out.empty) {
        if (kind == Finished)
            seams::showDlg(QStringLiteral("提示"), m_options.noAnswerText, 1, seams::DlgWarning);
        else if (kind == LeavingQuestion && inGroup)
            setQuestionUp(record - first, Mark::Neutral);
        return;
    }
    const QuestionRow &r = m_run->row(record);
    const Mark mark = markFor(r.runAnswer, r.key);
    if (kind == Finished) {
        setAfterAnswerButtons(r);
        setQuestionDown((record - 1) % QuestionGroups::GroupSize, mark);
    } else if (kind == LeavingQuestion && inGroup) {
        setQuestionUp(record - first, mark);
    }
}

// ---------------------------------------------------------------- buttons

void TFrmLxxt::epEfTrBtn1Click()
{
    const QuestionGroups::Move m = m_groups.previousQuestion(m_current);
    if (m.kind == QuestionGroups::Move::Button)
        pressQuestionButton(m.button);
    else if (m.kind == QuestionGroups::Move::PreviousGroup)
        FillQuestionButtons(2);
}

void TFrmLxxt::epEfTrBtn2Click()
{
    const QuestionGroups::Move m = m_groups.nextQuestion(m_current);
    if (m.kind == QuestionGroups::Move::Button)
        pressQuestionButton(m.button);
    else if (m.kind == QuestionGroups::Move::NextGroup)
        FillQuestionButtons(3);
}

void TFrmLxxt::FlatSpeedButton1Click()
{
    if (m_groups.group() > 1)
        FillQuestionButtons(2);
}

void TFrmLxxt::FlatSpeedButton2Click()
{
    if (m_groups.group() < m_groups.groupCount())
        FillQuestionButtons(3);
}

void TFrmLxxt::epEfTrBtn3Click()
{
    if (m_current > 0)
        JudgeAnswer(m_current, answerArea->page(), m_groups.start(), m_groups.last(), Finished);
}

void TFrmLxxt::epEfTrBtn4Click()
{
    if (!m_run->valid(m_current))
        return;
    ui::busyCursor();
    TFrmJx jx(this);
    jx.bind(*DM1, {QStringLiteral("tab_exer"), QStringLiteral("A1"), m_run->row(m_current).id, QStringLiteral("jx")});
    ui::execModal(&jx);
    ui::normalCursor();
}

void TFrmLxxt::epEfTrBtn5Click()
{
    if (!m_run->valid(m_current))
        return;
    QuestionRow &r = m_run->row(m_current);
    TFrmBj bj(this);
    try {
        bj.bind(*DM1, {QStringLiteral("tab_answ"), QStringLiteral("A1"), r.id, QStringLiteral("A14")});
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    ui::execModal(&bj);
    if (bj.saved()) {
        r.note = bj.text();
        r.noteIsNull = bj.isNull();
    }
    epEfTrBtn5->setText(shell().NoteHasContent ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void TFrmLxxt::epEfTrBtn6Click()
{
    if (epEfTrBtn6->text() == QStringLiteral("答案")) {
        if (!m_run->valid(m_current))
            return;
        const QString key = m_run->row(m_current).key;
        Panel2->fill(answerArea->comparisonHeadline(key), answerArea->shownAnswer(), shownKey(answerArea->page(), key));
        Panel2->setGeometry(0, 0, 0, panelHeight());
    }
    ToggleAnswerPanel(epEfTrBtn6, Panel2, m_bodyBox->width());
}

void TFrmLxxt::epEfTrBtn7Click()
{
    // "桌面": the program's windows step aside for the desktop.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->showMinimized();
}

void TFrmLxxt::epEfTrBtn8Click()
{
    // The settings window (answer times, music) is its own piece of work;
    // until it exists the button does nothing.
    shell().ConfigMode = 0;
}

void TFrmLxxt::epEfTrBtn9Click()
{
    if (!m_run->valid(m_current))
        return;
    TfrmAnswFagui w(this);
    bool any = false;
    try {
        any = w.LoadKeyPoints(m_run->row(m_current).id);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    if (any)
        ui::execModal(&w);
    if (!isVisible())
        show();
}

void TFrmLxxt::epEfTrBtn10Click()
{
    if (m_run->count() == 0 || !m_run->valid(m_current))
        return;
    try {
        if (epEfTrBtn10->text() == m_options.voidCaption) {
            m_run->setVoided(m_current, true);
            Label1->setText(QStringLiteral("本题已被您作废！"));
            epEfTrBtn10->setText(QStringLiteral("取消作废"));
        } else {
            m_run->setVoided(m_current, false);
            Label1->setText(QStringLiteral("本题曾被作废，现已被您取消！"));
            epEfTrBtn10->setText(m_options.voidCaption);
        }
    } catch (const store::DbError &e) {
        ui::showError(e.text());
    }
}

void TFrmLxxt::epEfTrBtn11Click()
{
    if (!m_run->valid(m_current))
        return;
    // The question's time does not run while it is being edited.
    Timer1->stop();
    QuestionRow &row = m_run->row(m_current);
    TfrmTedit edit(row.id, this);
    if (edit.loaded() && ui::execModal(&edit) == QDialog::Accepted) {
        // The edited question is shown at once, with its new key, type
        // and key points, and marked as edited.
        const authoring::EditedQuestion &q = edit.question();
        row.key = q.answer;
        row.optionCount = q.optionCount;
        row.type = q.type;
        row.keyPoints = q.keyPoints;
        while (row.keyPoints.size() < 10)
            row.keyPoints << QString();
        row.editCount = q.editCount;
        m_contentFailed = false;
        try {
            m_content = loadQuestionContent(*DM1, row.id);
        } catch (const store::DbError &) {
            m_content = QuestionContent();
            m_contentFailed = true;
        }
        PrepareAnswerControls(row);
        ShowQuestionBody(row.id);
        if (row.editCount != 0)
            Lb_edited->setText(QStringLiteral("本题被您修改过"));
    }
    Timer1->start();
}

// ---------------------------------------------------------------- timers

void TFrmLxxt::Timer1Timer()
{
    if (Gauge1->value() < 100) {
        Gauge1->setValue(Gauge1->value() + 1);
        return;
    }
    Timer1->stop();
    seams::showDlg(QStringLiteral("提示"), QStringLiteral("到时间了"), 1, seams::DlgWarning);
    if (m_run->valid(m_current)) {
        try {
            m_run->markTimedOut(m_current);
        } catch (const store::DbError &e) {
            ui::showError(e.text());
        }
    }
}

QString TFrmLxxt::elapsedText() const
{
    return clockText(m_clock.isValid() ? m_clock.elapsed() / 1000 : 0);
}

void TFrmLxxt::KZTimeCounter1Timer() { Lb_time->setText(elapsedText()); }

// ---------------------------------------------------------------- keys and closing

bool TFrmLxxt::formKeyDown(int key) { return answerArea->handleChoicePageKey(key, epEfTrBtn1, epEfTrBtn2); }

bool TFrmLxxt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bodyBox && event->type() == QEvent::Resize) {
        positionPanel();
        return false;
    }
    // The window sees the keys of its controls first.
    if (event->type() == QEvent::KeyPress && isVisible() && !m_closed) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this)
            return formKeyDown(static_cast<QKeyEvent *>(event)->key());
    }
    return false;
}

void TFrmLxxt::closeStudy()
{
    ui::busyCursor();
    KZTimeCounter1->stop();
    Timer1->stop();
    static_cast<PracticeAnimation *>(m_animation)->stop();
    const QString elapsed = elapsedText();
    if (m_current > 0)
        JudgeAnswer(m_current, answerArea->page(), m_groups.start(), m_groups.last(), Silent);
    try {
        if (DM1)
            DM1->AddStudyTime(elapsed);
    } catch (const std::exception &e) {
        ui::normalCursor();
        ui::showError(QString::fromStdString(e.what()));
    }
    ui::normalCursor();
}

void TFrmLxxt::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        if (m_shown)
            closeStudy();
    }
    QDialog::done(result);
}
