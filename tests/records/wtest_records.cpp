// The study-record windows: the log grid, the plan's view/edit/save cycle
// and the score chart's choices, printing and saving.
#include "app/QuitCheck.h"
#include "common/ShellState.h"
#include "practice/PracticeFixtures.h"
#include "records/Uchart.h"
#include "records/UchartParts.h"
#include "records/Uplan.h"
#include "records/Urz.h"
#include "store/SqlText.h"
#include "support/TestBank.h"

#include <QAbstractItemModel>
#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QApplication>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void click(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }

void sendClose(QWidget *w)
{
    QCloseEvent e;
    QApplication::sendEvent(w, &e);
}

// Whether the widget, as painted, shows the colour anywhere (the inside of
// a large bold figure is drawn in its exact colour).
bool paintsColour(QWidget *w, const QColor &c)
{
    const QImage img = w->grab().toImage();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y).rgb() == c.rgb())
                return true;
    return false;
}

struct ScreenModeScope {
    explicit ScreenModeScope(const char *mode) { shell().ScreenMode = QString::fromLatin1(mode); }
    ~ScreenModeScope() { shell() = ShellState(); }
};

} // namespace

// ---- study log ----

TEST(TFrmRz, NewestDayFirstWithItsSevenColumns)
{
    for (const char *mode : {"1024", "800"}) {
        TestBank b;
        ScreenModeScope screen(mode);
        b.run(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, D1, A4) values "
                             "('2026-03-08', 10, 2, 8, 1, '00:20:00', '80.00'),"
                             "('2026-03-10', 4, 1, 4, 1, '01:02:05', '75.00'),"
                             "('2025-12-31', 6, 0, 6, 0, '100:00:00', '100.00')"));
        TFrmRz w;
        w.show();
        QAbstractItemModel *m = w.DBGrid1->model();
        ASSERT_EQ(m->rowCount(), 3);
        ASSERT_EQ(m->columnCount(), 7);
        const char *headings[] = {"日期", "做过题数", "做错题数", "做过道次", "做错道次", "总用时", "平均成绩"};
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(headings[c]));
        const char *days[] = {"2026-03-10", "2026-03-08", "2025-12-31"};
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(m->index(r, 0).data().toString(), QString::fromLatin1(days[r]));
        // Row of 2026-03-10: B1, B2, A2, A3, D1, A4 in that order.
        const QVariantList first = {4, 1, 4, 1, QStringLiteral("01:02:05"), QStringLiteral("75.00")};
        for (int c = 1; c < 7; ++c)
            EXPECT_EQ(m->index(0, c).data().toString(), first.at(c - 1).toString()) << c;
        for (int c = 0; c < 7; ++c) {
            const int align = m->index(0, c).data(Qt::TextAlignmentRole).toInt();
            EXPECT_EQ(bool(align & Qt::AlignRight), c >= 1) << c;   // every figure, not the day
        }
        EXPECT_EQ(w.DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(w.countGiven->text(), QStringLiteral("20"));
        EXPECT_EQ(w.countWrong->text(), QStringLiteral("3"));
        EXPECT_EQ(w.overallScore->text(), QStringLiteral("85.00"));
        const bool small = QByteArray(mode) == "800";
        EXPECT_EQ(w.DBGrid1->columnWidth(0), small ? 198 : 252) << mode;
        EXPECT_EQ(w.size(), small ? QSize(760, 480) : QSize(934, 611)) << mode;
        if (!small) {
            EXPECT_EQ(w.DBGrid1->columnWidth(3), 80);
        }
        // The last column, "平均成绩", is in view without scrolling.
        QCoreApplication::processEvents();
        EXPECT_LE(w.DBGrid1->horizontalHeader()->sectionViewportPosition(6) + w.DBGrid1->columnWidth(6),
                  w.DBGrid1->viewport()->width())
            << mode;
    }
}

TEST(TFrmRz, EmptyLogSettingsAndWaysOut)
{
    TestBank b;
    ScreenModeScope screen("1024");
    PromptRecorder prompts;
    for (int way = 0; way < 2; ++way) {
        TFrmRz w;
        w.show();
        EXPECT_EQ(w.DBGrid1->model()->rowCount(), 0);
        EXPECT_EQ(w.countGiven->text(), QStringLiteral("0"));
        EXPECT_EQ(w.countWrong->text(), QStringLiteral("0"));
        EXPECT_EQ(w.overallScore->text(), QStringLiteral("0"));
        EXPECT_FALSE(w.SpeedButton2->isEnabled());
        shell().ConfigMode = 1;
        QStringList opened;
        practicefixtures::ModalHookGuard hook([&](QDialog *d) {
            opened << d->windowTitle() + QLatin1Char(':') + QString::number(shell().ConfigMode);
            return 0;
        });
        click(w.SpeedButton1);
        EXPECT_EQ(shell().ConfigMode, 0);
        EXPECT_EQ(opened, QStringList{QStringLiteral("系统设置:0")});
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
        if (way == 0)
            click(w.SpeedButton3);
        else
            sendClose(&w);
        EXPECT_FALSE(w.isVisible()) << way;
    }
    EXPECT_TRUE(prompts.prompts.isEmpty());
}

// ---- study plan ----

namespace {

void storePlan(TestBank &b, int mark, int amount, int minutes, const QString &date)
{
    b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime, PlanMark, PlanAmount, PlanTime, ExamDate) values (84, 150, ?, ?, ?, ?)"),
          {mark, amount, minutes, date});
}

QVariantList planRow(TestBank &b)
{
    return b.row(QStringLiteral("select PlanMark, PlanAmount, PlanTime, ExamDate from tab_plan"));
}

} // namespace

TEST(TFrmplan, CountdownOnOpening)
{
    struct Case {
        int days;
        const char *number;
        const char *caption;
        bool shown;
        QColor colour;   // invalid: not checked
    } cases[] = {
        {30, "30", "距离考试还有", true, QColor(100, 203, 37)},
        {7, "7", "距离考试还有", true, QColor(255, 0, 0)},
        {0, "0", "祝考试成功！", false, QColor()},
        {-1, "-1", "考试已结束！", false, QColor()},
        {1200, "999", "距离考试还有", true, QColor(100, 203, 37)},
    };
    for (const Case &c : cases) {
        TestBank b;
        PromptRecorder prompts;
        storePlan(b, 0, 20, 45, sqltext::dateText(b.clock().date.addDays(c.days)));
        TFrmplan w;
        w.show();
        EXPECT_EQ(w.windowTitle(), QStringLiteral("学习计划"));
        EXPECT_EQ(w.size(), QSize(460, 250));
        EXPECT_EQ(w.Label1->text(), QString::fromLatin1(c.number)) << c.days;
        EXPECT_EQ(w.epLabel1->text(), QString::fromUtf8(c.caption)) << c.days;
        EXPECT_EQ(w.Label1->isVisible(), c.shown) << c.days;
        EXPECT_EQ(w.epLabel2->isVisible(), c.shown) << c.days;
        if (c.colour.isValid()) {
            EXPECT_TRUE(paintsColour(w.Label1, c.colour)) << c.days;
            EXPECT_FALSE(paintsColour(w.Label1, c.colour == QColor(255, 0, 0) ? QColor(100, 203, 37) : QColor(255, 0, 0))) << c.days;
        }
        EXPECT_EQ(w.DateEdit1->date(), b.clock().date.addDays(c.days));
        EXPECT_FALSE(w.DateEdit1->isEnabled());
        EXPECT_FALSE(w.SeSkinRadioGroup1->isEnabled());
        EXPECT_EQ(w.SpeedButton1->text(), QStringLiteral("设定"));
        EXPECT_TRUE(prompts.prompts.isEmpty());
    }
}

TEST(TFrmplan, ViewEditSaveCycleFeedsTheQuitCheck)
{
    TestBank b;
    PromptRecorder prompts;
    storePlan(b, 0, 20, 45, QStringLiteral("2026-04-09"));   // 30 days ahead
    b.run(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, D1) values ('2026-03-10', 50, 3, 40, 2, '1:00:59')"));
    EXPECT_EQ(checkStudyPlan(b.dm()).outcome, QuitCheck::Exceeded);   // 50 answers against 20

    TFrmplan w;
    w.show();
    EXPECT_EQ(w.selectedItem(), 0);
    EXPECT_EQ(w.suiNumberEdit1->value(), 20);
    EXPECT_EQ(w.suiNumberEdit2->value(), 45);
    EXPECT_TRUE(w.suiNumberEdit1->isEnabled());
    EXPECT_FALSE(w.suiNumberEdit2->isEnabled());

    click(w.SpeedButton1);
    EXPECT_EQ(w.SpeedButton1->text(), QStringLiteral("保存"));
    EXPECT_TRUE(w.DateEdit1->isEnabled());
    EXPECT_TRUE(w.SeSkinRadioGroup1->isEnabled());
    click(w.item1);
    EXPECT_FALSE(w.suiNumberEdit1->isEnabled());
    EXPECT_TRUE(w.suiNumberEdit2->isEnabled());
    w.suiNumberEdit2->selectAll();
    QTest::keyClicks(w.suiNumberEdit2, QStringLiteral("60"));
    // The date is typed into the box, section by section.
    w.DateEdit1->setFocus();
    w.DateEdit1->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(w.DateEdit1, QStringLiteral("2026"));
    w.DateEdit1->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(w.DateEdit1, QStringLiteral("03"));
    w.DateEdit1->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(w.DateEdit1, QStringLiteral("15"));
    EXPECT_EQ(w.DateEdit1->date(), QDate(2026, 3, 15)) << w.DateEdit1->text().toStdString();
    click(w.SpeedButton1);

    EXPECT_EQ(w.SpeedButton1->text(), QStringLiteral("设定"));
    EXPECT_FALSE(w.DateEdit1->isEnabled());
    EXPECT_FALSE(w.SeSkinRadioGroup1->isEnabled());
    EXPECT_EQ(planRow(b), QVariantList({1, 20, 60, QStringLiteral("2026-03-15")}));
    EXPECT_EQ(b.row(QStringLiteral("select LeastMark, ExamTime from tab_plan")), QVariantList({84, 150}));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("5"));
    EXPECT_TRUE(paintsColour(w.Label1, QColor(255, 0, 0)));
    EXPECT_TRUE(prompts.prompts.isEmpty());

    // By minutes now: 3659 seconds of study are 60 minutes, the plan's 60.
    const QuitCheck q = checkStudyPlan(b.dm());
    EXPECT_EQ(q.outcome, QuitCheck::Done);
    EXPECT_EQ(q.done, 60);
    EXPECT_EQ(q.planned, 60);
}

TEST(TFrmplan, LeavingWhileEditingSavesNothing)
{
    for (int way = 0; way < 2; ++way) {
        TestBank b;
        storePlan(b, 0, 20, 45, QStringLiteral("2026-04-09"));
        const QVariantList before = planRow(b);
        TFrmplan w;
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);   // Escape has no meaning here
        EXPECT_TRUE(w.isVisible());
        click(w.SpeedButton1);
        click(w.item1);
        w.suiNumberEdit2->setValue(90);
        w.DateEdit1->setDate(QDate(2027, 1, 1));
        if (way == 0)
            click(w.SpeedButton2);
        else
            sendClose(&w);
        EXPECT_FALSE(w.isVisible()) << way;
        EXPECT_EQ(planRow(b), before) << way;
    }
}

TEST(TFrmplan, AStoredDateThatIsNoDateGoesToTheErrorDisplay)
{
    for (const char *stored : {"", "abc", "2026-02-30"}) {
        TestBank b;
        PromptRecorder prompts;
        storePlan(b, 1, 15, 25, QString::fromLatin1(stored));
        TFrmplan w;
        w.show();
        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(prompts.prompts.size(), 1) << stored;
        EXPECT_TRUE(prompts.lastText().contains(QString::fromLatin1(stored))) << stored;
        // The fields are filled; the countdown keeps its first look.
        EXPECT_EQ(w.suiNumberEdit1->value(), 15);
        EXPECT_EQ(w.suiNumberEdit2->value(), 25);
        EXPECT_EQ(w.selectedItem(), 1);
        EXPECT_EQ(w.Label1->text(), QString());
        EXPECT_EQ(w.epLabel1->text(), QStringLiteral("距离考试还有"));
        EXPECT_TRUE(w.epLabel2->isVisible());
    }
}

TEST(TFrmplan, NumberBoxesTakeThreeDigitsInTheGapsOfTheirItems)
{
    TestBank b;
    PromptRecorder prompts;
    storePlan(b, 0, 7, 0, QStringLiteral("2026-04-09"));
    TFrmplan w;
    w.show();
    // What is not a whole number of 0 to 999 is refused in words when saved:
    // the box shows its previous value again and nothing is stored.
    const std::pair<const char *, int> typed[] = {{"1234", -1}, {"-5", -1}, {"7x", -1}, {"12.5", -1}, {"2,5", -1}, {"999", 999}};
    for (auto [text, value] : typed) {
        if (w.SpeedButton1->text() != QStringLiteral("保存"))
            click(w.SpeedButton1);
        prompts.prompts.clear();
        w.suiNumberEdit1->setFocus();
        w.suiNumberEdit1->selectAll();
        QTest::keyClicks(w.suiNumberEdit1, QString::fromLatin1(text));
        click(w.SpeedButton1);
        const bool refused = value < 0;
        EXPECT_EQ(prompts.lastText(), refused ? QStringLiteral("请输入0到999之间的整数！") : QString()) << text;
        EXPECT_EQ(w.SpeedButton1->text(), refused ? QStringLiteral("保存") : QStringLiteral("设定")) << text;
        EXPECT_EQ(w.suiNumberEdit1->text(), refused ? QStringLiteral("7") : QString::number(value)) << text;
        EXPECT_EQ(planRow(b).at(1).toInt(), refused ? 7 : value) << text;
    }
    // Each box lies between "每天" and the unit of its item, on the item's row.
    for (auto [item, box] : {std::pair{w.item0, w.suiNumberEdit1}, std::pair{w.item1, w.suiNumberEdit2}}) {
        const QString text = item->text();
        const QFontMetrics fm(item->font());
        const int dayEnd = text.indexOf(QStringLiteral("每天")) + 2;
        const int unitStart = text.lastIndexOf(QLatin1Char(' ')) + 1;
        QStyleOptionButton opt;
        opt.initFrom(item);
        const int textLeft = item->mapTo(&w, QPoint(item->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, item).x(), 0)).x();
        EXPECT_GE(box->x(), textLeft + fm.horizontalAdvance(text.left(dayEnd))) << text.toStdString();
        EXPECT_LE(box->x() + box->width(), textLeft + fm.horizontalAdvance(text.left(unitStart))) << text.toStdString();
        const QRect row(item->mapTo(&w, QPoint(0, 0)), item->size());
        EXPECT_TRUE(row.contains(box->geometry().center()));
    }
}

// ---- score chart ----

namespace {

void addChartRows(TestBank &b)
{
    b.run(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3, C4, C7, D1, D2) values "
                         "(1, '01', '第一章', 40, 13, '0', 90, 12),"
                         "(2, '0101', '第一节', 20, 5, '1', 50, 3),"
                         "(3, '02', '第二章', 0, 0, '0', 7, 1),"
                         "(4, '03', '第三章', 50, 29, '0', 61, 20)"));
}

bool labelsShown(const Tfrmchart &w, QChartView *v)
{
    if (v == w.DBChart1)
        return w.frequencyMarks->isVisible();
    if (v == w.DBChart2)
        return !w.pieSeries->slices().isEmpty() && w.pieSeries->slices().first()->isLabelVisible();
    return w.progressMarks->isVisible();
}

} // namespace

TEST(Tfrmchart, ChartsCarryTheChapters)
{
    TestBank b;
    ScreenModeScope screen("1024");
    addChartRows(b);
    Tfrmchart w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("成绩统计图"));
    EXPECT_EQ(w.size(), QSize(934, 600));
    EXPECT_EQ(w.shownChart(), w.DBChart1);
    EXPECT_EQ(w.typeItems->checkedId(), 1);
    EXPECT_EQ(w.DBChart1->chart()->title(), QStringLiteral("频 度 统 计 图"));
    EXPECT_EQ(w.DBChart2->chart()->title(), QStringLiteral("习题分布统计图"));
    EXPECT_EQ(w.DBChart3->chart()->title(), QStringLiteral("进度统计图"));

    // Frequency: a bar pair for every chapter, the one without questions too.
    ASSERT_EQ(w.doneSet->count(), 3);
    EXPECT_EQ(w.doneSet->label(), QStringLiteral("已做题次"));
    EXPECT_EQ(w.wrongSet->label(), QStringLiteral("做错题次"));
    EXPECT_EQ(QList<qreal>({w.doneSet->at(0), w.doneSet->at(1), w.doneSet->at(2)}), QList<qreal>({90, 7, 61}));
    EXPECT_EQ(QList<qreal>({w.wrongSet->at(0), w.wrongSet->at(1), w.wrongSet->at(2)}), QList<qreal>({12, 1, 20}));
    EXPECT_EQ(w.frequencyMarks->values(), QVector<qint64>({12, 1, 20}));   // marks on 做错题次 only
    const auto axes = w.DBChart1->chart()->axes();
    ASSERT_EQ(axes.size(), 2);
    for (QAbstractAxis *a : axes) {
        const bool chapters = a->orientation() == Qt::Horizontal;
        EXPECT_EQ(a->titleText(), chapters ? QStringLiteral("章    节") : QStringLiteral("题  次"));
        EXPECT_EQ(a->isVisible(), !chapters);
    }

    // Distribution: slice i in the colour 255 + 80000 i, the empty chapter a 0 slice.
    const auto slices = w.pieSeries->slices();
    ASSERT_EQ(slices.size(), 3);
    EXPECT_EQ(w.pieSeries->name(), QStringLiteral("习题分布"));
    EXPECT_EQ(slices[1]->value(), 0.0);
    EXPECT_TRUE(slices[0]->label().startsWith(QStringLiteral("第一章")));
    EXPECT_TRUE(slices[0]->label().contains(QStringLiteral("44.4%")));
    const QColor colours[] = {QColor(255, 0, 0), QColor(0x7f, 0x39, 0x01), QColor(0xff, 0x71, 0x02)};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(slices[i]->brush().gradient() ? slices[i]->brush().gradient()->stops().at(1).second : slices[i]->color(), colours[i]) << i;

    // Progress: no bar for the chapter without questions; 13 of 40 is 32, 29 of 50 is 58.
    ASSERT_EQ(w.progressSet->count(), 2);
    EXPECT_EQ(w.progressSet->at(0), 32.0);
    EXPECT_EQ(w.progressSet->at(1), 58.0);
    EXPECT_EQ(w.progressBars->colours(), QVector<QColor>({colours[0], colours[2]}));
    EXPECT_EQ(w.progressMarks->values(), QVector<qint64>({32, 58}));

    // The total stays "0" until the distribution is chosen.
    EXPECT_EQ(w.totalValue->text(), QStringLiteral("0"));
    click(w.typeItems->button(0));
    EXPECT_EQ(w.shownChart(), w.DBChart2);
    EXPECT_EQ(w.totalValue->text(), QStringLiteral("90"));
    EXPECT_EQ(w.DBChart2->chart()->series(), QList<QAbstractSeries *>({w.pieSeries}));
    // The legend names every chapter beside its colour, each name whole,
    // inside the chart and clear of the others.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QStringList chapters({QStringLiteral("第一章"), QStringLiteral("第二章"), QStringLiteral("第三章")});
    EXPECT_EQ(w.pieLegend->names(), chapters);
    const QFontMetricsF fm(w.DBChart2->chart()->legend()->font());
    for (int i = 0; i < chapters.size(); ++i) {
        const QRectF r = w.pieLegend->entryRect(i);
        EXPECT_GT(r.width(), fm.horizontalAdvance(chapters[i])) << i;
        EXPECT_TRUE(w.DBChart2->chart()->rect().contains(r)) << i;
        EXPECT_FALSE(r.intersects(w.pieLegend->entryRect((i + 1) % 3))) << i;
        EXPECT_FALSE(r.intersects(w.DBChart2->chart()->plotArea())) << i;
    }
    EXPECT_FALSE(w.pieNote->isVisible());
    EXPECT_FALSE(w.frequencyNote->isVisible());
    click(w.typeItems->button(2));
    const auto progressAxes = w.DBChart3->chart()->axes();
    ASSERT_EQ(progressAxes.size(), 2);
    for (QAbstractAxis *a : progressAxes) {
        const bool chapters = a->orientation() == Qt::Horizontal;
        EXPECT_EQ(a->titleText(), chapters ? QStringLiteral("章   节") : QStringLiteral("进度(%)"));
        EXPECT_EQ(a->isVisible(), !chapters);
    }
    // Bar i stands on category i, as tall as its value.
    const QRectF bar0 = w.progressBars->barRect(0), bar1 = w.progressBars->barRect(1);
    EXPECT_LT(bar0.right(), bar1.left());
    EXPECT_NEAR(bar0.height() / bar1.height(), 32.0 / 58.0, 0.01);
}

TEST(Tfrmchart, NothingToDrawShowsTheScaleAndALine)
{
    struct Case {
        const char *rows;   // chapter rows of tab_kmmc, none when empty
        bool frequencyEmpty, pieEmpty, progressEmpty;
    } cases[] = {
        {"", true, true, true},
        {"(1, '01', '第一章', 40, 0, '0', 0, 0), (2, '02', '第二章', 0, 0, '0', 0, 0)", true, false, true},
        {"(1, '01', '第一章', 40, 2, '0', 3, 1)", false, false, false},
    };
    for (const Case &c : cases) {
        TestBank b;
        ScreenModeScope screen("1024");
        if (*c.rows)
            b.run(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3, C4, C7, D1, D2) values ") + QString::fromUtf8(c.rows));
        Tfrmchart w;
        w.show();
        const std::tuple<ChartNote *, bool, records::ChartKind> notes[] = {
            {w.frequencyNote, c.frequencyEmpty, records::ChartKind::Frequency},
            {w.pieNote, c.pieEmpty, records::ChartKind::Distribution},
            {w.progressNote, c.progressEmpty, records::ChartKind::Progress}};
        for (auto [note, empty, kind] : notes) {
            EXPECT_EQ(note->isVisible(), empty) << c.rows << int(kind);
            EXPECT_EQ(note->text(), empty ? records::emptyChartNote(kind) : QString()) << c.rows;
        }
        // The value axis keeps a scale, not a lone 0.
        click(w.typeItems->button(2));
        for (QChartView *v : {w.DBChart1, w.DBChart3})
            for (QAbstractAxis *a : v->chart()->axes(Qt::Vertical))
                EXPECT_GT(static_cast<QValueAxis *>(a)->max(), 0.0) << c.rows;
    }
}

// With hundreds of chapters each bar is narrower than a pixel; it must
// still show in its colour rather than vanish under the bar border.
TEST(Tfrmchart, BarsOfManyChaptersStayVisible)
{
    TestBank b;
    ScreenModeScope screen("1024");
    for (int i = 0; i < 300; ++i)
        b.run(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3, C4, C7, D1, D2) values (?, ?, ?, 40, 13, '0', ?, ?)"),
              {i, QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("第%1章").arg(i), 60, 20});
    Tfrmchart w;
    w.show();
    QApplication::processEvents();
    const QImage shot = w.DBChart1->grab().toImage();
    int green = 0, red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            green += c == QColor(0, 128, 0);
            red += c == QColor(255, 0, 0);
        }
    // The legend's two markers alone hold some tens of pixels.
    EXPECT_GT(green, 5000);
    EXPECT_GT(red, 2000);
}

TEST(Tfrmchart, StyleBoxesAndLegendActOnTheShownChartOnly)
{
    TestBank b;
    ScreenModeScope screen("1024");
    addChartRows(b);
    Tfrmchart w;
    w.show();
    struct Page {
        int type;           // item of the type group
        QChartView *view;
    } pages[] = {{1, w.DBChart1}, {0, w.DBChart2}, {2, w.DBChart3}};
    const Qt::Alignment positions[] = {Qt::AlignTop, Qt::AlignBottom, Qt::AlignLeft, Qt::AlignRight};
    for (const Page &p : pages) {
        click(w.typeItems->button(p.type));
        ASSERT_EQ(w.shownChart(), p.view);
        // Every choice is back at its start on a newly chosen chart.
        EXPECT_EQ(w.legendItems->checkedId(), 0);
        for (QCheckBox *c : {w.CheckBox1, w.CheckBox2, w.CheckBox3})
            EXPECT_TRUE(c->isChecked());
        EXPECT_TRUE(w.RadioGroup2->isEnabled());

        for (int pos = 3; pos >= 0; --pos) {
            click(w.legendItems->button(pos));
            EXPECT_EQ(p.view->chart()->legend()->alignment(), positions[pos]) << pos;
            if (p.view == w.DBChart2) {
                EXPECT_EQ(w.totalCaption->y(), pos == 1 ? 370 : 400) << pos;
            }
        }
        click(w.legendItems->button(1));
        click(w.CheckBox1);
        click(w.CheckBox2);
        click(w.CheckBox3);
        EXPECT_FALSE(w.raised(p.view));
        EXPECT_FALSE(p.view->chart()->isDropShadowEnabled());
        EXPECT_FALSE(p.view->chart()->legend()->isVisible());
        EXPECT_FALSE(w.RadioGroup2->isEnabled());
        EXPECT_FALSE(labelsShown(w, p.view));
        for (const Page &other : pages) {
            if (other.view == p.view)
                continue;
            // The other charts are as they were (reset when last left).
            EXPECT_TRUE(other.view->chart()->legend()->isVisible());
            EXPECT_EQ(other.view->chart()->legend()->alignment(), Qt::AlignTop);
            EXPECT_TRUE(w.raised(other.view));
            EXPECT_TRUE(labelsShown(w, other.view));
        }
        // Choosing the same chart again resets it: the changes act on it.
        click(w.typeItems->button(p.type));
        EXPECT_TRUE(p.view->chart()->legend()->isVisible());
        EXPECT_EQ(p.view->chart()->legend()->alignment(), Qt::AlignTop);
        EXPECT_TRUE(w.raised(p.view));
        EXPECT_TRUE(labelsShown(w, p.view));
        if (p.view == w.DBChart2) {
            EXPECT_EQ(w.totalCaption->y(), 400);
        }
    }
}

TEST(Tfrmchart, PrintingNoticesAndFailures)
{
    struct Case {
        bool printer, printed;
        const char *caption, *text;
        int picture;
        int printCalls;
    } cases[] = {
        {false, true, "提示", "没有发现打印机！", seams::DlgWarning, 0},
        {true, false, "错误", "打印时发生错误！", seams::DlgError, 1},
        {true, true, nullptr, nullptr, 0, 1},
    };
    for (const Case &c : cases) {
        TestBank b;
        addChartRows(b);
        PromptRecorder prompts;
        Tfrmchart w;
        w.show();
        int calls = 0;
        QChartView *printedView = nullptr;
        w.printerPresent = [&] { return c.printer; };
        w.printChart = [&](QChartView *v) {
            ++calls;
            printedView = v;
            return c.printed;
        };
        click(w.typeItems->button(2));
        click(w.epFocusButton1);
        EXPECT_EQ(calls, c.printCalls);
        if (calls) {
            EXPECT_EQ(printedView, w.DBChart3);
        }
        if (!c.text) {
            EXPECT_TRUE(prompts.prompts.isEmpty());
            continue;
        }
        ASSERT_EQ(prompts.prompts.size(), 1);
        EXPECT_EQ(prompts.prompts[0].kind, seams::Prompt::Kind::ShowDlg);
        EXPECT_EQ(prompts.prompts[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(prompts.prompts[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(prompts.prompts[0].dlgKind, 1);
        EXPECT_EQ(prompts.prompts[0].dlgPage, c.picture);
    }
}

TEST(Tfrmchart, SavingWritesABitmapOfTheShownChart)
{
    TestBank b;
    addChartRows(b);
    PromptRecorder prompts;
    Tfrmchart w;
    w.show();
    click(w.typeItems->button(0));
    const QString good = b.dir() + QStringLiteral("chart.bmp");
    const QString bad = b.dir() + QStringLiteral("no/such/folder/chart.bmp");
    struct Case {
        QString file;
        bool written;
    } cases[] = {{good, true}, {bad, false}, {QString(), false}};
    for (const Case &c : cases) {
        prompts.prompts.clear();
        w.askFileName = [&] { return c.file; };
        click(w.epFocusButton3);
        if (c.written) {
            QImage img;
            ASSERT_TRUE(img.load(c.file, "BMP"));
            EXPECT_EQ(img.size(), w.DBChart2->size());
            EXPECT_TRUE(prompts.prompts.isEmpty());
        } else if (!c.file.isEmpty()) {
            ASSERT_EQ(prompts.prompts.size(), 1);
            EXPECT_EQ(prompts.lastText(), QStringLiteral("无法保存文件！"));
            EXPECT_EQ(prompts.prompts[0].dlgPage, int(seams::DlgError));
        } else {
            EXPECT_TRUE(prompts.prompts.isEmpty());   // cancelled
        }
    }
    shell().ConfigMode = 1;
    QStringList opened;
    practicefixtures::ModalHookGuard hook([&](QDialog *d) {
        opened << d->windowTitle() + QLatin1Char(':') + QString::number(shell().ConfigMode);
        return 0;
    });
    click(w.epEfTrBtn1);
    EXPECT_EQ(shell().ConfigMode, 0);
    EXPECT_EQ(opened, QStringList{QStringLiteral("系统设置:0")});
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    sendClose(&w);
    EXPECT_FALSE(w.isVisible());
}
