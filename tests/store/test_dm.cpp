// The data module: opening the bank and the counting routines.
#include "store/LongWork.h"
#include "store/Schema.h"
#include "store/SqlText.h"
#include "support/TestBank.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QVariantList rz(TestBank &b, const QDate &d)
{
    return b.row(QStringLiteral("select A2, A3, B1, B2, D1, A4 from tab_rz where A1=?"), {sqltext::dateText(d)});
}

} // namespace

TEST(TimeToSeconds, ParsesLikeTheLogExpects)
{
    struct Case {
        const char *text;
        qint64 seconds;
    } cases[] = {
        {"1:02:03", 3723}, {"0:00:00", 0}, {"", 0}, {"5:30", 18000}, {"1:2:3:4", 3720},
        {"23:59:50", 86390}, {"125:00:01", 450001}, {"01:02:034", 3723}, {"10", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TDM1::TimeToSeconds(QString::fromLatin1(c.text)), c.seconds) << c.text;
    for (const char *bad : {"x:00:00", "1:y:00", "1:00:zz", "1:00:"})
        EXPECT_THROW(TDM1::TimeToSeconds(QString::fromLatin1(bad)), std::invalid_argument) << bad;
}

TEST(DataModule, OpenRefusesWhatIsNotABank)
{
    enum Setup { Missing, NotDatabase, NewerVersion, NoTables };
    for (Setup s : {Missing, NotDatabase, NewerVersion, NoTables}) {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        const QString path = dir.path() + QStringLiteral("/data/VORDANBANK01.db");
        if (s == NotDatabase) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (s != Missing) {
            const QString conn = QStringLiteral("setup%1").arg(int(s));
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
                db.setDatabaseName(path);
                ASSERT_TRUE(db.open());
                QSqlQuery q(db);
                if (s == NewerVersion) {
                    store::createSchema(db);
                    q.exec(QStringLiteral("PRAGMA user_version = %1").arg(store::SchemaVersion + 1));
                } else {
                    q.exec(QStringLiteral("create table t(x)"));
                    q.exec(QStringLiteral("PRAGMA user_version = %1").arg(store::SchemaVersion));
                }
                db.close();
            }
            QSqlDatabase::removeDatabase(conn);
        }
        seams::setAppDir(dir.path());   // given without a final separator
        {
            TDM1 dm;
            EXPECT_TRUE(dm.AppDir.endsWith(QLatin1Char('/')));
            EXPECT_FALSE(dm.DbOpened) << int(s);
        }
        // A missing bank is never created by trying to open it.
        if (s == Missing) {
            EXPECT_FALSE(QFile::exists(path));
        }
        seams::setAppDir(QString());
    }
}

TEST(DataModule, OpensAGoodBankInWalMode)
{
    TestBank b;
    EXPECT_TRUE(b.dm().DbOpened);
    EXPECT_EQ(b.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
}

// A bank made with other index definitions (an earlier build's, or one
// missing) is brought to today's on opening; its rows are untouched.
TEST(DataModule, OpeningRefreshesTheIndexes)
{
    TestBank b;
    b.addChapter(QStringLiteral("100101"));
    b.addQuestion(QStringLiteral("q1"), QStringLiteral("A"), 61, QStringLiteral("100101"));
    const QString path = b.dm().bankPath();
    const QStringList before = store::schemaStatements();
    b.dm().close();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old-indexes"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char *sql : {"DROP INDEX ix_answ_a10_6", "CREATE INDEX ix_answ_a10_6 ON tab_answ(substr(A10,1,6))",
                                "DROP INDEX ix_answ_a10_4", "DROP INDEX ix_cj_a1"})
            ASSERT_TRUE(q.exec(QString::fromLatin1(sql))) << sql;
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old-indexes"));
    // The waiting window says what is going on and goes away after.
    QList<int> shares;
    QStringList stages;
    store::setWorkHook([&](const QString &stage, int percent) {
        stages << stage;
        shares << percent;
    });
    TDM1 dm;
    store::setWorkHook({});
    ASSERT_TRUE(dm.DbOpened) << dm.openError.toStdString();
    ASSERT_GE(shares.size(), 3);
    EXPECT_EQ(shares.first(), 0);
    EXPECT_EQ(shares.last(), -1);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end() - 1));
    EXPECT_EQ(stages.first(), QStringLiteral("正在整理题库，请等待..."));
    QStringList stored;
    QSqlQuery q = dm.exec(QStringLiteral("select sql from sqlite_master where sql is not null order by rowid"));
    while (q.next())
        stored << q.value(0).toString();
    q.finish();
    QStringList want = before;
    want.sort();
    stored.sort();
    EXPECT_EQ(stored, want);
    EXPECT_EQ(dm.scalar(QStringLiteral("select count(*) from tab_answ where A1='q1'")).toInt(), 1);
}

TEST(DataModule, SchemaHasEveryTableAndColumn)
{
    TestBank b;
    const QStringList expected[] = {
        {"tab_answ", "A1", "A2", "A2_1", "K3", "K12", "A10", "A13", "A14", "E1", "E2", "E2_1", "E3", "E4", "F1", "xx", "csbs", "ecount"},
        {"tab_exer", "A1", "A15", "jx"},
        {"tab_title", "A1", "A15"},
        {"tab_kmmc", "bh", "C1", "C1_1", "C2", "C3", "C4", "C6", "C7", "D1", "D2", "jx"},
        {"tab_fgmc", "id", "bh", "n", "q", "q1", "q2", "q4"},
        {"tab_rule", "id", "ftid", "sn", "n", "q", "q1", "q2", "q4"},
        {"tab_tx1", "A1", "B1", "B2", "B3", "time"},
        {"tab_tx5", "A1", "B1", "B2", "B3", "time"},
        {"tab_plan", "LeastMark", "ExamTime", "PlanMark", "PlanAmount", "PlanTime", "ExamDate"},
        {"tab_cj", "A1", "A3", "A3_1", "D1", "A6", "D2"},
        {"tab_rz", "A1", "A2", "A3", "B1", "B2", "D1", "A4"},
        {"tab_sj", "sjbs", "cpbs"},
    };
    for (const QStringList &t : expected) {
        for (int i = 1; i < t.size(); ++i) {
            // Field names are case-insensitive, as the program writes them both ways.
            const int n = b.value(QStringLiteral("select count(*) from pragma_table_info(?) where name = ? collate nocase"),
                                  {t.first(), t.at(i).toLower()}).toInt();
            EXPECT_EQ(n, 1) << t.first().toStdString() << "." << t.at(i).toStdString();
        }
    }
}

TEST(LogAnswerToday, SequencesOfAnswersOnOneDay)
{
    // Each step: firstToday, wrong, previouslyWrong; then the expected row.
    struct Step {
        int first, wrong, prev;
        int a2, a3, b1, b2;
    };
    const std::vector<std::vector<Step>> sequences = {
        // First answer of the day wrong, then the same question right.
        {{2, 2, 2, 1, 1, 1, 1}, {1, 1, 2, 2, 1, 1, 0}},
        // Right, then the same question wrong the same day, then right again.
        {{2, 1, 2, 1, 0, 1, 0}, {1, 2, 1, 2, 1, 1, 1}, {1, 1, 2, 3, 1, 1, 0}},
        // Two different questions, both first of the day, one wrong.
        {{2, 2, 1, 1, 1, 1, 1}, {2, 1, 1, 2, 1, 2, 1}},
        // Repeated wrong answers to one question: B2 is raised once.
        {{2, 2, 1, 1, 1, 1, 1}, {1, 2, 2, 2, 2, 1, 1}},
    };
    for (size_t s = 0; s < sequences.size(); ++s) {
        TestBank b;
        for (size_t i = 0; i < sequences[s].size(); ++i) {
            const Step &st = sequences[s][i];
            b.dm().LogAnswerToday(st.first, st.wrong, st.prev);
            const QVariantList r = rz(b, b.clock().date);
            ASSERT_EQ(r.size(), 6);
            EXPECT_EQ(r[0].toInt(), st.a2) << "sequence " << s << " step " << i;
            EXPECT_EQ(r[1].toInt(), st.a3) << "sequence " << s << " step " << i;
            EXPECT_EQ(r[2].toInt(), st.b1) << "sequence " << s << " step " << i;
            EXPECT_EQ(r[3].toInt(), st.b2) << "sequence " << s << " step " << i;
            // Counters are numbers, never NULL, and A4/D1 wait for AddStudyTime.
            EXPECT_FALSE(r[1].isNull());
            EXPECT_FALSE(r[3].isNull());
            EXPECT_TRUE(r[4].isNull());
        }
    }
}

TEST(LogAnswerToday, EachDayHasItsOwnRow)
{
    TestBank b;
    b.dm().LogAnswerToday(2, 2, 2);
    b.clock().date = b.clock().date.addDays(1);
    b.dm().LogAnswerToday(2, 1, 2);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_rz")).toInt(), 2);
    EXPECT_EQ(rz(b, b.clock().date)[1].toInt(), 0);
}

TEST(CountChapterAnswer, RaisesTheCodeAndEveryEnclosingChapter)
{
    struct Case {
        const char *code;
        int first, wrong;
        std::map<std::string, std::array<int, 3>> expected;  // code -> C4, D1, D2
    } cases[] = {
        {"12", 2, 2, {{"12", {1, 1, 1}}, {"1", {1, 1, 1}}, {"2", {0, 0, 0}}, {"123", {0, 0, 0}}}},
        {"1", 1, 1, {{"1", {0, 1, 0}}, {"12", {0, 0, 0}}}},
        {"010101", 2, 1, {{"010101", {1, 1, 0}}, {"0101", {1, 1, 0}}, {"01", {1, 1, 0}}, {"0", {1, 1, 0}}, {"010102", {0, 0, 0}}}},
        {"010102", 1, 2, {{"010102", {0, 1, 1}}, {"0101", {0, 1, 1}}, {"0", {0, 1, 1}}, {"010101", {0, 0, 0}}}},
    };
    for (const Case &c : cases) {
        TestBank b;
        for (const char *code : {"0", "01", "0101", "010101", "010102", "1", "12", "123", "2"})
            b.addChapter(QString::fromLatin1(code));
        b.dm().CountChapterAnswer(QString::fromLatin1(c.code), c.first, c.wrong);
        for (const auto &[code, v] : c.expected) {
            const QVariantList r = b.row(QStringLiteral("select C4, D1, D2 from tab_kmmc where C1=?"), {QString::fromStdString(code)});
            ASSERT_EQ(r.size(), 3) << code;
            EXPECT_EQ(r[0].toInt(), v[0]) << c.code << " -> " << code;
            EXPECT_EQ(r[1].toInt(), v[1]) << c.code << " -> " << code;
            EXPECT_EQ(r[2].toInt(), v[2]) << c.code << " -> " << code;
        }
        // The chapter table ends on the shortest code it touched.
        const QString shortest = QString::fromLatin1(c.code).left(1);
        EXPECT_EQ(b.dm().currentChapter(), shortest);
        EXPECT_EQ(b.dm().ChapterCaption, QStringLiteral("提示 ") + shortest);
    }
}

TEST(CountKeyPointAnswer, RaisesKeyPointsGroupsAndHeadingsOnce)
{
    TestBank b;
    for (const char *kp : {"01010101", "01010102", "01020301", "02010101"})
        b.addKeyPoint(QString::fromLatin1(kp));
    const QStringList ids{"01010101", "01010102", "01020301"};
    QStringList groups, heads;
    for (const QString &id : ids) {
        groups << id.left(6);
        heads << id.left(2);
    }
    // Right first answer, then a wrong repeated one.
    b.dm().CountKeyPointAnswer(sqltext::valueList(ids), sqltext::valueList(groups), sqltext::valueList(heads), 2, 1);
    b.dm().CountKeyPointAnswer(sqltext::valueList(ids), sqltext::valueList(groups), sqltext::valueList(heads), 1, 2);
    struct Expect {
        const char *table, *key, *id;
        int q1, q2, q4;
    } expected[] = {
        {"tab_rule", "ftid", "01010101", 1, 2, 1},
        {"tab_rule", "ftid", "01020301", 1, 2, 1},
        {"tab_rule", "ftid", "02010101", 0, 0, 0},
        {"tab_fgmc", "id", "010101", 1, 2, 1},   // named twice in the list, raised once
        {"tab_fgmc", "id", "010203", 1, 2, 1},
        {"tab_fgmc", "id", "01", 1, 2, 1},
        {"tab_fgmc", "id", "02", 0, 0, 0},
    };
    for (const Expect &e : expected) {
        const QVariantList r = b.row(QStringLiteral("select q1, q2, q4 from %1 where %2=?").arg(QLatin1String(e.table), QLatin1String(e.key)),
                                     {QString::fromLatin1(e.id)});
        ASSERT_EQ(r.size(), 3) << e.id;
        EXPECT_EQ(r[0].toInt(), e.q1) << e.id;
        EXPECT_EQ(r[1].toInt(), e.q2) << e.id;
        EXPECT_EQ(r[2].toInt(), e.q4) << e.id;
    }
}

TEST(CountKeyPointAnswer, QuotesInIdsStayInsideTheirLiterals)
{
    TestBank b;
    b.addKeyPoint(QStringLiteral("01'0101"));
    b.addKeyPoint(QStringLiteral("01010101"));
    const QStringList ids{QStringLiteral("01'0101")};
    b.dm().CountKeyPointAnswer(sqltext::valueList(ids), sqltext::valueList({ids[0].left(6)}), sqltext::valueList({QStringLiteral("01")}), 2, 2);
    EXPECT_EQ(b.value(QStringLiteral("select q2 from tab_rule where ftid=?"), {ids[0]}).toInt(), 1);
    EXPECT_EQ(b.value(QStringLiteral("select q2 from tab_rule where ftid='01010101'")).toInt(), 0);
}

TEST(AddStudyTime, AddsTimeAndRefreshesAccuracy)
{
    struct Case {
        const char *before;   // today's D1, nullptr: no row today
        const char *elapsed;
        const char *after;
    } cases[] = {
        {"23:59:50", "0:00:15", "24:00:05"},
        {nullptr, "0:10:00", nullptr},
        {"", "1:02:03", "01:02:03"},
        {"120:00:00", "5:00:00", "125:00:00"},
    };
    for (const Case &c : cases) {
        TestBank b;
        b.addChapter(QStringLiteral("01"));
        b.addChapter(QStringLiteral("0101"));
        b.addChapter(QStringLiteral("010101"));
        b.run(QStringLiteral("update tab_kmmc set D1=3, D2=1 where C1='0101'"));
        if (c.before) {
            b.dm().LogAnswerToday(2, 2, 2);
            b.dm().LogAnswerToday(2, 1, 2);
            b.dm().LogAnswerToday(2, 1, 2);
            b.run(QStringLiteral("update tab_rz set D1=?"), {QString::fromLatin1(c.before)});
        }
        // The chapter table stands on the last row; every row is refreshed anyway.
        b.dm().setChapterRow(QStringLiteral("010101"));
        b.dm().AddStudyTime(QString::fromLatin1(c.elapsed));
        const QVariantList r = rz(b, b.clock().date);
        if (c.after) {
            ASSERT_EQ(r.size(), 6);
            EXPECT_EQ(r[4].toString(), QString::fromLatin1(c.after));
            EXPECT_EQ(r[5].toString(), QStringLiteral("66.67"));
        } else {
            EXPECT_TRUE(r.isEmpty());
            EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_rz")).toInt(), 0);
        }
        EXPECT_EQ(b.value(QStringLiteral("select C6 from tab_kmmc where C1='0101'")).toString(), QStringLiteral("66.67"));
        EXPECT_EQ(b.value(QStringLiteral("select C6 from tab_kmmc where C1='01'")).toString(), QStringLiteral("0"));
    }
}

TEST(Transactions, AJudgedAnswerIsAllOrNothing)
{
    TestBank b;
    b.addChapter(QStringLiteral("0101"));
    {
        DbTransaction tx(b.dm());
        b.dm().LogAnswerToday(2, 2, 2);
        b.dm().CountChapterAnswer(QStringLiteral("0101"), 2, 2);
        // A failing step (a key-point table that is not there) ends the unit.
        EXPECT_THROW(b.dm().execText(QStringLiteral("update tab_nothere set q=1")), store::DbError);
    }
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_rz")).toInt(), 0);
    EXPECT_EQ(b.value(QStringLiteral("select D1 from tab_kmmc where C1='0101'")).toInt(), 0);
    {
        DbTransaction tx(b.dm());
        b.dm().LogAnswerToday(2, 2, 2);
        b.dm().CountChapterAnswer(QStringLiteral("0101"), 2, 2);
        tx.commit();
    }
    EXPECT_EQ(b.value(QStringLiteral("select D1 from tab_kmmc where C1='0101'")).toInt(), 1);
}

TEST(SqlText, QuotesAndLists)
{
    EXPECT_EQ(sqltext::quoted(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(sqltext::quoted(QString()), QStringLiteral("''"));
    EXPECT_EQ(sqltext::valueList({QStringLiteral("a"), QStringLiteral("b'c")}), QStringLiteral("('a','b''c')"));
    EXPECT_EQ(sqltext::valueList({}), QStringLiteral("('')"));
    EXPECT_EQ(sqltext::dateText(QDate(2005, 3, 7)), QStringLiteral("2005-03-07"));
}

TEST(SqlText, ValueListsReadBack)
{
    const QStringList cases[] = {{"a"}, {"01010101", "01'02", ""}, {"考点", "a,b", "x)y"}};
    for (const QStringList &values : cases) {
        QStringList back;
        ASSERT_TRUE(sqltext::parseValueList(sqltext::valueList(values), &back));
        EXPECT_EQ(back, values);
    }
    QStringList spaced;
    EXPECT_TRUE(sqltext::parseValueList(QStringLiteral(" ( 'a' , 'b' ) "), &spaced));
    EXPECT_EQ(spaced, QStringList({"a", "b"}));
    for (const char *bad : {"", "()", "('a'", "('a',)", "('a') or 1=1", "(a)", "('a''", "('a'),('b')"}) {
        QStringList out;
        EXPECT_FALSE(sqltext::parseValueList(QString::fromLatin1(bad), &out)) << bad;
    }
    EXPECT_EQ(sqltext::placeholders(3), QStringLiteral("(?,?,?)"));
}

TEST(CountKeyPointAnswer, AListInAnotherFormRunsAsItStands)
{
    TestBank b;
    b.addKeyPoint(QStringLiteral("01010101"));
    b.addKeyPoint(QStringLiteral("01010102"));
    // Double-quoted or unquoted lists are valid SQL too.
    b.dm().CountKeyPointAnswer(QStringLiteral("(\"01010101\", '01010102')"), QStringLiteral("( '010101' )"), QStringLiteral("(\"01\")"), 2, 2);
    EXPECT_EQ(b.value(QStringLiteral("select sum(q2) from tab_rule")).toInt(), 2);
    EXPECT_EQ(b.value(QStringLiteral("select q4 from tab_fgmc where id='010101'")).toInt(), 1);
    EXPECT_EQ(b.value(QStringLiteral("select q1 from tab_fgmc where id='01'")).toInt(), 1);
}

// Long work calls its hook while one long statement runs, and the data
// module takes no statement from whatever the hook sets off meanwhile.
TEST(DataModule, LongWorkReportsInsideAStatementAndKeepsTheBankToItself)
{
    TestBank b;
    int inside = 0, refused = 0, over = 0;
    store::setWorkHook([&](const QString &, int percent) {
        if (percent < 0)
            ++over;
        if (!store::LongWork::insideStatement())
            return;
        ++inside;
        try {
            b.dm().scalar(QStringLiteral("select count(*) from tab_answ"));
        } catch (const store::DbError &) {
            ++refused;
        }
    });
    {
        store::LongWork work(b.dm().handle(), QStringLiteral("stage"));
        // Millions of engine steps: many times the hook's interval.
        b.dm().runText(QStringLiteral("with recursive c(x) as (select 1 union all select x+1 from c where x<3000000) "
                                      "select count(*) from c"));
    }
    store::setWorkHook({});
    EXPECT_GT(inside, 0);
    EXPECT_EQ(refused, inside);
    EXPECT_EQ(over, 1);
    EXPECT_EQ(b.dm().scalar(QStringLiteral("select count(*) from tab_answ")).toInt(), 0);
}
