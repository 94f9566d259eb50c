// Paper generation: the draw's generator, numbering and naming, the
// composition of each subject, and the failures that leave nothing behind.
#include "ExamFixture.h"

#include "common/CommonRoutines.h"
#include "common/ShellState.h"
#include "exam/PaperGeneration.h"
#include "store/SqlText.h"

#include "DemoBank.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QSqlQuery>
#include <functional>
#include <gtest/gtest.h>

using namespace exam;

namespace {

int tableCount(TestBank &b, const QString &name)
{
    return b.value(QStringLiteral("select count(*) from sqlite_master where type='table' and name=?"), {name}).toInt();
}

} // namespace

TEST(DrawRandom, FollowsTheCongruentialFormula)
{
    // seed 0: seed1 = 0*134775813+1 = 1, and 1*100 >> 32 = 0;
    //         seed2 = 1*134775813+1 = 134775814, 134775814*100 = 13477581400,
    //         / 2^32 = 3.14 -> 3;
    //         seed3 = 134775814*134775813+1 mod 2^32 = 3698175007 -> 86.1 -> 86.
    // seed 36000000 (10:00:00.000 UTC): seed1 = 36000000*134775813+1 mod 2^32
    //         = 3497956609, *25 >> 32 = 20.
    struct Case {
        quint32 seed;
        quint32 m;
        std::vector<quint32> draws;
        quint32 lastSeed;
    } cases[] = {
        {0, 100, {0, 3, 86, 20}, 870078620u},
        {36000000, 25, {20, 0, 19, 1, 18}, 3103256589u},
        {12345, 10, {3, 2, 0, 5, 6, 3}, 1467157059u},
        {7, 1, {0, 0, 0}, 0},   // a draw below 1 is always 0
        {7, 0, {0, 0}, 0},      // below 0 gives 0, and never divides
    };
    for (const Case &c : cases) {
        DrawRandom r(c.seed);
        for (size_t i = 0; i < c.draws.size(); ++i)
            EXPECT_EQ(r.below(c.m), c.draws[i]) << c.seed << " draw " << i;
        if (c.lastSeed) {
            EXPECT_EQ(r.seed(), c.lastSeed) << c.seed;
        }
    }
}

TEST(DrawRows, DistinctRowsRedrawnOnRepeatsAndAllWhenShort)
{
    struct Case {
        quint32 seed;
        int n;
        int k;
        QVector<int> rows;
    } cases[] = {
        // draws 3,2,0,5,6 give rows 4,3,1,6,7; the sixth draw (3 -> row 4)
        // repeats and is drawn again: 4 -> row 5.
        {12345, 10, 6, {4, 3, 1, 6, 7, 5}},
        {12345, 10, 10, {4, 3, 1, 6, 7, 5, 10, 8, 9, 2}},   // n = k: every row
        {36000000, 3, 3, {3, 1, 2}},
        {36000000, 1, 1, {1}},                             // one candidate, one draw
        {36000000, 2, 5, {1, 2}},                          // n < k: all of them
        {36000000, 0, 4, {}},
        {36000000, 5, 0, {}},
    };
    for (const Case &c : cases) {
        DrawRandom r(c.seed);
        EXPECT_EQ(drawRows(r, c.n, c.k), c.rows) << c.seed << " " << c.n << "/" << c.k;
    }
    // Larger draws: distinct rows within 1..n, for many seeds.
    for (quint32 seed = 0; seed < 2000; seed += 37) {
        DrawRandom r(seed);
        const QVector<int> rows = drawRows(r, 40, 26);
        ASSERT_EQ(rows.size(), 26);
        EXPECT_EQ(QSet<int>(rows.begin(), rows.end()).size(), 26) << seed;
        for (int x : rows)
            EXPECT_TRUE(x >= 1 && x <= 40) << seed;
    }
}

TEST(DrawQuestions, ConditionListsTheDrawnIdsLastFirst)
{
    EXPECT_EQ(selectionCondition({}), QString());
    EXPECT_EQ(selectionCondition({QStringLiteral("X1")}), QStringLiteral(" a.A1='X1'"));
    EXPECT_EQ(selectionCondition({QStringLiteral("X1"), QStringLiteral("X2"), QStringLiteral("X3")}),
              QStringLiteral(" a.A1='X3' or a.A1='X2' or a.A1='X1'"));
    // A quote in an id stays inside its literal.
    EXPECT_EQ(selectionCondition({QStringLiteral("O'B")}), QStringLiteral(" a.A1='O''B'"));

    // The filter takes the type and the chapter prefix (letter case
    // ignored); rows are counted in the candidates' order.
    const QVector<Candidate> candidates = {
        {QStringLiteral("a"), QStringLiteral("010101"), 61}, {QStringLiteral("b"), QStringLiteral("050101"), 61},
        {QStringLiteral("c"), QStringLiteral("010102"), 65}, {QStringLiteral("d"), QStringLiteral("010201"), 61},
        {QStringLiteral("e"), QStringLiteral("0A0101"), 61}, {QStringLiteral("f"), QStringLiteral("0a0102"), 61},
    };
    // Seed 12345, n = 2: the draws below 2 are 0 (row 1, 'a'), then 0 and 0
    // again (repeats), then 1 (row 2, 'd').
    DrawRandom r1(12345);
    EXPECT_EQ(DrawQuestions(candidates, 61, 2, QStringLiteral("01"), r1), QStringLiteral(" a.A1='d' or a.A1='a'"));
    DrawRandom r2(1);
    EXPECT_EQ(DrawQuestions(candidates, 61, 5, QStringLiteral("0a"), r2), QStringLiteral(" a.A1='f' or a.A1='e'"));
    DrawRandom r3(1);
    EXPECT_EQ(DrawQuestions(candidates, 73, 5, QStringLiteral("01"), r3), QString());
    DrawRandom r4(1);
    EXPECT_EQ(DrawQuestions(candidates, 65, 1, QStringLiteral("05"), r4), QString());

    // The clock's milliseconds are the seed: two draws at the same moment
    // agree, and match the generator seeded by hand.
    TestBank b;
    b.clock().utcMs = 12345;
    QVector<Candidate> ten;
    for (int i = 1; i <= 10; ++i)
        ten.append({QStringLiteral("q%1").arg(i), QStringLiteral("010101"), 61});
    // rows 4,3,1,6 (see DrawRows) named last first
    EXPECT_EQ(DrawQuestions(ten, 61, 4, QStringLiteral("01")), QStringLiteral(" a.A1='q6' or a.A1='q1' or a.A1='q3' or a.A1='q4'"));
}

TEST(PaperNumbering, NamesAndNumbers)
{
    struct Case {
        bool hasRecords;
        const char *newest;
        int number;
        const char *expected;
    } cases[] = {
        {false, "", 1, "tab_exam1"},
        {true, "tab_exam5", 6, "tab_exam6"},
        {true, "  tab_exam4  ", 5, "tab_exam5"},   // trimmed
        {true, "TAB_EXAM9", 3, "tab_exam10"},      // the name's number, not A3_1
        {true, "tab_exam", 4, "tab_exam4"},        // no number: the paper number
        {true, "my paper", 8, "tab_exam8"},
        {true, "tab_exam3x", 8, "tab_exam8"},
        {true, "tab_exam-2", 8, "tab_exam8"},
        {true, "tab_exam99999999999", 8, "tab_exam8"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(nextPaperTableName(c.hasRecords, QString::fromLatin1(c.newest), c.number), QString::fromLatin1(c.expected))
            << c.newest;

    EXPECT_EQ(PaperTitle(QDate(2005, 3, 7), 1, 1), QStringLiteral("2005年03月07日Almerin[1]"));
    EXPECT_EQ(PaperTitle(QDate(2026, 12, 25), 4, 12), QStringLiteral("2026年12月25日Dunmire[12]"));
}

TEST(PaperNumbering, FollowsTheRecordsThroughDeletions)
{
    TestBank b;
    examfixture::fillSubject(b, 5);
    auto next = [&] { return nextPaperNumbering(b.dm()); };
    EXPECT_EQ(next().number, 1);
    EXPECT_EQ(next().tableName, QStringLiteral("tab_exam1"));

    for (int i = 1; i <= 5; ++i) {
        const PaperState p = generatePaper(b.dm(), 5);
        EXPECT_EQ(p.tableName, QStringLiteral("tab_exam%1").arg(i));
        EXPECT_TRUE(p.title.endsWith(QStringLiteral("[%1]").arg(i))) << p.title.toStdString();
    }
    // Deleting the newest paper gives its number and name out again.
    DropExamTable(b.dm(), QStringLiteral("tab_exam5"));
    EXPECT_EQ(next().number, 5);
    EXPECT_EQ(next().tableName, QStringLiteral("tab_exam5"));
    EXPECT_EQ(generatePaper(b.dm(), 5).tableName, QStringLiteral("tab_exam5"));
    // Deleting one in the middle changes nothing for the next.
    DropExamTable(b.dm(), QStringLiteral("tab_exam3"));
    EXPECT_EQ(next().number, 6);
    EXPECT_EQ(next().tableName, QStringLiteral("tab_exam6"));
    // A newest record whose name has no number: the new number names it.
    b.run(QStringLiteral("insert into tab_cj (A1, A3_1) values ('imported', 9)"));
    EXPECT_EQ(next().number, 10);
    EXPECT_EQ(next().tableName, QStringLiteral("tab_exam10"));
}

TEST(GeneratePaper, ComposesEachSubjectByItsTable)
{
    struct Case {
        int subject;
        int questions;
        QMap<int, int> perType;
    } cases[] = {
        {1, 110, {{61, 40}, {65, 15}, {71, 40}, {73, 15}}},
        {2, 67, {{61, 35}, {65, 15}, {71, 15}, {74, 2}}},
        {3, 67, {{61, 35}, {65, 15}, {71, 15}, {74, 2}}},
        {4, 15, {{62, 10}, {75, 3}, {76, 1}, {77, 1}}},
        {5, 6, {{64, 6}}},
    };
    for (const Case &c : cases) {
        TestBank b(QDate(2026, 3, 7));
        EXPECT_EQ(examfixture::fillSubject(b, c.subject), c.questions);
        // Questions of another subject and voided ones are never drawn.
        b.addChapter(QStringLiteral("090101"));
        b.addQuestion(QStringLiteral("OTHER0000001"), QStringLiteral("A"), 61, QStringLiteral("090101"));
        b.run(QStringLiteral("update tab_answ set E2_1='B', E2='B' "));   // practice state in the bank
        shell().CurSubject = 0;
        const PaperState p = generatePaper(b.dm(), c.subject);
        EXPECT_EQ(shell().CurSubject, c.subject);
        EXPECT_EQ(b.dm().typeTable(), QStringLiteral("tab_tx%1").arg(c.subject));
        EXPECT_EQ(p.mode, QStringLiteral("new"));
        EXPECT_EQ(p.title, QStringLiteral("2026年03月07日") + editionTitle(c.subject) + QStringLiteral("[1]"));
        EXPECT_EQ(b.row(QStringLiteral("select A1, A3, A3_1, D1, A6 is null and D2 is null from tab_cj")),
                  (QVariantList{QStringLiteral("tab_exam1"), p.title, 1, QStringLiteral("2026-03-07"), 1}));

        const QVector<PaperQuestion> rows = LoadPaper(b.dm(), p);
        EXPECT_EQ(rows.size(), c.questions) << c.subject;
        QMap<int, int> perType;
        QSet<QString> ids;
        for (int i = 0; i < rows.size(); ++i) {
            perType[rows[i].a13] += 1;
            ids.insert(rows[i].a1);
            EXPECT_TRUE(rows[i].e2_1.isEmpty());   // the paper starts unanswered
            EXPECT_EQ(rows[i].e2, QStringLiteral("B"));   // the bank's state is copied
            if (i > 0) {   // ordered by type, then id
                EXPECT_TRUE(rows[i - 1].a13 < rows[i].a13 || (rows[i - 1].a13 == rows[i].a13 && rows[i - 1].a1 < rows[i].a1));
            }
        }
        EXPECT_EQ(perType, c.perType) << c.subject;
        EXPECT_EQ(ids.size(), c.questions);
        EXPECT_FALSE(ids.contains(QStringLiteral("OTHER0000001")));
        // Each line of the composition drew from its own chapters.
        for (const DrawGroup &g : paperComposition(c.subject))
            EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exam1 where A13=? and substr(A10,1,2)=?"),
                              {g.typeCode, g.prefix}).toInt(), g.count)
                << c.subject << " " << g.typeCode << " " << g.prefix.toStdString();
    }
}

TEST(GeneratePaper, SkipsTypesWithoutQuestionsInThePaperAndVoidedQuestions)
{
    TestBank b;
    examfixture::fillSubject(b, 2, 0);   // exactly k candidates: all taken
    b.run(QStringLiteral("update tab_tx2 set B2=0 where A1=65"));
    // Voided questions and a NULL status never take part; user questions do.
    b.run(QStringLiteral("update tab_answ set F1=1 where A1 in ('026100000000','026100000001')"));
    b.run(QStringLiteral("update tab_answ set F1=NULL where A1='026100000002'"));
    b.run(QStringLiteral("update tab_answ set F1=2 where A1='026100000003'"));
    const PaperState p = generatePaper(b.dm(), 2);
    const QVector<PaperQuestion> rows = LoadPaper(b.dm(), p);
    QMap<int, int> perType;
    QSet<QString> ids;
    for (const PaperQuestion &r : rows) {
        perType[r.a13] += 1;
        ids.insert(r.a1);
    }
    // 61 has 35 questions of which 3 are out: the 32 left are all taken.
    EXPECT_EQ(perType, (QMap<int, int>{{61, 32}, {71, 15}, {74, 2}}));
    for (const char *out : {"026100000000", "026100000001", "026100000002"})
        EXPECT_FALSE(ids.contains(QLatin1String(out))) << out;
    EXPECT_TRUE(ids.contains(QStringLiteral("026100000003")));
}

TEST(GeneratePaper, CopiesKeysStateAndExplanation)
{
    TestBank b;
    examfixture::fillSubject(b, 5, 0);
    const QString id = QStringLiteral("056400000002");
    b.run(QStringLiteral("update tab_answ set A14='note', E1='2026-03-01', E2='1', E3=4, E4=-2, csbs='Y', K3='0101010001' where A1=?"), {id});
    b.run(QStringLiteral("update tab_exer set jx=? where A1=?"), {QByteArray("{\\rtf1 why}"), id});
    const QVector<PaperQuestion> rows = LoadPaper(b.dm(), generatePaper(b.dm(), 5));
    ASSERT_EQ(rows.size(), 6);
    const PaperQuestion &r = rows[2];
    EXPECT_EQ(r.a1, id);
    EXPECT_EQ(r.a2, QStringLiteral("A"));
    EXPECT_EQ(r.a2_1, 4);
    EXPECT_EQ(r.a10, QStringLiteral("050101"));
    EXPECT_EQ(r.a14, QStringLiteral("note"));
    EXPECT_EQ(r.e1, QStringLiteral("2026-03-01"));
    EXPECT_EQ(r.e2, QStringLiteral("1"));
    EXPECT_EQ(r.e3, 4);
    EXPECT_EQ(r.e4, -2);
    EXPECT_EQ(r.csbs, QStringLiteral("Y"));
    EXPECT_TRUE(r.hasJx);
    EXPECT_EQ(r.jx, QByteArray("{\\rtf1 why}"));
    EXPECT_TRUE(r.hasKeyPoints());
    EXPECT_EQ(r.keyPoints(), QStringList{QStringLiteral("0101010001")});
    EXPECT_FALSE(rows[0].hasJx);
    EXPECT_FALSE(rows[0].hasKeyPoints());
}

TEST(GeneratePaper, ReplacesALeftoverTableOfTheNewName)
{
    TestBank b;
    examfixture::fillSubject(b, 5);
    // tab_exam2 lies about from an earlier run, its record numbered 0.
    b.run(QStringLiteral("create table tab_exam2 (A1 TEXT)"));
    b.run(QStringLiteral("insert into tab_exam2 values ('stale')"));
    b.run(QStringLiteral("insert into tab_cj (A1, A3_1) values ('tab_exam1', 1), ('tab_exam2', 0)"));
    const PaperState p = generatePaper(b.dm(), 5);
    EXPECT_EQ(p.tableName, QStringLiteral("tab_exam2"));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exam2 where A1='stale'")).toInt(), 0);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exam2")).toInt(), 6);
    EXPECT_EQ(b.value(QStringLiteral("select group_concat(A3_1) from tab_cj where A1='tab_exam2'")).toString(), QStringLiteral("2"));
}

TEST(GeneratePaper, FailuresLeaveNeitherRecordNorTable)
{
    struct Case {
        const char *what;
        std::function<void(TestBank &)> setup;
        PaperFailure failure;
        const char *message;
    } cases[] = {
        {"no candidate", [](TestBank &b) { b.run(QStringLiteral("insert into tab_tx3 (A1,B1,B2,B3) values (61,'x',35,1)")); },
         PaperFailure::NoQuestions, "没有发现题目！"},
        {"all voided",
         [](TestBank &b) {
             examfixture::fillSubject(b, 3);
             b.run(QStringLiteral("update tab_answ set F1=1"));
         },
         PaperFailure::NoQuestions, "没有发现题目！"},
        {"every type has B2 0",
         [](TestBank &b) {
             examfixture::fillSubject(b, 3);
             b.run(QStringLiteral("update tab_tx3 set B2=0"));
         },
         PaperFailure::Open, "无法打开试卷！"},
        {"new name is taken by a view",
         [](TestBank &b) {
             examfixture::fillSubject(b, 3);
             b.run(QStringLiteral("create view tab_exam1 as select 1"));
         },
         PaperFailure::CreateTable, "建立数据表时发生错误！"},
    };
    for (const Case &c : cases) {
        TestBank b;
        c.setup(b);
        try {
            generatePaper(b.dm(), 3);
            ADD_FAILURE() << c.what << ": no failure";
        } catch (const PaperError &e) {
            EXPECT_EQ(e.failure(), c.failure) << c.what;
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message)) << c.what;
        }
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0) << c.what;
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from sqlite_master where type='table' and name like 'tab_exam%'")).toInt(), 0) << c.what;
        EXPECT_FALSE(b.dm().inTransaction()) << c.what;
    }
}

TEST(LoadPaper, OpensOldPapersAndRefusesWhatIsNoPaper)
{
    TestBank b;
    examfixture::fillSubject(b, 5);
    PaperState p = generatePaper(b.dm(), 5);
    b.run(QStringLiteral("update tab_exam1 set E2_1='a'"));
    // An old paper keeps its answers; a new one starts empty.
    PaperState old = p;
    old.mode = QStringLiteral("old");
    std::vector<QString> stages;
    for (const PaperQuestion &r : LoadPaper(b.dm(), old, [&](const QString &s) { stages.push_back(s); }))
        EXPECT_EQ(r.e2_1, QStringLiteral("a"));
    for (const PaperQuestion &r : LoadPaper(b.dm(), p, [&](const QString &s) { stages.push_back(s); }))
        EXPECT_EQ(r.e2_1, QString());
    EXPECT_EQ(stages, (std::vector<QString>{QStringLiteral("正在提取试卷..."), QStringLiteral("正在出卷...")}));

    for (const char *name : {"tab_exam7", "tab_answ", "tab_exam1; drop table tab_answ"}) {
        old.tableName = QLatin1String(name);
        try {
            LoadPaper(b.dm(), old);
            ADD_FAILURE() << name;
        } catch (const PaperError &e) {
            EXPECT_EQ(e.failure(), PaperFailure::Open) << name;
        }
    }
    b.run(QStringLiteral("delete from tab_exam1"));
    old.tableName = QStringLiteral("tab_exam1");
    EXPECT_THROW(LoadPaper(b.dm(), old), PaperError);
    EXPECT_EQ(tableCount(b, QStringLiteral("tab_answ")), 1);
}

TEST(PaperTable, HasTheColumnsOfTheStatementAndIgnoresCaseInText)
{
    TestBank b;
    b.run(paperTableStatement(QStringLiteral("tab_exam4")));
    EXPECT_NO_THROW(SetAllowZeroLength(b.dm(), QStringLiteral("tab_exam4")));
    QStringList cols;
    QSqlQuery q = b.dm().execText(QStringLiteral("PRAGMA table_info(tab_exam4)"));
    while (q.next())
        cols << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
    q.finish();
    EXPECT_EQ(cols.join(QLatin1Char(',')),
              QStringLiteral("A1 TEXT,A2 TEXT,A2_1 INTEGER,K3 TEXT,K4 TEXT,K5 TEXT,K6 TEXT,K7 TEXT,K8 TEXT,K9 TEXT,K10 TEXT,"
                             "K11 TEXT,K12 TEXT,A10 TEXT,A13 INTEGER,A14 TEXT,E1 TEXT,E2 TEXT,E2_1 TEXT,E3 INTEGER,"
                             "E4 INTEGER,jx BLOB,csbs TEXT,F1 INTEGER"));
    b.run(QStringLiteral("insert into tab_exam4 (A1, A2, E2_1, csbs) values ('x', 'AC', 'ac', '')"));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exam4 where A2 = E2_1")).toInt(), 1);
    // The primary key ignores case too, as the bank's ids do.
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exam4 where A1='X'")).toInt(), 1);

    b.run(QStringLiteral("create table tab_exam5 (A1 TEXT, A2 TEXT, A14 TEXT, E2 TEXT, E2_1 TEXT)"));
    EXPECT_THROW(SetAllowZeroLength(b.dm(), QStringLiteral("tab_exam5")), store::DbError);   // csbs missing
}

TEST(GeneratePaper, DemoBankGivesEverySubjectItsWholePaper)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("data")));
    demobank::generate(dir.path() + QStringLiteral("/data/VORDANBANK01.db"));
    seams::FixedClock clock;
    clock.date = QDate(2026, 3, 10);
    clock.utcMs = 36000000;
    seams::setClock(&clock);
    seams::setAppDir(dir.path());
    {
        TDM1 dm;
        ASSERT_TRUE(dm.DbOpened) << dm.openError.toStdString();
        struct Case {
            int subject;
            int questions;
        } cases[] = {{1, 110}, {2, 67}, {3, 67}, {4, 15}, {5, 6}};
        for (const Case &c : cases) {
            clock.utcMs += 1234;   // another seed for each paper
            const PaperState p = generatePaper(dm, c.subject);
            const QVector<PaperQuestion> rows = LoadPaper(dm, p);
            EXPECT_EQ(rows.size(), c.questions) << c.subject;
            QMap<int, int> perType;
            for (const PaperQuestion &r : rows)
                perType[r.a13] += 1;
            QMap<int, int> wanted;
            for (const DrawGroup &g : paperComposition(c.subject))
                wanted[g.typeCode] += g.count;
            EXPECT_EQ(perType, wanted) << c.subject;
            DropExamTable(dm, p.tableName);
        }
        // A type with B2 = 0 takes no part.
        QSqlQuery q = dm.execText(QStringLiteral("update tab_tx1 set B2=0 where A1=65"));
        q.finish();
        const QVector<PaperQuestion> rows = LoadPaper(dm, generatePaper(dm, 1));
        EXPECT_EQ(rows.size(), 95);
        for (const PaperQuestion &r : rows)
            EXPECT_NE(r.a13, 65);
    }
    seams::setClock(nullptr);
    seams::setAppDir(QString());
}
