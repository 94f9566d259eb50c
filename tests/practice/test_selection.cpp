// The chapter selections, the start of a practice run, the chapter totals,
// the question list with its type filter, and question content.
#include "keypoints/KeyPointRules.h"
#include "platform/RichText.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeSelection.h"
#include "store/SqlText.h"
#include "support/TestBank.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

using namespace practice;

namespace {

QStringList ids(TestBank &b, const QString &sql)
{
    PracticeRun run(b.dm());
    run.loadRows(sql);
    QStringList out;
    for (int i = 1; i <= run.count(); ++i)
        out << run.row(i).id;
    return out;
}

QString plan(TestBank &b, const QString &sql)
{
    QSqlQuery q = b.dm().execText(QStringLiteral("explain query plan ") + sql);
    QString out;
    while (q.next())
        out += q.value(3).toString() + QLatin1Char('\n');
    return out;
}

class Selections : public ::testing::Test {
protected:
    TestBank b;
    void SetUp() override
    {
        for (const char *c : {"1", "10", "1001", "100101", "100102", "1002", "100201"})
            b.addChapter(QString::fromLatin1(c));
        // id, type, chapter, xx, E2 (NULL when null), E3, E4, E1, F1 (-1 = NULL)
        struct Q {
            const char *id;
            int type;
            const char *chapter;
            int xx;
            const char *e2;
            int e3, e4;
            const char *e1;
            int f1;
        } qs[] = {
            {"n1", 61, "100101", 2, "", 0, 0, "", 0},
            {"n2", 61, "100101", 1, "", 0, 0, "", 0},
            {"n3", 65, "100101", 0, "", 0, 0, "", 0},
            {"n4", 61, "100102", 0, nullptr, 0, 0, "", 0},   // E2 NULL is new too
            {"n5", 61, "100101", 2, "", 0, 0, "", 0},        // ties with n1: id decides
            {"nf", 61, "100101", 3, "", 0, 0, "", -1},       // F1 NULL: never new
            {"v1", 61, "100101", 4, "zero", 0, 0, "", 1},    // voided
            {"w1", 61, "100101", 5, "A", 1, -1, "2026-03-01", 0},
            {"w2", 61, "100102", 6, "A", 1, -3, "2026-03-05", 0},
            {"w3", 61, "100101", 7, "A", 3, -3, "2026-03-02", 0},
            {"w4", 61, "100101", 8, "A", 1, -3, "2026-03-01", 0},
            {"wf", 61, "100101", 9, "A", 1, -2, "2026-03-01", -1},  // F1 NULL: not wrong, but reviewed
            {"d1", 65, "100101", 1, "B", 2, 0, "2026-03-01", 0},
            {"o1", 61, "100201", 1, "", 0, 0, "", 0},         // another chapter
        };
        for (const Q &q : qs) {
            b.addQuestion(QString::fromLatin1(q.id), QStringLiteral("B"), q.type, QString::fromLatin1(q.chapter));
            b.run(QStringLiteral("update tab_answ set xx=?, E2=?, E3=?, E4=?, E1=?, F1=? where A1=?"),
                  {q.xx, q.e2 ? QVariant(QString::fromLatin1(q.e2)) : QVariant(), q.e3, q.e4, QString::fromLatin1(q.e1),
                   q.f1 < 0 ? QVariant() : QVariant(q.f1), QString::fromLatin1(q.id)});
        }
    }
};

} // namespace

TEST_F(Selections, TheThreeKindsAndTheirOrder)
{
    const QStringList none;
    struct Case {
        PracticeKind kind;
        const char *code;
        QStringList expected;
    } cases[] = {
        // New: type, chapter, xx, id; NULL F1 and voided questions never.
        {PracticeKind::New, "1001", {"n2", "n1", "n5", "n4", "n3"}},
        {PracticeKind::New, "100101", {"n2", "n1", "n5", "n3"}},
        {PracticeKind::New, "10", {"n2", "n1", "n5", "n4", "o1", "n3"}},
        // Wrong: type, fewest attempts, most negative score, oldest date.
        {PracticeKind::Wrong, "1001", {"w4", "w2", "w1", "w3"}},
        {PracticeKind::Wrong, "1002", none},
        // Review: everything answered, voided and NULL F1 included.
        {PracticeKind::Review, "1001", {"v1", "w4", "w2", "wf", "w1", "w3", "d1"}},
        {PracticeKind::Review, "1002", none},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ids(b, practiceSql(c.kind, QString::fromLatin1(c.code))), c.expected)
            << int(c.kind) << " " << c.code;
}

TEST_F(Selections, DoubleClickTakesNewQuestionsWithoutTheIdKey)
{
    const QString sql = doubleClickSql(QStringLiteral("100101"));
    EXPECT_TRUE(sql.endsWith(QStringLiteral(" order by a13,a10,xx")));
    QStringList got = ids(b, sql);
    ASSERT_EQ(got.size(), 4);
    // n1 and n5 tie on every key; only their pair's order is open.
    EXPECT_EQ(got.at(0), QStringLiteral("n2"));
    QStringList tied{got.at(1), got.at(2)};
    tied.sort();
    EXPECT_EQ(tied, (QStringList{QStringLiteral("n1"), QStringLiteral("n5")}));
    EXPECT_EQ(got.at(3), QStringLiteral("n3"));
}

TEST_F(Selections, StatementsKeepTheirShapeAndQuoteTheCode)
{
    EXPECT_EQ(practiceSql(PracticeKind::New, QStringLiteral("1001")),
              QStringLiteral("select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,"
                             "ecount from tab_answ where (substr(A10,1,4) = '1001') and (E2 = '' or E2 is null)  and "
                             "(f1<>1)  order by a13,a10,xx,a1"));
    EXPECT_EQ(practiceSql(PracticeKind::Wrong, QStringLiteral("100101")),
              QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,"
                             "ecount from tab_answ  where (substr(A10,1,6) = '100101') and (E4 < 0)  and (f1<>1) order by "
                             "a13,e3,e4,e1,xx,a1"));
    // A code with a quote runs and selects nothing.
    for (PracticeKind k : {PracticeKind::New, PracticeKind::Wrong, PracticeKind::Review})
        EXPECT_TRUE(ids(b, practiceSql(k, QStringLiteral("10'1"))).isEmpty());
    EXPECT_TRUE(ids(b, doubleClickSql(QStringLiteral("10' or '1'='1"))).isEmpty());

    for (const char *code : {"", "1", "10"})
        EXPECT_TRUE(isHeadingCode(QString::fromLatin1(code))) << code;
    for (const char *code : {"100", "1001", "100101"})
        EXPECT_FALSE(isHeadingCode(QString::fromLatin1(code))) << code;
}

TEST_F(Selections, ChapterSelectionsUseThePrefixIndexes)
{
    EXPECT_TRUE(plan(b, practiceSql(PracticeKind::New, QStringLiteral("10"))).contains(QStringLiteral("ix_answ_a10_2")));
    EXPECT_TRUE(plan(b, practiceSql(PracticeKind::Wrong, QStringLiteral("1001"))).contains(QStringLiteral("ix_answ_a10_4")));
    EXPECT_TRUE(plan(b, practiceSql(PracticeKind::Review, QStringLiteral("100101"))).contains(QStringLiteral("ix_answ_a10_6")));
    EXPECT_TRUE(plan(b, QStringLiteral("update tab_answ set E2_1='' where E2_1 IS NOT ''")).contains(QStringLiteral("ix_answ_e2_1")));
    // New questions of a chapter or a section come out of the index in the
    // list's order: no sort of the whole chapter before the first row.
    for (const QString &sql : {practiceSql(PracticeKind::New, QStringLiteral("1001")),
                               practiceSql(PracticeKind::New, QStringLiteral("100101")), doubleClickSql(QStringLiteral("1001"))}) {
        const QString p = plan(b, sql);
        EXPECT_TRUE(p.contains(QStringLiteral("ix_answ_a10_")) && !p.contains(QStringLiteral("TEMP B-TREE"))) << p.toStdString();
    }
}

// Every selection a practice run starts from, and the count of a key
// point's questions after an edit, reads only the rows it wants through an
// index that also gives their order: no pass over the whole table, no sort.
TEST_F(Selections, EverySelectionReadsThroughAnIndex)
{
    QStringList statements{
        keypoints::keyPointPracticeSql(QStringLiteral("0101010001")),
        keypoints::citingCountSql().replace(QStringLiteral("?1"), QStringLiteral("'0101010001'")),
    };
    for (const char *code : {"1001", "100101"}) {
        for (PracticeKind k : {PracticeKind::New, PracticeKind::Wrong, PracticeKind::Review})
            statements << practiceSql(k, QString::fromLatin1(code));
        statements << doubleClickSql(QString::fromLatin1(code));
    }
    for (const QString &sql : statements) {
        const QString p = plan(b, sql);
        EXPECT_FALSE(p.contains(QStringLiteral("TEMP B-TREE")) || p.contains(QStringLiteral("SCAN"))) << sql.toStdString() << "\n"
                                                                                                     << p.toStdString();
    }
}

// The list is read straight from the engine; every field of every row must
// be what the driver reads from the same statement, NULLs and texts that
// recur across rows included.
TEST_F(Selections, TheListHoldsWhatTheStatementReturns)
{
    b.run(QStringLiteral("update tab_answ set K3='100101001', K4=NULL, K5='100101002', A14='note', csbs='Y', ecount=2 where A1='w1'"));
    b.run(QStringLiteral("update tab_answ set K3='100101001', A14='', A2='ABD' where A1='w3'"));
    const QString sqls[] = {practiceSql(PracticeKind::New, QStringLiteral("10")), practiceSql(PracticeKind::Wrong, QStringLiteral("1001")),
                            practiceSql(PracticeKind::Review, QStringLiteral("100101")),
                            // the key-point selection's shape: every column, no xx/ecount order
                            QStringLiteral("select * from tab_answ where K3='100101001' order by A1"),
                            // thousands of distinct texts, some recurring out of turn
                            QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<600) "
                                           "select 'q'||i as a1, 'key'||(i%97) as a2, 'kp'||i as k3, 'kp'||(i+1) as k4, "
                                           "'2026-01-'||(i%28) as e1, 'note'||i as a14, i as xx from n")};
    for (const QString &sql : sqls) {
        PracticeRun run(b.dm());
        run.loadRows(sql);
        QSqlQuery q = b.dm().execText(sql);
        const QSqlRecord rec = q.record();
        auto text = [&](const char *n) { return q.value(rec.indexOf(QLatin1String(n))).toString(); };
        auto number = [&](const char *n) { return q.value(rec.indexOf(QLatin1String(n))).toInt(); };
        int i = 0;
        while (q.next()) {
            ASSERT_LT(i, run.count()) << sql.toStdString();
            const QuestionRow &r = run.row(++i);
            EXPECT_EQ(r.id, text("a1"));
            EXPECT_EQ(r.key, text("a2"));
            EXPECT_EQ(r.chapter, text("a10"));
            for (int k = 0; k < 10; ++k)
                EXPECT_EQ(r.keyPoints.value(k), text(qPrintable(QStringLiteral("k%1").arg(k + 3)))) << r.id.toStdString() << k;
            EXPECT_EQ(r.note, text("a14"));
            EXPECT_EQ(r.noteIsNull, q.value(rec.indexOf(QStringLiteral("a14"))).isNull()) << r.id.toStdString();
            EXPECT_EQ(r.lastDate, text("e1"));
            EXPECT_EQ(r.lastAnswer, text("e2"));
            EXPECT_EQ(r.timedOut, text("csbs"));
            EXPECT_EQ((QList<int>{r.optionCount, r.type, r.attempts, r.wrongScore, r.status, r.order, r.editCount}),
                      (QList<int>{number("a2_1"), number("a13"), number("e3"), number("e4"), number("f1"), number("xx"),
                                  number("ecount")}))
                << r.id.toStdString();
        }
        EXPECT_EQ(i, run.count()) << sql.toStdString();
    }
}

TEST_F(Selections, AChangedRowLeavesTheRowsThatShareItsTextsAlone)
{
    // Rows that hold the same key, chapter and key points share those texts
    // in the list; changing one row (an edit, a saved note, an answer) must
    // change that row only, and say exactly what was put back.
    b.run(QStringLiteral("update tab_answ set K3='100101001', K5='100101002', A14=NULL where A1 in ('o1','w1','w3')"));
    PracticeRun run(b.dm());
    ASSERT_TRUE(run.load(practiceSql(PracticeKind::Review, QStringLiteral("1001"))));
    QList<QuestionRow> before;
    for (int i = 1; i <= run.count(); ++i)
        before << run.row(i);
    const int at = ids(b, practiceSql(PracticeKind::Review, QStringLiteral("1001"))).indexOf(QStringLiteral("w1")) + 1;
    ASSERT_GT(at, 0);
    struct Change {
        const char *what;
        std::function<void(QuestionRow &)> apply;
    } changes[] = {
        {"key and options", [](QuestionRow &r) { r.key = QStringLiteral("BCD"); r.optionCount = 5; }},
        {"key points (fewer, then trailing blanks as the edit window pads them)",
         [](QuestionRow &r) { r.keyPoints = {QStringLiteral("100101009"), QString(), QStringLiteral("考点二"), QString(), QString()}; }},
        {"note from NULL to empty", [](QuestionRow &r) { r.note.clear(); r.noteIsNull = false; }},
        {"note text", [](QuestionRow &r) { r.note = QStringLiteral("第二遍再看"); r.noteIsNull = false; }},
        {"answer state", [](QuestionRow &r) { r.runAnswer = QStringLiteral("A"); r.lastAnswer = QStringLiteral("A"); r.attempts += 1; r.wrongScore = -3; }},
        {"type, status, edit count", [](QuestionRow &r) { r.type = 65; r.status = 2; r.editCount = 3; r.timedOut = QStringLiteral("Y"); }},
    };
    QuestionRow expected = run.row(at);
    for (const Change &c : changes) {
        c.apply(expected);
        run.setRow(at, expected);
        const QuestionRow got = run.row(at);
        QStringList keyPoints = expected.keyPoints;
        while (!keyPoints.isEmpty() && keyPoints.last().isEmpty())
            keyPoints.removeLast();
        EXPECT_EQ(got.keyPoints, keyPoints) << c.what;
        EXPECT_EQ((QStringList{got.id, got.key, got.chapter, got.note, got.lastDate, got.lastAnswer, got.runAnswer, got.timedOut}),
                  (QStringList{expected.id, expected.key, expected.chapter, expected.note, expected.lastDate, expected.lastAnswer,
                               expected.runAnswer, expected.timedOut}))
            << c.what;
        EXPECT_EQ((QList<int>{got.noteIsNull, got.optionCount, got.type, got.attempts, got.wrongScore, got.status, got.editCount}),
                  (QList<int>{expected.noteIsNull, expected.optionCount, expected.type, expected.attempts, expected.wrongScore,
                              expected.status, expected.editCount}))
            << c.what;
        for (int i = 1; i <= run.count(); ++i) {
            if (i == at)
                continue;
            const QuestionRow r = run.row(i);
            EXPECT_EQ((QStringList{r.id, r.key, r.note, r.runAnswer} + r.keyPoints),
                      (QStringList{before[i - 1].id, before[i - 1].key, before[i - 1].note, before[i - 1].runAnswer} + before[i - 1].keyPoints))
                << c.what << " changed row " << i;
            EXPECT_EQ((QList<int>{r.noteIsNull, r.type, r.attempts}),
                      (QList<int>{before[i - 1].noteIsNull, before[i - 1].type, before[i - 1].attempts}))
                << c.what << " changed row " << i;
        }
    }
    // The type filter counts the changed type.
    EXPECT_EQ(run.typeCount(65), 2);
    EXPECT_THROW(run.setRow(run.count() + 1, expected), std::out_of_range);
    // A new load starts from the bank again.
    run.loadRows(practiceSql(PracticeKind::Review, QStringLiteral("1001")));
    EXPECT_EQ(run.row(at).key, before[at - 1].key);
    EXPECT_TRUE(run.row(at).noteIsNull);
}

TEST_F(Selections, EmptySelectionMessages)
{
    EXPECT_EQ(emptySelectionText(PracticeKind::New), QStringLiteral("恭喜，习题已做完！"));
    EXPECT_EQ(emptySelectionText(PracticeKind::Wrong), QStringLiteral("本章节下没有错题！"));
    EXPECT_EQ(emptySelectionText(PracticeKind::Review), QStringLiteral("本章节习题还未曾做过！"));
    EXPECT_EQ(emptySelectionPicture(PracticeKind::New), 0);
    EXPECT_EQ(emptySelectionPicture(PracticeKind::Wrong), 1);
    EXPECT_EQ(emptySelectionPicture(PracticeKind::Review), 1);
}

TEST_F(Selections, RunStartEmptiesEveryRunAnswer)
{
    b.run(QStringLiteral("update tab_answ set E2_1='A' where A1 in ('n1','o1')"));
    b.run(QStringLiteral("update tab_answ set E2_1=NULL where A1='w1'"));
    const int changesBefore = b.value(QStringLiteral("select total_changes()")).toInt();
    PracticeRun run(b.dm());
    ASSERT_TRUE(run.load(practiceSql(PracticeKind::New, QStringLiteral("1001"))));
    // Only the three rows that held something were written.
    EXPECT_EQ(b.value(QStringLiteral("select total_changes()")).toInt() - changesBefore, 3);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_answ where E2_1 IS NOT ''")).toInt(), 0);
    EXPECT_FALSE(run.load(practiceSql(PracticeKind::Wrong, QStringLiteral("1002"))));
    EXPECT_EQ(run.count(), 0);
}

TEST_F(Selections, TypeFilterCountsFromOne)
{
    PracticeRun run(b.dm());
    ASSERT_TRUE(run.load(practiceSql(PracticeKind::Review, QStringLiteral("1001"))));
    EXPECT_EQ(run.count(), 7);
    EXPECT_EQ(run.typeCount(61), 6);
    EXPECT_EQ(run.typeCount(65), 1);
    EXPECT_EQ(run.typeCount(71), 0);
    run.setTypeFilter(65);
    ASSERT_EQ(run.count(), 1);
    EXPECT_EQ(run.row(1).id, QStringLiteral("d1"));
    EXPECT_FALSE(run.valid(2));
    EXPECT_THROW(run.row(2), std::out_of_range);
    run.setTypeFilter(71);
    EXPECT_EQ(run.count(), 0);
    run.setTypeFilter(0);
    EXPECT_EQ(run.row(7).id, QStringLiteral("d1"));

    // Fields of the row as loaded; NULL F1 reads as 0.
    run.setTypeFilter(0);
    const QuestionRow &wf = run.row(4);
    EXPECT_EQ(wf.id, QStringLiteral("wf"));
    EXPECT_EQ(wf.status, 0);
    EXPECT_EQ(wf.wrongScore, -2);
    EXPECT_EQ(wf.order, 9);
    EXPECT_EQ(wf.lastDate, QStringLiteral("2026-03-01"));
    EXPECT_EQ(wf.optionCount, 4);
    EXPECT_EQ(run.row(1).status, 1);
}

TEST_F(Selections, VoidingRestoringAndTimeOut)
{
    PracticeRun run(b.dm());
    ASSERT_TRUE(run.load(practiceSql(PracticeKind::New, QStringLiteral("100102"))));
    ASSERT_EQ(run.row(1).id, QStringLiteral("n4"));
    run.setVoided(1, true);
    EXPECT_EQ(b.row(QStringLiteral("select F1, E2 from tab_answ where A1='n4'")),
              (QVariantList{qlonglong(1), QStringLiteral("zero")}));
    run.setVoided(1, false);
    EXPECT_EQ(b.row(QStringLiteral("select F1, E2 from tab_answ where A1='n4'")),
              (QVariantList{qlonglong(0), QStringLiteral("zero")}));
    // No longer new, now reviewed.
    EXPECT_FALSE(ids(b, practiceSql(PracticeKind::New, QStringLiteral("100102"))).contains(QStringLiteral("n4")));
    EXPECT_TRUE(ids(b, practiceSql(PracticeKind::Review, QStringLiteral("100102"))).contains(QStringLiteral("n4")));
    // A user question (F1 = 2) voided and restored ends as an ordinary one.
    b.run(QStringLiteral("update tab_answ set F1=2 where A1='n4'"));
    run.loadRows(practiceSql(PracticeKind::Review, QStringLiteral("100102")));
    const int at = ids(b, practiceSql(PracticeKind::Review, QStringLiteral("100102"))).indexOf(QStringLiteral("n4")) + 1;
    EXPECT_EQ(run.row(at).status, 2);
    run.setVoided(at, true);
    run.setVoided(at, false);
    EXPECT_EQ(b.value(QStringLiteral("select F1 from tab_answ where A1='n4'")).toInt(), 0);

    run.markTimedOut(at);
    EXPECT_EQ(b.value(QStringLiteral("select csbs from tab_answ where A1='n4'")).toString(), QStringLiteral("Y"));
}

TEST_F(Selections, ChapterTotalsCountSectionsOnly)
{
    b.run(QStringLiteral("update tab_kmmc set C3=10, D1=4, D2=1 where length(C1)=6"));
    b.run(QStringLiteral("update tab_kmmc set C3=999, D1=999, D2=999 where length(C1)<>6"));
    ChapterTotals t = chapterTotals(b.dm());
    EXPECT_EQ(t.questions, 30);
    EXPECT_EQ(t.answers, 12);
    EXPECT_EQ(t.wrong, 3);
    EXPECT_EQ(overallScoreText(t), QStringLiteral("75.00"));
    EXPECT_EQ(overallScoreText({5, 3, 1}), QStringLiteral("66.67"));
    EXPECT_EQ(overallScoreText({5, 0, 0}), QString());   // the label keeps its text
    EXPECT_EQ(shownQuestionTotal(9999), 9999);
    EXPECT_EQ(shownQuestionTotal(10000), 10000);
    EXPECT_EQ(shownQuestionTotal(123456), 10000);
    b.run(QStringLiteral("delete from tab_kmmc"));
    t = chapterTotals(b.dm());
    EXPECT_EQ(t.questions, 0);
    EXPECT_EQ(t.answers, 0);
}

TEST(QuestionContent, SubQuestionsShowTheirMaterialAbove)
{
    TestBank b;
    const QString sub = QStringLiteral("M000000000000001-2");
    b.addQuestion(sub, QStringLiteral("A"), 61, QStringLiteral("100101"));
    b.addQuestion(QStringLiteral("plain"), QStringLiteral("A"), 61, QStringLiteral("100101"));
    b.run(QStringLiteral("update tab_exer set A15=?, jx=? where A1=?"), {QByteArray("第二小题"), QByteArray("解析"), sub});
    b.run(QStringLiteral("update tab_exer set A15=? where A1='plain'"), {QByteArray("普通题")});
    b.run(QStringLiteral("insert into tab_title (A1, A15) values ('M000000000000001', ?)"), {QByteArray("案例材料")});

    QuestionContent c = loadQuestionContent(b.dm(), sub);
    EXPECT_TRUE(c.found);
    EXPECT_TRUE(c.isSubQuestion);
    EXPECT_TRUE(c.hasExplanation);
    QTextDocument upper, lower;
    EXPECT_TRUE(fillQuestionBody(c, upper, lower));
    EXPECT_EQ(upper.toPlainText().trimmed(), QStringLiteral("案例材料"));
    EXPECT_EQ(lower.toPlainText().trimmed(), QStringLiteral("第二小题"));

    c = loadQuestionContent(b.dm(), QStringLiteral("plain"));
    EXPECT_FALSE(c.isSubQuestion);
    EXPECT_FALSE(c.hasExplanation);
    EXPECT_TRUE(fillQuestionBody(c, upper, lower));
    EXPECT_EQ(upper.toPlainText().trimmed(), QStringLiteral("普通题"));
    EXPECT_TRUE(lower.isEmpty());

    c = loadQuestionContent(b.dm(), QStringLiteral("missing"));
    EXPECT_FALSE(c.found);
    EXPECT_FALSE(fillQuestionBody(c, upper, lower));
    EXPECT_EQ(materialId(QStringLiteral("ABCDEFGHIJKLMNOPQRST")), QStringLiteral("ABCDEFGHIJKLMNOP"));
}
