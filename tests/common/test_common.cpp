// Common routines: answer pages, paper totals, removing papers.
#include "common/CommonRoutines.h"
#include "common/ShellState.h"
#include "support/TestBank.h"

#include <gtest/gtest.h>

TEST(TypeToPage, MapsEveryCode)
{
    const std::pair<int, int> cases[] = {{61, 0}, {62, 0}, {65, 1}, {71, 3}, {73, 5}, {74, 4}, {75, 4},
                                         {76, 4}, {77, 4}, {64, 4}, {72, 99}, {0, 99}, {63, 99}, {-1, 99}};
    for (auto [code, page] : cases)
        EXPECT_EQ(TypeToPage(code), page) << code;
}

TEST(PaperTotalScore, SumsRoundedProductsOfTheNamedTable)
{
    TestBank b;
    b.run(QStringLiteral("insert into tab_tx2 (A1,B1,B2,B3,time) values (61,'单选',10,1,1),(65,'多选',5,2,1),(71,'判断',0,20,1)"));
    b.run(QStringLiteral("insert into tab_tx3 (A1,B1,B2,B3,time) values (61,'单选',3,2.5,1),(65,'多选',3,1.5,1)"));
    b.dm().setTypeTable(1);
    EXPECT_EQ(PaperTotalScore(b.dm()), 0);   // empty table
    b.dm().setTypeTable(2);
    EXPECT_EQ(PaperTotalScore(b.dm()), 20);
    b.dm().setTypeTable(3);
    EXPECT_EQ(PaperTotalScore(b.dm()), 3 * 2 + 3 * 2);   // 2.5 -> 2 and 1.5 -> 2, halves to even
    b.dm().setTypeTable(9);
    EXPECT_THROW(PaperTotalScore(b.dm()), store::DbError);
}

TEST(DropExamTable, DropsOnlyPaperTablesAndTheirRecords)
{
    TestBank b;
    b.run(QStringLiteral("create table tab_exam3 (A1 TEXT)"));
    b.run(QStringLiteral("insert into tab_cj (A1, A3_1) values ('tab_exam3', 3), ('tab_exam4', 4), ('tab_answ', 9)"));
    struct Case {
        const char *name;
        bool tableGone;
        int recordsLeft;
    } cases[] = {
        {"tab_exam4", false, 3},   // record without a table: kept
        {"tab_answ", false, 3},    // not a paper table: nothing dropped
        {"TAB_EXAM3", true, 2},    // letter case ignored
        {"tab_exam3", true, 2},    // already gone: nothing more happens
    };
    for (const Case &c : cases) {
        DropExamTable(b.dm(), QString::fromLatin1(c.name));
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam3'")).toInt(), c.tableGone ? 0 : 1) << c.name;
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), c.recordsLeft) << c.name;
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_answ'")).toInt(), 1);
    }
}

TEST(ShellState, TypeTimesTruncateAndDefault)
{
    const std::pair<double, int> cases[] = {{0.5, 300}, {30, 18000}, {1.2345, 740}, {0.1, 60}, {2.5, 1500}};
    for (auto [minutes, ms] : cases)
        EXPECT_EQ(typeTimeInterval(minutes), ms) << minutes;
    ShellState s;
    s.TypeCodes = {61, 65};
    s.TypeTimes = {300, 900};
    EXPECT_EQ(s.typeTime(65), 900);
    EXPECT_EQ(s.typeTime(71), 600);
}
