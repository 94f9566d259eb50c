// Answer times per question type: which type table the settings edit, what
// a box stores back, and how the rows and the practice timer intervals are
// written.
#include "common/AnswerTimes.h"
#include "support/TestBank.h"

#include <gtest/gtest.h>

using namespace answertimes;

namespace {

void addType(TestBank &b, int subject, int code, const QString &name, double minutes)
{
    b.run(QStringLiteral("insert into tab_tx%1 (A1, B1, B2, B3, time) values (?, ?, 10, 1, ?)").arg(subject),
          {code, name, minutes});
}

double storedTime(TestBank &b, int subject, int code)
{
    return b.value(QStringLiteral("select time from tab_tx%1 where A1=?").arg(subject), {code}).toDouble();
}

} // namespace

TEST(AnswerTimes, EditsTheTypeTableOfTheCurrentSubject)
{
    TestBank b;
    addType(b, 1, 61, QStringLiteral(" 单项选择题 "), 1.0);
    addType(b, 1, 65, QStringLiteral("多项选择题"), 2.0);
    addType(b, 4, 71, QStringLiteral("判断题"), 0.5);
    struct Case {
        int curSubject;
        QList<int> codes;
    } cases[] = {
        {0, {61, 65}},   // no mock exam started in the run: subject 1
        {1, {61, 65}},
        {4, {71}},       // after a mock exam of subject 4
        {3, {}},         // a subject without types
    };
    for (const Case &c : cases) {
        b.dm().setTypeTable(subjectOf(c.curSubject));
        QList<int> codes;
        for (const TypeRow &r : loadRows(b.dm()))
            codes << r.code;
        EXPECT_EQ(codes, c.codes) << c.curSubject;
    }
    b.dm().setTypeTable(1);
    const QVector<TypeRow> rows = loadRows(b.dm());
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].name, QStringLiteral("单项选择题"));   // trimmed
    EXPECT_DOUBLE_EQ(rows[1].minutes, 2.0);
}

TEST(AnswerTimes, MinutesABoxStoresBack)
{
    struct Case {
        double stored, shown, expected;
    } cases[] = {
        {2.5, 2.5, 2.5},
        {1.2345, 1.2, 1.2345},   // left as shown: the finer value stays
        {1.2345, 1.5, 1.5},      // edited
        {1.25, 1.3, 1.25},       // shown rounded up, still untouched
        {0.0, 0.1, 0.1},         // outside the accepted range: the box's bound
        {45.0, 30.0, 30.0},
        {30.0, 29.9, 29.9},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(minutesToStore(c.stored, c.shown), c.expected) << c.stored << " " << c.shown;
}

TEST(AnswerTimes, EveryBoxIsWrittenAndBecomesATimerInterval)
{
    TestBank b;
    addType(b, 2, 61, QStringLiteral("单选"), 1.0);
    addType(b, 2, 65, QStringLiteral("多选"), 1.0);
    addType(b, 2, 71, QStringLiteral("判断"), 1.0);
    addType(b, 2, 73, QStringLiteral("综合"), 1.0);
    b.dm().setTypeTable(2);
    QVector<int> times{111, 222, 333, 444, 555};
    QVector<int> codes{1, 2, 3, 4, 5};
    QVector<std::optional<Entry>> entries{Entry{61, 2.5}, Entry{65, 0.1}, std::nullopt, Entry{73, 30.0}};
    EXPECT_EQ(saveRows(b.dm(), 4, entries, times, codes), QString());
    EXPECT_DOUBLE_EQ(storedTime(b, 2, 61), 2.5);
    EXPECT_DOUBLE_EQ(storedTime(b, 2, 65), 0.1);
    EXPECT_DOUBLE_EQ(storedTime(b, 2, 71), 1.0);   // no box of that number
    EXPECT_DOUBLE_EQ(storedTime(b, 2, 73), 30.0);
    // Resized to the rows made; an entry without a box keeps its value.
    EXPECT_EQ(times, (QVector<int>{1500, 60, 333, 18000}));
    EXPECT_EQ(codes, (QVector<int>{61, 65, 3, 73}));

    // A tag no row carries writes nothing; a longer list grows with zeros.
    QVector<int> t2{7}, c2{8};
    EXPECT_EQ(saveRows(b.dm(), 2, {Entry{99, 5.0}, Entry{71, 0.5}}, t2, c2), QString());
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_tx2 where time=5")).toInt(), 0);
    EXPECT_EQ(t2, (QVector<int>{7, 300}));
    EXPECT_EQ(c2, (QVector<int>{8, 71}));
}

TEST(AnswerTimes, AFailingWriteStopsTheRestAndKeepsTheRowsBefore)
{
    TestBank b;
    for (int code : {61, 65, 71})
        addType(b, 1, code, QStringLiteral("题型"), 1.0);
    b.run(QStringLiteral("create trigger refuse before update on tab_tx1 when new.A1=65 "
                         "begin select raise(abort, 'tab_tx1 is locked'); end"));
    b.dm().setTypeTable(1);
    QVector<int> times, codes;
    const QString error = saveRows(b.dm(), 3, {Entry{61, 2.0}, Entry{65, 3.0}, Entry{71, 4.0}}, times, codes);
    EXPECT_TRUE(error.contains(QStringLiteral("tab_tx1 is locked"))) << error.toStdString();
    EXPECT_DOUBLE_EQ(storedTime(b, 1, 61), 2.0);
    EXPECT_DOUBLE_EQ(storedTime(b, 1, 65), 1.0);
    EXPECT_DOUBLE_EQ(storedTime(b, 1, 71), 1.0);
    EXPECT_EQ(times, (QVector<int>{1200, 0, 0}));
    EXPECT_EQ(codes, (QVector<int>{61, 0, 0}));
}
