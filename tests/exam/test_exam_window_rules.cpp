// The exam window's own rules: its look while answering and in review, the
// answer sheet's cells, the question steps, the void and pause buttons,
// the submit question's roads, the clock tick and the question pane.
#include "exam/ExamWindowRules.h"
#include "exam/Marking.h"

#include <gtest/gtest.h>

using namespace exam;

TEST(ExamWindowRules, ScreenPerState)
{
    const struct {
        bool answering;
        const char *caption;
        int timePage;
        bool submit, exportDoc, pages, pause;
    } cases[] = {
        {true, "正在答卷", 0, true, false, true, true},
        {false, "查阅试卷", 1, false, true, false, false},
    };
    for (const auto &c : cases) {
        const ExamScreen s = examScreen(c.answering);
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(s.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(s.timePage, c.timePage);
        EXPECT_EQ(s.submitEnabled, c.submit);
        EXPECT_EQ(s.exportEnabled, c.exportDoc);
        EXPECT_EQ(s.answerPagesEnabled, c.pages);
        EXPECT_EQ(s.pauseVisible, c.pause);
    }
}

TEST(ExamWindowRules, SheetCellsStandForTheQuestionsOnly)
{
    const struct {
        int cell, questions;
        bool enabled;
        int tag;
    } cases[] = {
        {1, 15, true, 1},    {15, 15, true, 15},   {16, 15, false, 0}, {110, 15, false, 0},
        {110, 110, true, 110}, {1, 0, false, 0},   {0, 15, false, 0},  {-3, 15, false, 0},
    };
    for (const auto &c : cases) {
        const SheetCellView v = sheetCellView(c.cell, c.questions);
        EXPECT_EQ(v.enabled, c.enabled) << c.cell << " of " << c.questions;
        EXPECT_EQ(v.tag, c.tag) << c.cell << " of " << c.questions;
    }
}

TEST(ExamWindowRules, QuestionStepsStopAtBothEnds)
{
    const struct {
        int question, count;
        bool previous, next;
    } cases[] = {
        {1, 15, false, true}, {2, 15, true, true}, {14, 15, true, true}, {15, 15, true, false}, {1, 1, false, false},
    };
    for (const auto &c : cases) {
        const QuestionSteps s = questionSteps(c.question, c.count);
        EXPECT_EQ(s.previous, c.previous) << c.question << "/" << c.count;
        EXPECT_EQ(s.next, c.next) << c.question << "/" << c.count;
    }
}

TEST(ExamWindowRules, VoidButtonOnlyInReview)
{
    const struct {
        bool answering, voided, enabled;
        const char *caption;
    } cases[] = {
        {true, false, false, "本题作废"},
        {true, true, false, "本题作废"},
        {false, false, true, "本题作废"},
        {false, true, true, "取消作废"},
    };
    for (const auto &c : cases) {
        const VoidButtonView v = voidButtonView(c.answering, c.voided);
        EXPECT_EQ(v.enabled, c.enabled) << c.answering << c.voided;
        EXPECT_EQ(v.caption, QString::fromUtf8(c.caption)) << c.answering << c.voided;
    }
}

TEST(ExamWindowRules, PauseButtonAndSubmitRoads)
{
    EXPECT_EQ(pauseCaption(false), QStringLiteral("暂停考试"));
    EXPECT_EQ(pauseCaption(true), QStringLiteral("继续考试"));
    EXPECT_TRUE(pressPauses(QStringLiteral("暂停考试")));
    EXPECT_FALSE(pressPauses(QStringLiteral("继续考试")));

    const struct {
        int answer;
        SubmitRoad road;
    } roads[] = {{1, SubmitRoad::Mark}, {2, SubmitRoad::VoidPaper}, {3, SubmitRoad::GoOn}, {0, SubmitRoad::GoOn},
                 {-1, SubmitRoad::GoOn}};
    for (const auto &c : roads)
        EXPECT_EQ(submitRoad(c.answer), c.road) << c.answer;
}

TEST(ExamWindowRules, TickLooksAtTheLimitOnlyWhileAnswering)
{
    const struct {
        bool answering, running, ending, closed, checks;
    } cases[] = {
        {true, true, false, false, true},   {false, true, false, false, false}, {true, false, false, false, false},
        {true, true, true, false, false},   {true, true, false, true, false},   {false, false, true, true, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tickChecksTimeLimit(c.answering, c.running, c.ending, c.closed), c.checks)
            << c.answering << c.running << c.ending << c.closed;
}

TEST(ExamWindowRules, QuestionPaneSplit)
{
    const struct {
        int height;
        bool sub;
        int handle, upper, lower;
    } cases[] = {
        {400, false, 0, 400, 0}, {0, false, 0, 1, 0},       {-20, false, 0, 1, 0},
        {400, true, 6, 244, 150}, {156, true, 6, 1, 150},   {100, true, 6, 1, 150}, {0, true, 6, 1, 150},
    };
    for (const auto &c : cases) {
        const BodySplit s = bodySplit(c.height, c.sub);
        SCOPED_TRACE(testing::Message() << c.height << (c.sub ? " sub-question" : " question"));
        EXPECT_EQ(s.handle, c.handle);
        EXPECT_EQ(s.upper, c.upper);
        EXPECT_EQ(s.lower, c.lower);
    }
}
