// Marking and recording answers of a paper: the score sum, the thresholds
// of the submit flow, LeastMark, the result record, and the answers counted
// into the paper row, the bank row and the counters.
#include "ExamFixture.h"

#include "common/CommonRoutines.h"
#include "exam/ExamAnswers.h"
#include "exam/ExamSettings.h"
#include "exam/Marking.h"
#include "exam/PaperGeneration.h"
#include "store/SqlText.h"

#include <gtest/gtest.h>

using namespace exam;

namespace {

// A hand-made paper tab_exam7 of subject 1 with the given rows
// (id, type, key, answer; a null answer stays NULL) and its record.
void makePaper(TestBank &b, const QList<std::tuple<const char *, int, const char *, const char *>> &rows)
{
    b.run(paperTableStatement(QStringLiteral("tab_exam7")));
    for (const auto &[id, type, key, answer] : rows)
        b.run(QStringLiteral("insert into tab_exam7 (A1, A13, A2, E2_1) values (?,?,?,?)"),
              {QLatin1String(id), type, QLatin1String(key), answer ? QVariant(QString::fromLatin1(answer)) : QVariant()});
    b.run(QStringLiteral("insert into tab_cj (A1, A3, A3_1) values ('tab_exam7', 'paper 7', 7)"));
}

QVariantList rz(TestBank &b)
{
    return b.row(QStringLiteral("select A2, A3, B1, B2, D1 from tab_rz where A1=?"), {sqltext::dateText(b.clock().today())});
}

} // namespace

TEST(Marking, ScoreStatementReadsAsWritten)
{
    EXPECT_EQ(scoreStatement(1, QStringLiteral("tab_exam7")),
              QStringLiteral("select sum(tab_tx1.B3) as ZFS from tab_exam7,tab_tx1 where tab_exam7.A13 = tab_tx1.A1 "
                             "and tab_exam7.A2 = tab_exam7.E2_1"));
}

TEST(Marking, SumsTheScoresOfRightAnswersIgnoringCase)
{
    TestBank b;
    b.run(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (61,'单选',40,0.5),(65,'多选',15,1),(74,'简答',2,3)"));
    makePaper(b, {
                     {"q1", 61, "A", "A"},      // right: 0.5
                     {"q2", 61, "B", "b"},      // right in another case: 0.5
                     {"q3", 61, "C", "D"},      // wrong
                     {"q4", 61, "C", nullptr},  // unanswered (NULL)
                     {"q5", 61, "C", ""},       // unanswered
                     {"q6", 65, "ACD", "acd"},  // right: 1
                     {"q7", 65, "ACD", "CAD"},  // letters out of order: wrong
                     {"q8", 73, "AB", "AB"},    // type not in the table: nothing
                     {"q9", 74, "1", "1"},      // self-assessed "会": 3
                 });
    EXPECT_DOUBLE_EQ(PaperScore(b.dm(), 1, QStringLiteral("tab_exam7")), 5.0);
    EXPECT_EQ(UnansweredCount(b.dm(), QStringLiteral("tab_exam7")), 2);
    // Against another subject's empty type table nothing scores: 0, not NULL.
    EXPECT_DOUBLE_EQ(PaperScore(b.dm(), 2, QStringLiteral("tab_exam7")), 0.0);
}

TEST(Marking, SubmitThresholds)
{
    struct Case {
        int unanswered;
        bool discarded;
        bool timeToLog;
        const char *question;
    } cases[] = {
        {0, false, true, "恭喜你已经做完试卷，确定要交卷吗？"},
        {49, false, true, "你还有49道题未做，确定要交卷吗？"},
        {50, false, false, "你还有50道题未做，确定要交卷吗？"},
        {67, false, false, "你还有67道题未做，确定要交卷吗？"},
        {109, false, false, "你还有109道题未做，确定要交卷吗？"},
        {110, true, false, nullptr},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(discardsSilently(c.unanswered), c.discarded) << c.unanswered;
        EXPECT_EQ(voidingAddsStudyTime(c.unanswered), c.timeToLog) << c.unanswered;
        if (c.question) {
            EXPECT_EQ(submitQuestionText(c.unanswered), QString::fromUtf8(c.question));
        }
    }
}

TEST(Marking, VoidingAddsTheTimeOnlyBelowFiftyUnanswered)
{
    for (int unanswered : {49, 50}) {
        TestBank b;
        b.dm().LogAnswerToday(2, 1, 2);   // today's log row exists
        b.run(QStringLiteral("update tab_rz set D1='00:10:00'"));
        makePaper(b, {{"q1", 61, "A", "A"}});
        voidPaper(b.dm(), QStringLiteral("tab_exam7"), unanswered, QStringLiteral("0:05:30"));
        EXPECT_EQ(rz(b).value(4).toString(), unanswered == 49 ? QStringLiteral("00:15:30") : QStringLiteral("00:10:00"));
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
        EXPECT_EQ(b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam7'")).toInt(), 0);
    }
}

TEST(Marking, StoresTheResultAndComparesWithLeastMark)
{
    struct Case {
        int leastMark;
        bool below;
    } cases[] = {{0, false}, {1, false}, {2, true}, {60, true}};   // score 1.0
    for (const Case &c : cases) {
        TestBank b;
        b.run(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (61,'单选',40,0.5)"));
        b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime) values (?, 7200)"), {c.leastMark});
        b.dm().LogAnswerToday(2, 1, 2);
        makePaper(b, {{"q1", 61, "A", "a"}, {"q2", 61, "B", "B"}, {"q3", 61, "C", ""}});
        const MarkResult r = MarkPaper(b.dm(), 1, QStringLiteral("tab_exam7"), QStringLiteral("0:41:05"));
        EXPECT_DOUBLE_EQ(r.score, 1.0);
        EXPECT_EQ(r.belowLeastMark, c.below) << c.leastMark;
        EXPECT_EQ(b.row(QStringLiteral("select A6, D2 from tab_cj where A1='tab_exam7'")),
                  (QVariantList{1.0, QStringLiteral("0:41:05")}));
        EXPECT_EQ(rz(b).value(4).toString(), QStringLiteral("00:41:05"));
    }
}

TEST(Marking, PaperWithoutRecordAndFailures)
{
    TestBank b;
    b.run(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (61,'单选',40,0.5)"));
    makePaper(b, {{"q1", 61, "A", "A"}});
    b.run(QStringLiteral("update tab_cj set A1='TAB_EXAM7'"));   // located without regard to case
    EXPECT_DOUBLE_EQ(MarkPaper(b.dm(), 1, QStringLiteral("tab_exam7"), QStringLiteral("0:01:00")).score, 0.5);
    EXPECT_EQ(b.value(QStringLiteral("select A6 from tab_cj")).toDouble(), 0.5);
    b.run(QStringLiteral("delete from tab_cj"));
    EXPECT_DOUBLE_EQ(MarkPaper(b.dm(), 1, QStringLiteral("tab_exam7"), QStringLiteral("0:01:00")).score, 0.5);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);

    // A failing step keeps nothing of the marking.
    b.run(QStringLiteral("insert into tab_cj (A1, A3, A3_1) values ('tab_exam7', 'paper 7', 7)"));
    b.dm().LogAnswerToday(2, 1, 2);
    EXPECT_THROW(MarkPaper(b.dm(), 1, QStringLiteral("tab_exam7"), QStringLiteral("bad:time:x")), std::invalid_argument);
    EXPECT_TRUE(b.value(QStringLiteral("select A6 from tab_cj where A1='tab_exam7'")).isNull());
    EXPECT_FALSE(b.dm().inTransaction());
    EXPECT_THROW(MarkPaper(b.dm(), 1, QStringLiteral("tab_answ"), QStringLiteral("0:01:00")), store::DbError);
}

TEST(ExamTime, TheClockLimit)
{
    struct Case {
        bool found;
        qint64 examTime;
        qint64 elapsed;
        bool up;
    } cases[] = {
        {true, 0, 0, true},   // 0 ends the exam at its first tick
        {true, 0, 1, true},
        {true, 7200, 7199, false},
        {true, 7200, 7200, true},
        {true, 7200, 9000, true},
        {false, 0, 99999, false},   // no settings row: no limit
    };
    for (const Case &c : cases) {
        ExamSettings s;
        s.found = c.found;
        s.examTime = c.examTime;
        EXPECT_EQ(examTimeIsUp(c.elapsed, s), c.up) << c.examTime << " " << c.elapsed;
    }
}

TEST(RecordPaperAnswer, CountsNewAndChangedAnswersOnly)
{
    TestBank b;
    examfixture::fillSubject(b, 5, 0);
    b.addKeyPoint(QStringLiteral("0501010001"));
    b.addKeyPoint(QStringLiteral("0501020001"));
    const QString id = QStringLiteral("056400000000");
    b.run(QStringLiteral("update tab_answ set A2='1', K3='0501010001', K4='0501020001', K5='', K6='0509' where A1=?"), {id});
    PaperState p = generatePaper(b.dm(), 5);
    QVector<PaperQuestion> rows = LoadPaper(b.dm(), p);
    PaperQuestion &row = rows[0];
    ASSERT_EQ(row.a1, id);

    struct Step {
        const char *answer;
        CellLook look;
        QVariantList log;     // A2, A3, B1, B2 of today's log
        const char *bankAnswer;
        int e3;
        int e4;
        int counted;          // D1 of the section, q2 of the key points and their heading
    } steps[] = {
        {"0", CellLook::Answered, {1, 1, 1, 1}, "0", 1, -3, 1},   // first answer, wrong
        {"0", CellLook::Answered, {1, 1, 1, 1}, "0", 1, -3, 1},   // unchanged: not counted
        {"1", CellLook::Answered, {2, 1, 1, 0}, "1", 2, -2, 2},   // changed, right
        {"", CellLook::Normal, {2, 1, 1, 0}, "1", 2, -2, 2},      // emptied: nothing counted
        {"1", CellLook::Answered, {3, 1, 1, 0}, "1", 3, -1, 3},   // given again: counts
    };
    for (const Step &s : steps) {
        const QString answer = QString::fromLatin1(s.answer);
        EXPECT_EQ(recordPaperAnswer(b.dm(), p.tableName, row, answer), s.look) << s.answer;
        EXPECT_EQ(b.row(QStringLiteral("select A2, A3, B1, B2 from tab_rz")), s.log) << s.answer;
        const QString bankAnswer = QString::fromLatin1(s.bankAnswer);
        EXPECT_EQ(b.row(QStringLiteral("select E2_1, E2, E3, E4 from tab_answ where A1=?"), {id}),
                  (QVariantList{bankAnswer, bankAnswer, s.e3, s.e4})) << s.answer;
        EXPECT_EQ(b.value(QStringLiteral("select D1 from tab_kmmc where C1='050101'")).toInt(), s.counted);
        // K5 is empty: the list ends there, K6 is never counted; the
        // heading shared by both key points rises once per answer.
        EXPECT_EQ(b.value(QStringLiteral("select q2 from tab_rule where ftid='0501010001'")).toInt(), s.counted);
        EXPECT_EQ(b.value(QStringLiteral("select q2 from tab_rule where ftid='0501020001'")).toInt(), s.counted);
        EXPECT_EQ(b.value(QStringLiteral("select q2 from tab_fgmc where id='05'")).toInt(), s.counted);
        // The paper row holds the answer given in this paper.
        EXPECT_EQ(b.value(QStringLiteral("select E2_1 from tab_exam1 where A1=?"), {id}).toString(), answer);
        EXPECT_EQ(row.e2_1, answer);
    }
    EXPECT_EQ(b.value(QStringLiteral("select E1 from tab_exam1 where A1=?"), {id}).toString(), QStringLiteral("2026-03-10"));
    EXPECT_EQ(b.value(QStringLiteral("select E1 from tab_answ where A1=?"), {id}).toString(), QStringLiteral("2026-03-10"));
}

TEST(RecordPaperAnswer, AllOrNothing)
{
    TestBank b;
    examfixture::fillSubject(b, 5, 0);
    PaperState p = generatePaper(b.dm(), 5);
    QVector<PaperQuestion> rows = LoadPaper(b.dm(), p);
    b.run(QStringLiteral("drop table tab_exam1"));   // the paper row cannot be written
    EXPECT_THROW(recordPaperAnswer(b.dm(), p.tableName, rows[0], QStringLiteral("1")), store::DbError);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_rz")).toInt(), 0);
    EXPECT_EQ(b.value(QStringLiteral("select E3 from tab_answ where A1=?"), {rows[0].a1}).toInt(), 0);
    EXPECT_EQ(b.value(QStringLiteral("select D1 from tab_kmmc where C1='050101'")).toInt(), 0);
    EXPECT_TRUE(rows[0].e2_1.isEmpty());
    EXPECT_FALSE(b.dm().inTransaction());
}

TEST(UpdateBankAnswer, FollowsThePracticeRule)
{
    struct Case {
        const char *lastAnswer;
        int e4;
        const char *answer;
        int expectedE4;
    } cases[] = {
        {"", 0, "B", -3},    // first answer wrong
        {"", 5, "A", 0},     // first answer right
        {"B", -3, "A", -2},  // right while below 0
        {"A", 0, "A", 0},    // right never raises above 0
        {"A", 0, "C", -1},   // wrong afterwards
        {"A", -1, "a", -2},  // the bank's key compares exactly
    };
    for (const Case &c : cases) {
        TestBank b;
        b.addChapter(QStringLiteral("010101"));
        b.addQuestion(QStringLiteral("Q1"), QStringLiteral("A"), 61, QStringLiteral("010101"));
        b.run(QStringLiteral("update tab_answ set E2=?, E4=?, E3=2"), {QLatin1String(c.lastAnswer), c.e4});
        UpdateBankAnswer(b.dm(), QStringLiteral("Q1"), QLatin1String(c.answer));
        EXPECT_EQ(b.row(QStringLiteral("select E4, E3, E2, E2_1, E1 from tab_answ")),
                  (QVariantList{c.expectedE4, 3, QLatin1String(c.answer), QLatin1String(c.answer), QStringLiteral("2026-03-10")}))
            << c.lastAnswer << " " << c.e4 << " " << c.answer;
    }
    TestBank b;
    EXPECT_NO_THROW(UpdateBankAnswer(b.dm(), QStringLiteral("missing"), QStringLiteral("A")));
}

TEST(VoidInReview, MarksPaperAndBankAndCancelKeepsBankE2)
{
    TestBank b;
    examfixture::fillSubject(b, 5, 0);
    PaperState p = generatePaper(b.dm(), 5);
    QVector<PaperQuestion> rows = LoadPaper(b.dm(), p);
    const QString id = rows[1].a1;
    b.run(QStringLiteral("update tab_answ set E2='1' where A1=?"), {id});
    setQuestionVoided(b.dm(), p.tableName, rows[1], true);
    EXPECT_EQ(b.row(QStringLiteral("select F1, E2 from tab_exam1 where A1=?"), {id}), (QVariantList{1, QStringLiteral("zero")}));
    EXPECT_EQ(b.row(QStringLiteral("select F1, E2 from tab_answ where A1=?"), {id}), (QVariantList{1, QStringLiteral("zero")}));
    EXPECT_EQ(reviewStatusText(rows[1]), QStringLiteral("本题已被您作废！"));
    setQuestionVoided(b.dm(), p.tableName, rows[1], false);
    EXPECT_EQ(b.row(QStringLiteral("select F1, E2 from tab_exam1 where A1=?"), {id}), (QVariantList{0, QString()}));
    EXPECT_EQ(b.row(QStringLiteral("select F1, E2 from tab_answ where A1=?"), {id}), (QVariantList{0, QStringLiteral("zero")}));
    EXPECT_EQ(reviewStatusText(rows[1]), QString());
    rows[2].f1 = 2;
    EXPECT_EQ(reviewStatusText(rows[2]), QStringLiteral("本题是您加入的题目！"));
    // A voided question is not drawn again.
    setQuestionVoided(b.dm(), p.tableName, rows[1], true);
    DropExamTable(b.dm(), p.tableName);
    for (const PaperQuestion &r : LoadPaper(b.dm(), generatePaper(b.dm(), 5)))
        EXPECT_NE(r.a1, id);
}

TEST(ReviewDisplay, HeadingsAndScores)
{
    const TypeTable types = {{61, {QStringLiteral("单选"), 40, 0.5}},
                             {65, {QStringLiteral("多选"), 40, 0.1}},
                             {71, {QStringLiteral("判断"), 0, 2}}};
    EXPECT_EQ(TypeHeading(types, 61), QStringLiteral("单选 每题0.5分 共20分"));
    EXPECT_EQ(TypeHeading(types, 65), QStringLiteral("多选 每题0.1分 共4分"));
    EXPECT_EQ(TypeHeading(types, 71), QStringLiteral("判断 每题2分 共0分"));
    EXPECT_EQ(TypeHeading(types, 73), QString());
    EXPECT_EQ(scoreText(87.5), QStringLiteral("得分：87.5 分"));
    EXPECT_EQ(scoreText(90), QStringLiteral("得分：90 分"));
    EXPECT_EQ(scoreText(0), QStringLiteral("得分：0 分"));
}
