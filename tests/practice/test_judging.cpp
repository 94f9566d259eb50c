// Judging answers into the bank: the question row, the study log, the
// chapter counters and the key-point counters after sequences of answers,
// and the one transaction that holds them together.
#include "practice/AnswerLogic.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeSelection.h"
#include "store/SqlText.h"
#include "support/TestBank.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace practice;

namespace {

QuestionRow readRow(TestBank &b, const QString &id)
{
    PracticeRun run(b.dm());
    run.loadRows(QStringLiteral("select * from tab_answ where a1=") + sqltext::quoted(id));
    EXPECT_EQ(run.count(), 1) << id.toStdString();
    return run.count() ? run.row(1) : QuestionRow();
}

// Answers a question as a practice window does: from the row as stored.
JudgeOutcome answer(TestBank &b, const QString &id, const QString &text)
{
    return applyJudgedAnswer(b.dm(), readRow(b, id), text);
}

QVariantList logRow(TestBank &b)
{
    return b.row(QStringLiteral("select A2, A3, B1, B2 from tab_rz where A1=?"), {sqltext::dateText(b.clock().date)});
}

QVariantList chapter(TestBank &b, const QString &code)
{
    return b.row(QStringLiteral("select C4, D1, D2 from tab_kmmc where C1=?"), {code});
}

QVariantList rule(TestBank &b, const QString &ftid)
{
    return b.row(QStringLiteral("select q1, q2, q4 from tab_rule where ftid=?"), {ftid});
}

QVariantList group(TestBank &b, const QString &id)
{
    return b.row(QStringLiteral("select q1, q2, q4 from tab_fgmc where id=?"), {id});
}

QVariantList ints(std::initializer_list<int> v)
{
    QVariantList out;
    for (int i : v)
        out << QVariant(qlonglong(i));
    return out;
}

// Compares numbers whatever integer type the driver gave them.
QVariantList asLongs(const QVariantList &v)
{
    QVariantList out;
    for (const QVariant &x : v)
        out << QVariant(x.toLongLong());
    return out;
}

class Judging : public ::testing::Test {
protected:
    TestBank b;
    void SetUp() override
    {
        for (const char *c : {"1", "10", "1001", "100101", "100102"})
            b.addChapter(QString::fromLatin1(c));
        for (const char *k : {"010101a1", "010102b2", "020202x", "030303y", "040404z"})
            b.addKeyPoint(QString::fromLatin1(k));
        b.addQuestion(QStringLiteral("q1"), QStringLiteral("B"), 61, QStringLiteral("100101"),
                      {QStringLiteral("010101a1"), QStringLiteral("010102b2")});
    }
    void nextDay()
    {
        b.clock().date = b.clock().date.addDays(1);
        clearRunAnswers(b.dm());
    }
};

} // namespace

TEST_F(Judging, WrongFirstThenRightAcrossDays)
{
    clearRunAnswers(b.dm());
    // Day 1: wrong at the first answer.
    JudgeOutcome o = answer(b, QStringLiteral("q1"), QStringLiteral("A"));
    EXPECT_TRUE(o.counted);
    QuestionRow r = readRow(b, QStringLiteral("q1"));
    EXPECT_EQ(r.wrongScore, -3);
    EXPECT_EQ(r.attempts, 1);
    EXPECT_EQ(r.lastAnswer, QStringLiteral("A"));
    EXPECT_EQ(r.runAnswer, QStringLiteral("A"));
    EXPECT_EQ(r.lastDate, QStringLiteral("2026-03-10"));
    EXPECT_EQ(asLongs(logRow(b)), ints({1, 1, 1, 1}));
    for (const char *c : {"1", "10", "1001", "100101"})
        EXPECT_EQ(asLongs(chapter(b, QString::fromLatin1(c))), ints({1, 1, 1})) << c;
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("100102"))), ints({0, 0, 0}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010101a1"))), ints({1, 1, 1}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010102b2"))), ints({1, 1, 1}));
    EXPECT_EQ(asLongs(group(b, QStringLiteral("010101"))), ints({1, 1, 1}));
    // Both key points share the heading "01": raised once.
    EXPECT_EQ(asLongs(group(b, QStringLiteral("01"))), ints({1, 1, 1}));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from (") + practiceSql(PracticeKind::Wrong, QStringLiteral("1001"))
                      + QLatin1Char(')'))
                  .toInt(),
              1);

    // The same answer again in this run: stored, not counted.
    o = answer(b, QStringLiteral("q1"), QStringLiteral("A"));
    EXPECT_FALSE(o.counted);
    EXPECT_EQ(readRow(b, QStringLiteral("q1")).attempts, 1);
    EXPECT_EQ(asLongs(logRow(b)), ints({1, 1, 1, 1}));
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("100101"))), ints({1, 1, 1}));

    // Changed to the right answer in the same run: a repeated attempt, not
    // the first of the day, the previous answer wrong.
    o = answer(b, QStringLiteral("q1"), QStringLiteral("B"));
    EXPECT_TRUE(o.counted);
    EXPECT_EQ(o.codes.firstToday, 1);
    EXPECT_EQ(o.codes.attemptKind, 1);
    EXPECT_EQ(o.codes.previous, 2);
    r = readRow(b, QStringLiteral("q1"));
    EXPECT_EQ(r.wrongScore, -2);
    EXPECT_EQ(r.attempts, 2);
    EXPECT_EQ(asLongs(logRow(b)), ints({2, 1, 1, 0}));
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("1001"))), ints({1, 2, 1}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010101a1"))), ints({1, 2, 1}));
    EXPECT_EQ(asLongs(group(b, QStringLiteral("01"))), ints({1, 2, 1}));

    // Day 2: last answered yesterday, so the first of the day again.
    nextDay();
    EXPECT_EQ(readRow(b, QStringLiteral("q1")).runAnswer, QString());
    o = answer(b, QStringLiteral("q1"), QStringLiteral("B"));
    EXPECT_TRUE(o.counted);
    EXPECT_EQ(o.codes.firstToday, 2);
    EXPECT_EQ(o.codes.previous, 1);
    EXPECT_EQ(readRow(b, QStringLiteral("q1")).wrongScore, -1);
    EXPECT_EQ(asLongs(logRow(b)), ints({1, 0, 1, 0}));

    // Day 3: the third right answer leaves the wrong list.
    nextDay();
    answer(b, QStringLiteral("q1"), QStringLiteral("B"));
    r = readRow(b, QStringLiteral("q1"));
    EXPECT_EQ(r.wrongScore, 0);
    EXPECT_EQ(r.attempts, 4);
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("1"))), ints({1, 4, 1}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010102b2"))), ints({1, 4, 1}));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from (") + practiceSql(PracticeKind::Wrong, QStringLiteral("1001"))
                      + QLatin1Char(')'))
                  .toInt(),
              0);

    // One more wrong answer: -1, back on the wrong list.
    nextDay();
    answer(b, QStringLiteral("q1"), QStringLiteral("C"));
    EXPECT_EQ(readRow(b, QStringLiteral("q1")).wrongScore, -1);
}

TEST_F(Judging, NoAnswerEmptiesTheRunAnswerAndCountsNothing)
{
    clearRunAnswers(b.dm());
    answer(b, QStringLiteral("q1"), QStringLiteral("B"));
    const JudgeOutcome o = answer(b, QStringLiteral("q1"), QString());
    EXPECT_TRUE(o.empty);
    const QuestionRow r = readRow(b, QStringLiteral("q1"));
    EXPECT_EQ(r.runAnswer, QString());
    EXPECT_EQ(r.lastAnswer, QStringLiteral("B"));
    EXPECT_EQ(r.attempts, 1);
    EXPECT_EQ(asLongs(logRow(b)), ints({1, 0, 1, 0}));
    // Answering the same again after that counts as a changed answer.
    EXPECT_TRUE(answer(b, QStringLiteral("q1"), QStringLiteral("B")).counted);
    EXPECT_EQ(asLongs(logRow(b)), ints({2, 0, 1, 0}));
}

TEST_F(Judging, KeyPointsStopAtTheFirstEmptyField)
{
    clearRunAnswers(b.dm());
    b.addQuestion(QStringLiteral("q2"), QStringLiteral("A"), 61, QStringLiteral("100102"),
                  {QStringLiteral("020202x"), QString(), QStringLiteral("030303y")});
    b.addQuestion(QStringLiteral("q3"), QStringLiteral("A"), 61, QStringLiteral("100102"),
                  {QString(), QStringLiteral("040404z")});
    b.run(QStringLiteral("update tab_answ set K4=NULL where A1='q2'"));
    answer(b, QStringLiteral("q2"), QStringLiteral("B"));
    answer(b, QStringLiteral("q3"), QStringLiteral("A"));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("020202x"))), ints({1, 1, 1}));
    EXPECT_EQ(asLongs(group(b, QStringLiteral("020202"))), ints({1, 1, 1}));
    EXPECT_EQ(asLongs(group(b, QStringLiteral("02"))), ints({1, 1, 1}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("030303y"))), ints({0, 0, 0}));
    EXPECT_EQ(asLongs(group(b, QStringLiteral("03"))), ints({0, 0, 0}));
    // q3 has no key point in K3: no key-point counting at all.
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("040404z"))), ints({0, 0, 0}));
    // ... but the log and the chapters count both answers.
    EXPECT_EQ(asLongs(logRow(b)), ints({2, 1, 2, 1}));
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("100102"))), ints({2, 2, 1}));
}

TEST_F(Judging, OneAnswerIsStoredWholeOrNotAtAll)
{
    clearRunAnswers(b.dm());
    // The question row is written last; make that write fail.
    b.run(QStringLiteral("create trigger refuse before update of E2 on tab_answ begin select raise(abort, 'locked'); end"));
    const QuestionRow before = readRow(b, QStringLiteral("q1"));
    EXPECT_THROW(applyJudgedAnswer(b.dm(), before, QStringLiteral("A")), store::DbError);
    EXPECT_FALSE(b.dm().inTransaction());
    EXPECT_TRUE(logRow(b).isEmpty());
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("100101"))), ints({0, 0, 0}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010101a1"))), ints({0, 0, 0}));
    EXPECT_EQ(readRow(b, QStringLiteral("q1")).attempts, 0);

    // The run's copy of the row is left as it was, and the next try counts.
    PracticeRun run(b.dm());
    run.loadRows(practiceSql(PracticeKind::New, QStringLiteral("1001")));
    ASSERT_EQ(run.count(), 1);
    EXPECT_THROW(run.judge(1, QStringLiteral("A")), store::DbError);
    EXPECT_EQ(run.row(1).runAnswer, QString());
    EXPECT_EQ(run.row(1).attempts, 0);
    b.run(QStringLiteral("drop trigger refuse"));
    EXPECT_TRUE(run.judge(1, QStringLiteral("A")).counted);
    EXPECT_EQ(run.row(1).attempts, 1);
    EXPECT_EQ(asLongs(logRow(b)), ints({1, 1, 1, 1}));
}

TEST_F(Judging, SelfAssessedAnswerIsRightOnlyByItsKey)
{
    clearRunAnswers(b.dm());
    b.addQuestion(QStringLiteral("s1"), QStringLiteral("1"), 74, QStringLiteral("100102"), {}, 1);
    b.addQuestion(QStringLiteral("s2"), QStringLiteral("0"), 74, QStringLiteral("100102"), {}, 1);
    const QString can = encodeAnswer(PageSubjective, restoredAnswer(PageSubjective, 1, QStringLiteral("1")));
    EXPECT_EQ(can, QStringLiteral("1"));
    EXPECT_EQ(answer(b, QStringLiteral("s1"), can).codes.result, 1);
    EXPECT_EQ(answer(b, QStringLiteral("s2"), can).codes.result, 2);
}

TEST_F(Judging, CountJudgedAnswerUsesTheCodesOfTheRowGiven)
{
    // The exam counts from its paper row: a row whose E2 is empty is a first
    // answer even when the bank row has been answered before.
    QuestionState paper;
    paper.id = QStringLiteral("q1");
    paper.key = QStringLiteral("B");
    paper.chapter = QStringLiteral("100101");
    paper.keyPoints = {QStringLiteral("010101a1")};
    DbTransaction tx(b.dm());
    const AnswerCodes c = countJudgedAnswer(b.dm(), paper, QStringLiteral("B"));
    tx.commit();
    EXPECT_EQ(c.attemptKind, 2);
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.firstToday, 2);
    EXPECT_EQ(asLongs(logRow(b)), ints({1, 0, 1, 0}));
    EXPECT_EQ(asLongs(chapter(b, QStringLiteral("10"))), ints({1, 1, 0}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010101a1"))), ints({1, 1, 0}));
    EXPECT_EQ(asLongs(rule(b, QStringLiteral("010102b2"))), ints({0, 0, 0}));
    // Counting alone does not touch the question row.
    EXPECT_EQ(readRow(b, QStringLiteral("q1")).attempts, 0);
}
