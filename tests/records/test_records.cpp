// Study records: the countdown, the stored examination date, the plan row,
// the log totals and the score chart's figures.
#include "app/QuitCheck.h"
#include "records/StudyRecords.h"
#include "store/dm.h"
#include "support/TestBank.h"

#include <gtest/gtest.h>

using namespace records;

TEST(Countdown, ByDaysLeft)
{
    const QDate today(2026, 3, 10);
    struct Case {
        int days;
        const char *number;
        const char *caption;
        bool shown;
        CountdownView::Colour colour;
    } cases[] = {
        {30, "30", "距离考试还有", true, CountdownView::Green},
        {8, "8", "距离考试还有", true, CountdownView::Green},
        {7, "7", "距离考试还有", true, CountdownView::Red},
        {1, "1", "距离考试还有", true, CountdownView::Red},
        {0, "0", "祝考试成功！", false, CountdownView::Unchanged},
        {-1, "-1", "考试已结束！", false, CountdownView::Unchanged},
        {999, "999", "距离考试还有", true, CountdownView::Green},
        {1000, "999", "距离考试还有", true, CountdownView::Green},
        {1200, "999", "距离考试还有", true, CountdownView::Green},
    };
    for (const Case &c : cases) {
        const qint64 days = daysUntil(today, today.addDays(c.days));
        ASSERT_EQ(days, c.days);
        const CountdownView v = countdownView(days);
        EXPECT_EQ(v.number, QString::fromLatin1(c.number)) << c.days;
        EXPECT_EQ(v.caption, QString::fromUtf8(c.caption)) << c.days;
        EXPECT_EQ(v.numberShown, c.shown) << c.days;
        EXPECT_EQ(v.colour, c.colour) << c.days;
    }
    EXPECT_EQ(countdownColour(CountdownView::Green), QColor(100, 203, 37));
    EXPECT_EQ(countdownColour(CountdownView::Red), QColor(255, 0, 0));
    EXPECT_FALSE(countdownColour(CountdownView::Unchanged).isValid());
    // Across a year end and a leap day.
    EXPECT_EQ(daysUntil(QDate(2027, 12, 31), QDate(2028, 3, 1)), 61);
}

TEST(Countdown, StoredExamDate)
{
    const std::pair<const char *, QDate> cases[] = {
        {"2026-06-20", QDate(2026, 6, 20)}, {"2026-6-2", QDate(2026, 6, 2)}, {" 2026-06-20 ", QDate(2026, 6, 20)},
        {"", QDate()},           {"   ", QDate()},          {"abc", QDate()},
        {"2026-02-30", QDate()}, {"20/06/2026", QDate()},   {"2026-13-01", QDate()},
    };
    for (auto [text, date] : cases) {
        const std::optional<QDate> d = parseExamDate(QString::fromLatin1(text));
        EXPECT_EQ(d.has_value(), date.isValid()) << text;
        if (d && date.isValid()) {
            EXPECT_EQ(*d, date) << text;
        }
    }
}

TEST(StudyPlanRow, SavesIntoTheFirstRowOrAddsOne)
{
    TestBank b;
    // An empty table reads as defaults and gets a row on saving.
    StudyPlan p = readPlan(b.dm());
    EXPECT_EQ(p.planMark, 0);
    EXPECT_TRUE(p.examDate.isEmpty());
    savePlan(b.dm(), {1, 20, 45, QStringLiteral("2026-06-20")});
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_plan")).toInt(), 1);

    // The first row changes; exam settings in it and any later row stay.
    b.run(QStringLiteral("update tab_plan set LeastMark=84, ExamTime=150"));
    b.run(QStringLiteral("insert into tab_plan (PlanMark, PlanAmount, PlanTime, ExamDate) values (0, 7, 7, '2000-01-01')"));
    savePlan(b.dm(), {0, 30, 60, QStringLiteral("2026-07-01")});
    p = readPlan(b.dm());
    EXPECT_EQ(p.planMark, 0);
    EXPECT_EQ(p.planAmount, 30);
    EXPECT_EQ(p.planTime, 60);
    EXPECT_EQ(p.examDate, QStringLiteral("2026-07-01"));
    EXPECT_EQ(b.row(QStringLiteral("select LeastMark, ExamTime from tab_plan order by rowid limit 1")), QVariantList({84, 150}));
    EXPECT_EQ(b.value(QStringLiteral("select ExamDate from tab_plan order by rowid desc limit 1")).toString(), QStringLiteral("2000-01-01"));
}

TEST(StudyPlanRow, AFailedSaveLeavesTheRowAsItWas)
{
    TestBank b;
    savePlan(b.dm(), {0, 10, 20, QStringLiteral("2026-06-20")});
    // A trigger that refuses the change stands in for a failing disk.
    b.run(QStringLiteral("create trigger refuse before update on tab_plan begin select raise(abort, 'disk full'); end"));
    EXPECT_THROW(savePlan(b.dm(), {1, 99, 99, QStringLiteral("2027-01-01")}), store::DbError);
    EXPECT_FALSE(b.dm().inTransaction());
    EXPECT_EQ(b.row(QStringLiteral("select PlanMark, PlanAmount, PlanTime, ExamDate from tab_plan")),
              QVariantList({0, 10, 20, QStringLiteral("2026-06-20")}));
}

TEST(StudyPlanRow, QuitReadsWhatThePlanStores)
{
    struct Case {
        int mark, amount, minutes;
        int answersToday;        // -1: no log row today
        const char *timeToday;
        QuitCheck::Outcome outcome;
    } cases[] = {
        {1, 5, 60, 2, "1:00:59", QuitCheck::Done},       // 3659 s are 60 minutes
        {1, 5, 61, 200, "1:00:59", QuitCheck::NotDone},  // minutes count, not answers
        {1, 5, 30, 0, "00:45:10", QuitCheck::Exceeded},
        {0, 20, 0, -1, "", QuitCheck::NotDone},
        {0, 0, 99, -1, "", QuitCheck::Done},
        {0, 3, 0, 4, "00:00:10", QuitCheck::Exceeded},
    };
    for (const Case &c : cases) {
        TestBank b;
        savePlan(b.dm(), {c.mark, c.amount, c.minutes, QStringLiteral("2026-06-20")});
        if (c.answersToday >= 0)
            b.run(QStringLiteral("insert into tab_rz (A1, A2, D1) values ('2026-03-10', ?, ?)"), {c.answersToday, QString::fromLatin1(c.timeToday)});
        EXPECT_EQ(checkStudyPlan(b.dm()).outcome, c.outcome) << c.mark << " " << c.amount << " " << c.minutes;
    }
}

TEST(StudyLogTotals, FiguresOverAllDays)
{
    struct Case {
        const char *what;
        QList<std::pair<int, int>> days;   // A2, A3
        qint64 given, wrong;
        const char *score;
    } cases[] = {
        {"empty log", {}, 0, 0, "0"},
        {"one right", {{1, 0}}, 1, 0, "100.00"},
        {"seven of eight", {{5, 1}, {3, 0}}, 8, 1, "87.50"},
        {"one third", {{3, 2}}, 3, 2, "33.33"},
        {"two thirds rounds", {{3, 1}}, 3, 1, "66.67"},
        {"all wrong", {{4, 4}}, 4, 4, "0.00"},
        {"small share keeps its width", {{1000, 999}}, 1000, 999, "0.10"},
    };
    for (const Case &c : cases) {
        TestBank b;
        int day = 1;
        for (auto [given, wrong] : c.days)
            b.run(QStringLiteral("insert into tab_rz (A1, A2, A3) values (?, ?, ?)"),
                  {QStringLiteral("2026-03-%1").arg(day++, 2, 10, QLatin1Char('0')), given, wrong});
        const LogTotals t = readLogTotals(b.dm());
        EXPECT_EQ(t.given, c.given) << c.what;
        EXPECT_EQ(t.wrong, c.wrong) << c.what;
        EXPECT_EQ(t.score, QString::fromLatin1(c.score)) << c.what;
    }
    EXPECT_EQ(overallScore(0, 0), QStringLiteral("0"));
    EXPECT_EQ(overallScore(-3, 0), QStringLiteral("0"));
}

TEST(ScoreChartFigures, ProgressInWholePercent)
{
    struct Case {
        qint64 questions, done;
        std::optional<qint64> percent;
    } cases[] = {
        {40, 13, 32}, {50, 29, 58},   // floating point would give 57.999... and 57
        {3, 1, 33}, {3, 2, 66}, {7, 7, 100}, {10, 0, 0}, {0, 0, std::nullopt}, {0, 5, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(progressPercent(c.questions, c.done), c.percent) << c.done << "/" << c.questions;
}

TEST(ScoreChartFigures, SliceColoursReadAsBlueGreenRed)
{
    struct Case {
        int index;
        QColor colour;
    } cases[] = {
        {0, QColor(255, 0, 0)},              // 255
        {1, QColor(0x7f, 0x39, 0x01)},       // 80255 = 0x01397f
        {2, QColor(0xff, 0x71, 0x02)},       // 160255 = 0x0271ff
        {210, QColor(0xff, 0x59, 0x00)},     // 16800255 is past 0xffffff: the low three bytes, 0x0059ff
    };
    for (const Case &c : cases)
        EXPECT_EQ(sliceColour(c.index), c.colour) << c.index;
}

TEST(ScoreChartFigures, TipsNameTheChapterAndUprightTitlesStackTheCharacters)
{
    const ChapterFigures c{QStringLiteral("第一章"), 40, 13, 90, 12};
    struct Case {
        ChartKind kind;
        qint64 all;
        const char *tip;
    } cases[] = {
        {ChartKind::Frequency, 90, "第一章\n已做题次：90\n做错题次：12"},
        {ChartKind::Distribution, 90, "第一章\n习题：40 道（44.4%）"},
        {ChartKind::Distribution, 0, "第一章\n习题：40 道（0.0%）"},
        {ChartKind::Progress, 90, "第一章\n进度：32%（已做 13 / 40 道）"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(chartTip(k.kind, c, k.all), QString::fromUtf8(k.tip));
    EXPECT_EQ(chartTip(ChartKind::Progress, ChapterFigures{QStringLiteral("空"), 0, 0, 0, 0}, 0),
              QStringLiteral("空\n进度：0%（已做 0 / 0 道）"));
    const std::pair<const char *, const char *> titles[] = {
        {"题  次", "题\n次"}, {"进度(%)", "进\n度\n(%)"}, {"章    节", "章\n节"}, {"", ""}};
    for (auto [title, upright] : titles)
        EXPECT_EQ(uprightTitle(QString::fromUtf8(title)), QString::fromUtf8(upright)) << title;
}

TEST(ScoreChartFigures, ChapterRowsAndTotal)
{
    TestBank b;
    EXPECT_EQ(totalQuestions(b.dm()), 0);   // no chapter rows at all
    b.run(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3, C4, C7, D1, D2) values "
                         "(1, '01', '第一章', 40, 13, '0', 90, 12),"
                         "(2, '0101', '第一节', 20, 5, '1', 50, 3),"
                         "(3, '02', '第二章', 0, 0, '0', 0, 0),"
                         "(4, '03', '第三章', 50, 29, '0', 61, 20)"));
    const QVector<ChapterFigures> rows = readChapterFigures(b.dm());
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].name, QStringLiteral("第一章"));
    EXPECT_EQ(rows[0].answers, 90);
    EXPECT_EQ(rows[0].wrong, 12);
    EXPECT_EQ(rows[1].name, QStringLiteral("第二章"));
    EXPECT_EQ(rows[2].done, 29);
    EXPECT_EQ(totalQuestions(b.dm()), 90);
}
