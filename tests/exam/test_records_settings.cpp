// Paper records (list, figures, deletion) and the exam settings (checking
// and saving the minimum score and the time allowed).
#include "common/CommonRoutines.h"
#include "exam/ExamSettings.h"
#include "exam/PaperRecords.h"
#include "support/TestBank.h"

#include <gtest/gtest.h>

using namespace exam;

TEST(PaperRecords, FiguresOverScoredPapersOnly)
{
    struct Case {
        const char *what;
        QVariantList scores;   // A6 per paper (null: never marked)
        int total;
        RecordFigures figures;
    } cases[] = {
        {"empty", {}, 140, {0, 0, 0}},
        {"unscored only", {QVariant(), QVariant()}, 140, {2, 0, 0}},
        // pass mark of 140 is 84; the unscored paper is neither passed nor averaged
        {"mixed", {84.0, 83.9, QVariant(), 90.5}, 140, {4, 2, 86}},
        {"half to even down", {84.0, 85.0}, 140, {2, 2, 84}},
        {"half to even up", {85.0, 86.0}, 140, {2, 2, 86}},
        // pass mark: 3 x (99 div 5) = 57
        {"odd total", {57.0, 56.5}, 99, {2, 1, 57}},
    };
    for (const Case &c : cases) {
        TestBank b;
        int n = 0;
        for (const QVariant &s : c.scores) {
            ++n;
            b.run(QStringLiteral("insert into tab_cj (A1, A3, A3_1, A6) values (?, ?, ?, ?)"),
                  {QStringLiteral("tab_exam%1").arg(n), QStringLiteral("p%1").arg(n), n, s});
        }
        const RecordFigures f = recordFigures(b.dm(), c.total);
        EXPECT_EQ(f.exams, c.figures.exams) << c.what;
        EXPECT_EQ(f.passed, c.figures.passed) << c.what;
        EXPECT_EQ(f.average, c.figures.average) << c.what;
    }
    EXPECT_EQ(passMark(140), 84);
    EXPECT_EQ(passMark(4), 0);
    EXPECT_EQ(leastMarkNotice(60), QStringLiteral("[提示]：成绩少于 60 分的试卷，不被保留。"));
}

TEST(PaperRecords, ListsNewestFirstAndDeletes)
{
    TestBank b;
    b.run(QStringLiteral("insert into tab_cj (A1, A3, A3_1, A6, D2) values "
                         "('tab_exam1','one',1,88.5,'1:10:00'),('tab_exam3','three',3,NULL,NULL),('tab_exam2','two',2,60,'0:50:00')"));
    b.run(QStringLiteral("create table tab_exam1 (A1 TEXT)"));
    b.run(QStringLiteral("create table tab_exam2 (A1 TEXT)"));
    const QVector<PaperRecord> list = listPaperRecords(b.dm());
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].tableName, QStringLiteral("tab_exam3"));
    EXPECT_TRUE(list[0].score.isNull());
    EXPECT_EQ(list[1].title, QStringLiteral("two"));
    EXPECT_EQ(list[2].score.toDouble(), 88.5);
    EXPECT_EQ(list[2].timeUsed, QStringLiteral("1:10:00"));

    // With its table, and a record whose table is lost: both go.
    deletePaper(b.dm(), QStringLiteral("tab_exam2"));
    deletePaper(b.dm(), QStringLiteral("tab_exam3"));
    EXPECT_EQ(b.value(QStringLiteral("select group_concat(A1) from tab_cj")).toString(), QStringLiteral("tab_exam1"));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam2'")).toInt(), 0);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 1);
    // A name with a quote in it is a value, not SQL.
    EXPECT_NO_THROW(deletePaper(b.dm(), QStringLiteral("x' or '1'='1")));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 1);
}

TEST(ExamSettings, MinimumScoreCheckAgainstTheTotal)
{
    struct Case {
        const char *typed;
        int total;
        const char *shown;
        bool refused;
    } cases[] = {
        {"150", 140, "140", true}, {"141", 140, "140", true}, {"140", 140, "140", false},
        {"70", 140, "70", false},  {"", 140, "0", false},     {"0", 140, "0", false},
        {"1", 0, "0", true},
    };
    for (const Case &c : cases) {
        const LeastMarkCheck k = checkLeastMark(QLatin1String(c.typed), c.total);
        EXPECT_EQ(k.text, QLatin1String(c.shown)) << c.typed;
        EXPECT_EQ(k.refused, c.refused) << c.typed;
    }
    EXPECT_EQ(defaultLeastMark(140), 70);
    EXPECT_EQ(defaultLeastMark(141), 70);
    EXPECT_EQ(examMinutes(7200), 120);
    EXPECT_EQ(examMinutes(7259), 120);
    EXPECT_EQ(leastMarkRefusal(), QStringLiteral("最低分数不能超过总分数！"));
}

TEST(ExamSettings, SavesMinutesAsSecondsAndRefusesBadInput)
{
    struct Case {
        const char *mark;
        const char *minutes;
        bool saved;
        int leastMark;
        int examTime;
    } cases[] = {
        {"70", "90", true, 70, 5400},
        {"0", "0", true, 0, 0},
        {"60", "", false, 50, 7200},
        {"60", "abc", false, 50, 7200},
        {"", "90", false, 50, 7200},
    };
    for (const Case &c : cases) {
        TestBank b;
        b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime, PlanMark) values (50, 7200, 1)"));
        b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime, PlanMark) values (1, 1, 1)"));   // only the first row counts
        EXPECT_EQ(readExamSettings(b.dm()).examTime, 7200);
        EXPECT_EQ(saveExamSettings(b.dm(), QLatin1String(c.mark), QLatin1String(c.minutes)), c.saved) << c.mark << "/" << c.minutes;
        const ExamSettings s = readExamSettings(b.dm());
        EXPECT_EQ(s.leastMark, c.leastMark) << c.mark << "/" << c.minutes;
        EXPECT_EQ(s.examTime, c.examTime) << c.mark << "/" << c.minutes;
        EXPECT_EQ(b.value(QStringLiteral("select ExamTime from tab_plan where rowid=2")).toInt(), 1);
    }
    TestBank empty;
    EXPECT_FALSE(readExamSettings(empty.dm()).found);
    EXPECT_FALSE(saveExamSettings(empty.dm(), QStringLiteral("1"), QStringLiteral("1")));
}
