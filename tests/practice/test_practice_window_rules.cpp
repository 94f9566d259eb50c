// The practice window's own rules: texts of the status line and the note
// and void buttons, what judging does to the question board, the time
// gauge and the material pane.
#include "practice/PracticeWindowRules.h"

#include <gtest/gtest.h>

using namespace practice;

namespace {
const QString ChapterVoid = QStringLiteral("题目作废");
const QString KeyPointVoid = QStringLiteral("本题作废");
} // namespace

TEST(PracticeWindowRules, NoteCaptionCountsOnlyRealText)
{
    const struct {
        const char *note, *caption;
    } cases[] = {
        {"", "笔记"}, {"   ", "笔记"}, {"\r\n\t", "笔记"}, {"x", "有内容"}, {"  要点 ", "有内容"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(noteCaptionFor(QString::fromUtf8(c.note)), QString::fromUtf8(c.caption)) << c.note;
    EXPECT_EQ(noteCaption(true), QStringLiteral("有内容"));
    EXPECT_EQ(noteCaption(false), QStringLiteral("笔记"));
}

TEST(PracticeWindowRules, StatusLineAndVoidButtonFollowTheRowStatus)
{
    const struct {
        int status;
        const QString &voidCaption;
        const char *line, *button;
    } cases[] = {
        {0, ChapterVoid, "", "题目作废"},
        {1, ChapterVoid, "本题已被您作废！", "取消作废"},
        {2, ChapterVoid, "本题是您加入的题目！", "题目作废"},
        {1, KeyPointVoid, "本题已被您作废！", "取消作废"},
        {2, KeyPointVoid, "本题是您加入的题目！", "本题作废"},
        {3, KeyPointVoid, "", "本题作废"},
        {-1, ChapterVoid, "", "题目作废"},
    };
    for (const auto &c : cases) {
        const QuestionStatusView v = questionStatusView(c.status, c.voidCaption);
        EXPECT_EQ(v.status, QString::fromUtf8(c.line)) << c.status;
        EXPECT_EQ(v.voidCaption, QString::fromUtf8(c.button)) << c.status;
    }
}

TEST(PracticeWindowRules, VoidButtonTogglesByItsCaption)
{
    const struct {
        const char *shown;
        const QString &voidCaption;
        bool voiding;
        const char *line, *next;
    } cases[] = {
        {"题目作废", ChapterVoid, true, "本题已被您作废！", "取消作废"},
        {"取消作废", ChapterVoid, false, "本题曾被作废，现已被您取消！", "题目作废"},
        {"本题作废", KeyPointVoid, true, "本题已被您作废！", "取消作废"},
        {"取消作废", KeyPointVoid, false, "本题曾被作废，现已被您取消！", "本题作废"},
        // The other window's caption does not void here.
        {"本题作废", ChapterVoid, false, "本题曾被作废，现已被您取消！", "题目作废"},
    };
    for (const auto &c : cases) {
        const VoidPress p = voidPress(QString::fromUtf8(c.shown), c.voidCaption);
        EXPECT_EQ(p.voiding, c.voiding) << c.shown;
        EXPECT_EQ(p.status, QString::fromUtf8(c.line)) << c.shown;
        EXPECT_EQ(p.caption, QString::fromUtf8(c.next)) << c.shown;
    }
}

TEST(PracticeWindowRules, SubjectiveLabelFromTheTypeChosen)
{
    const struct {
        int code;
        const char *name, *label;
    } cases[] = {
        {0, "任意", "主\r观"}, {66, "单项选择题", "单\r项"}, {76, "案例分析", "案\r例"}, {70, "问", "问\r"}, {71, "", "\r"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(subjectiveSideLabel(c.code, QString::fromUtf8(c.name)), QString::fromUtf8(c.label)) << c.code;
}

TEST(PracticeWindowRules, OccurrenceAndPictures)
{
    const struct {
        int attempts, shown;
    } occurrences[] = {{-1, 1}, {0, 1}, {1, 2}, {7, 8}};
    for (const auto &c : occurrences)
        EXPECT_EQ(occurrenceNumber(c.attempts), c.shown) << c.attempts;
    EXPECT_EQ(markPicture(Mark::Neutral), 0);
    EXPECT_EQ(markPicture(Mark::Right), 1);
    EXPECT_EQ(markPicture(Mark::Wrong), 2);
}

TEST(PracticeWindowRules, JudgingTouchesTheBoardByCaller)
{
    using C = JudgeCaller;
    const struct {
        C caller;
        bool empty;
        int record, start, last;
        bool prompt;
        int released, pressed;
        bool after;
    } cases[] = {
        // Leaving a question on the board repaints its released picture,
        // answered or not.
        {C::LeavingQuestion, false, 23, 21, 40, false, 2, -1, false},
        {C::LeavingQuestion, true, 23, 21, 40, false, 2, -1, false},
        {C::LeavingQuestion, false, 21, 21, 40, false, 0, -1, false},
        {C::LeavingQuestion, false, 40, 21, 40, false, 19, -1, false},
        // A question of another group (the board has moved on) is judged
        // but its button is not this group's.
        {C::LeavingQuestion, false, 20, 21, 40, false, -1, -1, false},
        {C::LeavingQuestion, false, 41, 21, 40, false, -1, -1, false},
        // "完成" without an answer asks for one; with one it repaints the
        // pressed picture and the after-answer buttons.
        {C::Finished, true, 23, 21, 40, true, -1, -1, false},
        {C::Finished, false, 23, 21, 40, false, -1, 2, true},
        {C::Finished, false, 1, 1, 20, false, -1, 0, true},
        {C::Finished, false, 20, 1, 20, false, -1, 19, true},
        {C::Finished, false, 45, 41, 45, false, -1, 4, true},
        // Quiet judging leaves the board alone.
        {C::Silent, false, 23, 21, 40, false, -1, -1, false},
        {C::Silent, true, 23, 21, 40, false, -1, -1, false},
    };
    for (const auto &c : cases) {
        const JudgeEffect e = judgeEffect(c.caller, c.empty, c.record, c.start, c.last);
        SCOPED_TRACE(testing::Message() << int(c.caller) << " empty " << c.empty << " record " << c.record);
        EXPECT_EQ(e.promptNoAnswer, c.prompt);
        EXPECT_EQ(e.releasedButton, c.released);
        EXPECT_EQ(e.pressedButton, c.pressed);
        EXPECT_EQ(e.afterAnswerButtons, c.after);
    }
}

TEST(PracticeWindowRules, GaugeFillsThenTimesUp)
{
    const struct {
        int value, next;
        bool timeUp;
    } cases[] = {{0, 1, false}, {50, 51, false}, {99, 100, false}, {100, 100, true}, {120, 120, true}};
    for (const auto &c : cases) {
        const GaugeTick t = gaugeTick(c.value);
        EXPECT_EQ(t.value, c.next) << c.value;
        EXPECT_EQ(t.timeUp, c.timeUp) << c.value;
    }
}

TEST(PracticeWindowRules, PaneSizes)
{
    const struct {
        int height, upper, lower;
    } panes[] = {{0, 144, 150}, {299, 144, 150}, {300, 144, 150}, {500, 344, 150}};
    for (const auto &c : panes) {
        const PaneSizes s = materialPaneSizes(c.height);
        EXPECT_EQ(s.upper, c.upper) << c.height;
        EXPECT_EQ(s.lower, c.lower) << c.height;
    }
    const struct {
        int configured, body, height;
    } panels[] = {{0, 400, 400}, {250, 400, 250}, {250, 200, 200}, {-5, 300, 300}};
    for (const auto &c : panels)
        EXPECT_EQ(comparisonPanelHeight(c.configured, c.body), c.height) << c.configured << " " << c.body;
}
