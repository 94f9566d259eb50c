// The key-point directory's rules: counter cells, search, the threshold,
// entry texts and notes, the key filter, and the practice selection of a
// key point run on a small bank.
#include "keypoints/KeyPointData.h"
#include "keypoints/KeyPointRules.h"
#include "practice/PracticeRun.h"
#include "support/TestBank.h"
#include "DemoBank.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace keypoints;

TEST(KeyPointRules, CounterCellsAreNineCharactersWide)
{
    const struct {
        const char *value, *shown;
    } cases[] = {
        {"0", "        0"},
        {"", "         "},
        {"12345678", " 12345678"},
        {"123456789", "123456789"},     // exactly fills the field
        {"1234567890", "1234567890"},   // longer: unpadded
    };
    for (const auto &c : cases)
        EXPECT_EQ(paddedCounter(QString::fromLatin1(c.value)), QString::fromLatin1(c.shown)) << c.value;
}

TEST(KeyPointRules, ThresholdIsQuestionsPerKeyPointAtLeastOne)
{
    const struct {
        const char *cell;
        std::optional<qint64> keyPoints;
        int threshold;
    } cases[] = {
        {"       10", 4, 2},   // 10 div 4, padded cell
        {"9", 4, 2},
        {"3", 5, 1},          // fewer questions than key points
        {"0", 3, 1},
        {"-6", 2, 1},
        {"10", 0, 1},         // no key points
        {"", 4, 1},           // empty cell
        {"  1a", 4, 1},       // not a number
        {"10", std::nullopt, 1},   // the count failed
        {"100", 7, 14},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keyPointThreshold(QString::fromLatin1(c.cell), c.keyPoints), c.threshold) << c.cell;
}

TEST(KeyPointRules, SearchSelectsTheFirstMatchingGroup)
{
    const QStringList names{QStringLiteral("第一组 合同的订立"), QStringLiteral("第二组 合同的效力"),
                            QStringLiteral("第三组 Contract law"), QStringLiteral("第四组 合同的履行")};
    const struct {
        const char *search;
        int row;
    } cases[] = {
        {"", -1},
        {"   ", -1},          // blanks only select nothing
        {"合同", 0},          // several match: the first in order
        {"  效力 ", 1},       // surrounding blanks removed
        {"履行", 3},
        {"contract", -1},     // case-sensitive
        {"Contract", 2},
        {"担保", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(findGroupRow(names, QString::fromUtf8(c.search)), c.row) << c.search;
}

TEST(KeyPointRules, EntriesTitlesAndNotes)
{
    const struct {
        const char *title;
        qint64 q;
        const char *entry, *entryTitle;
        bool canPractise;
    } cases[] = {
        {"要约与承诺   ", 0, "要约与承诺", "要约与承诺", false},
        {"要约与承诺   ", 3, "要约与承诺(3)", "要约与承诺", true},
        {"代理(一般规定)", 2, "代理(一般规定)(2)", "代理", true},
        {"代理(一般规定)", 0, "代理(一般规定)", "代理", false},
        {"", 1, "(1)", "", true},
    };
    for (const auto &c : cases) {
        const QString entry = entryText(QString::fromUtf8(c.title), c.q);
        EXPECT_EQ(entry, QString::fromUtf8(c.entry)) << c.title;
        EXPECT_EQ(entryTitle(entry), QString::fromUtf8(c.entryTitle)) << c.title;
        EXPECT_EQ(entryNote(entry, c.q, 1, 2, 1).canPractise, c.canPractise) << c.title;
    }
    EXPECT_EQ(keyPointNote(5, 2, 7, 3).text,
              QStringLiteral("相关题数：5题  已做题数：2题  已做道次：7次  做错道次：3次"));
    EXPECT_EQ(keyPointNote(0, 2, 7, 3).text, QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"));
    // An entry without "(" has nothing to practise whatever its row says.
    EXPECT_FALSE(entryNote(QStringLiteral("要约"), 4, 0, 0, 0).canPractise);
    EXPECT_TRUE(isHeadingGroup(QStringLiteral("01")));
    EXPECT_TRUE(isHeadingGroup(QStringLiteral(" 1 ")));
    EXPECT_FALSE(isHeadingGroup(QStringLiteral("010101")));
    EXPECT_FALSE(isHeadingGroup(QString()));
}

namespace {

QVector<KeyPoint> keyPointsWithQuestions(std::initializer_list<qint64> counts)
{
    QVector<KeyPoint> rows;
    int i = 0;
    for (qint64 q : counts) {
        KeyPoint k;
        k.ftid = QStringLiteral("01010100%1").arg(++i, 2, 10, QLatin1Char('0'));
        k.title = QStringLiteral("考点%1").arg(i);
        k.q = q;
        rows << k;
    }
    return rows;
}

} // namespace

TEST(KeyPointRules, KeyFilterSequences)
{
    const struct {
        const char *name;
        std::initializer_list<qint64> counts;
        int threshold;
        // After each press: result, toggle, number of entries listed.
        std::vector<std::tuple<bool, int, int>> presses;
    } cases[] = {
        {"narrow and widen again", {0, 1, 5, 2}, 2, {{true, 1, 2}, {true, 0, 4}, {true, 1, 2}}},
        {"threshold 1 keeps every key point with questions", {0, 1, 3}, 1, {{true, 1, 2}, {true, 0, 3}}},
        {"none reaches the threshold: full list, toggle unchanged", {0, 1, 2}, 3, {{false, 0, 3}, {false, 0, 3}}},
        {"a group without key points", {}, 1, {{false, 0, 0}}},
    };
    for (const auto &c : cases) {
        KeyPointList list;
        list.setRows(keyPointsWithQuestions(c.counts));
        KeyFilter filter;
        int step = 0;
        for (const auto &[result, toggle, entries] : c.presses) {
            ++step;
            EXPECT_EQ(filter.press(list, c.threshold), result) << c.name << " press " << step;
            EXPECT_EQ(filter.toggle(), toggle) << c.name << " press " << step;
            EXPECT_EQ(list.count(), entries) << c.name << " press " << step;
            EXPECT_EQ(filter.caption(), toggle == 0 ? QStringLiteral("重点(&M)") : QStringLiteral("全部(&A)"));
        }
    }
    // A list that was never opened cannot be filtered.
    KeyPointList closed;
    KeyFilter filter;
    EXPECT_FALSE(filter.press(closed, 1));
    EXPECT_EQ(filter.toggle(), 0);
    // Reloaded rows keep the filter in force.
    KeyPointList list;
    list.setRows(keyPointsWithQuestions({0, 4}));
    ASSERT_TRUE(filter.press(list, 2));
    list.setRows(keyPointsWithQuestions({0, 4, 9}));
    EXPECT_EQ(list.entries(), (QStringList{QStringLiteral("考点2(4)"), QStringLiteral("考点3(9)")}));
}

TEST(KeyPointData, GroupsKeyPointsAndTheirCount)
{
    TestBank b;
    b.run(QStringLiteral("insert into tab_fgmc (id, bh, n, q, q1, q2, q4) values "
                         "('01', 1, '第一编', 7, 1, 2, 1), ('010102', 3, '第二组', 0, 0, 0, 0), ('010101', 2, '第一组', 7, 1, 2, 1)"));
    b.run(QStringLiteral("insert into tab_rule (id, ftid, sn, q) values "
                         "('010101', '0101010002', '乙  ', 3), ('010101', '0101010001', '甲', 4), ('010102', '0101020001', '丙', 0)"));
    const QVector<KeyPointGroup> groups = loadGroups(b.dm());
    ASSERT_EQ(groups.size(), 3);
    EXPECT_EQ(groups[1].id, QStringLiteral("010101"));   // bh order
    EXPECT_EQ(groups[1].q, QStringLiteral("7"));
    const QVector<KeyPoint> rows = loadKeyPoints(b.dm(), QStringLiteral("010101"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].ftid, QStringLiteral("0101010001"));   // ftid order
    EXPECT_EQ(rows[1].title, QStringLiteral("乙  "));
    EXPECT_EQ(keyPointCount(b.dm(), QStringLiteral("010101")), std::optional<qint64>(2));
    // A code with a quote is a value, not SQL.
    EXPECT_EQ(keyPointCount(b.dm(), QStringLiteral("0' or '1'='1")), std::optional<qint64>(0));
    EXPECT_TRUE(loadKeyPoints(b.dm(), QStringLiteral("0' or '1'='1")).isEmpty());
    // A bank that cannot count gives no count, so the threshold becomes 1.
    b.run(QStringLiteral("drop table tab_rule"));
    EXPECT_EQ(keyPointCount(b.dm(), QStringLiteral("010101")), std::nullopt);
}

TEST(KeyPointData, PracticeSelectionHoldsEveryQuestionCitingTheKeyPoint)
{
    TestBank b;
    const QString kp = QStringLiteral("0101010001");
    auto cite = [&](const QString &id, int field, const QString &ftid) {
        b.addQuestion(id, QStringLiteral("A"), 61, QStringLiteral("100101"));
        b.run(QStringLiteral("update tab_answ set K%1=? where A1=?").arg(field), {ftid, id});
    };
    cite(QStringLiteral("q-k3"), 3, kp);
    cite(QStringLiteral("q-k12"), 12, kp);   // cited only in the last field
    cite(QStringLiteral("q-void"), 5, kp);
    b.run(QStringLiteral("update tab_answ set F1=1, E2='zero' where A1='q-void'"));
    cite(QStringLiteral("q-done"), 4, kp);
    b.run(QStringLiteral("update tab_answ set E2='A', E3=2, E2_1='A' where A1='q-done'"));
    cite(QStringLiteral("q-user"), 7, kp);
    b.run(QStringLiteral("update tab_answ set F1=2 where A1='q-user'"));
    cite(QStringLiteral("q-other"), 3, QStringLiteral("0101010002"));
    cite(QStringLiteral("q-quote"), 3, QStringLiteral("01'01"));

    practice::PracticeRun run(b.dm());
    ASSERT_TRUE(run.load(keyPointPracticeSql(kp)));
    QStringList ids;
    for (int r = 1; r <= run.count(); ++r)
        ids << run.row(r).id;
    // The list comes in the bank's own order, as a pass over the whole
    // table with the key point's condition gives it.
    QStringList scanned;
    QSqlQuery scan = b.dm().exec(QStringLiteral("select A1 from tab_answ where ? in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12)"), {kp});
    while (scan.next())
        scanned << scan.value(0).toString();
    scan.finish();
    EXPECT_EQ(ids, scanned);
    ids.sort();
    EXPECT_EQ(ids, (QStringList{QStringLiteral("q-done"), QStringLiteral("q-k12"), QStringLiteral("q-k3"),
                                QStringLiteral("q-user"), QStringLiteral("q-void")}));
    // Starting the run empties the run answers of the whole bank.
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_answ where E2_1<>''")).toInt(), 0);
    // An id holding a quote is selected as the value it is.
    ASSERT_TRUE(run.load(keyPointPracticeSql(QStringLiteral("01'01"))));
    EXPECT_EQ(run.count(), 1);
    EXPECT_FALSE(run.load(keyPointPracticeSql(QStringLiteral("0101019999"))));
}

TEST(KeyPointData, DemoBankGrowsToTheWantedKeyPoints)
{
    // The benchmark's bank: many groups and key points, one group far
    // larger than the rest, every id still naming its group and heading.
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/big.db");
    demobank::Options o;
    o.keyPointGroups = 120;
    o.keyPoints = 2000;
    demobank::generate(path, o);
    const demobank::Summary s = demobank::summarize(path);
    EXPECT_EQ(s.keyPointGroups, 120);
    EXPECT_EQ(s.keyPoints, 2000);

    const QString appDirBefore = seams::appDir();
    seams::setAppDir(dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    ASSERT_TRUE(QFile::rename(path, dir.path() + QStringLiteral("/data/VORDANBANK01.db")));
    {
        TDM1 dm;
        ASSERT_TRUE(dm.DbOpened);
        auto count = [&](const char *sql) { return dm.scalar(QString::fromLatin1(sql)).toInt(); };
        EXPECT_EQ(count("select count(*) from tab_rule r where not exists (select 1 from tab_fgmc g where g.id = r.id)"), 0);
        EXPECT_EQ(count("select count(*) from tab_rule where substr(ftid, 1, 6) <> id"), 0);
        EXPECT_EQ(count("select count(*) from (select ftid from tab_rule group by ftid having count(*) > 1)"), 0);
        EXPECT_EQ(count("select count(*) from tab_fgmc g where length(id) = 6 and not exists "
                        "(select 1 from tab_fgmc h where h.id = substr(g.id, 1, 2))"),
                  0);
        EXPECT_EQ(count("select count(distinct bh) from tab_fgmc"), count("select count(*) from tab_fgmc"));
        // The largest group is the one the directory is timed on.
        const int largest = count("select max(c) from (select count(*) as c from tab_rule group by id)");
        EXPECT_GT(largest, 50);
        const QString id = dm.scalar(QStringLiteral("select id from tab_rule group by id order by count(*) desc limit 1")).toString();
        EXPECT_EQ(loadKeyPoints(dm, id).size(), largest);
    }
    seams::setAppDir(appDirBefore);
    // The ordinary demo bank is unchanged by the options' defaults.
    QTemporaryDir plain;
    demobank::generate(plain.path() + QStringLiteral("/demo.db"));
    EXPECT_LT(demobank::summarize(plain.path() + QStringLiteral("/demo.db")).keyPointGroups, 120);
}
