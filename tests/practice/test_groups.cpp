// Paging of the question board in groups of twenty, and the moves of
// "上一题" / "下一题" across group borders.
#include "practice/QuestionGroups.h"

#include <gtest/gtest.h>

using practice::QuestionGroups;

TEST(QuestionGroups, FirstGroupByListSize)
{
    struct Case {
        int total, groups, size;
        bool nextEnabled;
    } cases[] = {{45, 3, 20, true}, {20, 1, 20, false}, {21, 2, 20, true}, {1, 1, 1, false}, {0, 0, 0, false},
                 {40, 2, 20, true}};
    for (const Case &c : cases) {
        QuestionGroups g;
        g.first(c.total);
        EXPECT_EQ(g.groupCount(), c.groups) << c.total;
        EXPECT_EQ(g.size(), c.size) << c.total;
        EXPECT_EQ(g.start(), 1);
        EXPECT_FALSE(g.previousGroupEnabled()) << c.total;
        EXPECT_EQ(g.nextGroupEnabled(), c.nextEnabled) << c.total;
    }
}

TEST(QuestionGroups, FortyFiveQuestionsInThreeGroups)
{
    QuestionGroups g;
    g.first(45);
    EXPECT_EQ(g.group(), 1);
    g.nextGroup();
    EXPECT_EQ(g.group(), 2);
    EXPECT_EQ(g.start(), 21);
    EXPECT_EQ(g.size(), 20);
    EXPECT_TRUE(g.previousGroupEnabled());
    EXPECT_TRUE(g.nextGroupEnabled());
    g.nextGroup();
    EXPECT_EQ(g.group(), 3);
    EXPECT_EQ(g.start(), 41);
    EXPECT_EQ(g.size(), 5);
    EXPECT_EQ(g.last(), 45);
    EXPECT_EQ(g.recordAt(4), 45);
    EXPECT_EQ(g.recordAt(5), 0);   // buttons 6 to 20 stand for nothing
    EXPECT_FALSE(g.nextGroupEnabled());
    EXPECT_TRUE(g.previousGroupEnabled());
    g.nextGroup();   // nothing beyond the last group
    EXPECT_EQ(g.group(), 3);

    g.previousGroup();
    EXPECT_EQ(g.group(), 2);
    EXPECT_EQ(g.start(), 21);
    EXPECT_EQ(g.size(), 20);
    EXPECT_TRUE(g.previousGroupEnabled());
    EXPECT_TRUE(g.nextGroupEnabled());
    g.previousGroup();
    EXPECT_EQ(g.group(), 1);
    EXPECT_FALSE(g.previousGroupEnabled());
    g.previousGroup();
    EXPECT_EQ(g.group(), 1);
}

TEST(QuestionGroups, MovesAcrossGroupBorders)
{
    QuestionGroups g;
    g.first(45);
    // Inside the group: the neighbouring button.
    QuestionGroups::Move m = g.nextQuestion(5);
    EXPECT_EQ(m.kind, QuestionGroups::Move::Button);
    EXPECT_EQ(m.button, 5);
    EXPECT_EQ(g.previousQuestion(1).kind, QuestionGroups::Move::None);

    // "下一题" on question 20 fills group 2 and lands on 21.
    m = g.nextQuestion(20);
    EXPECT_EQ(m.kind, QuestionGroups::Move::NextGroup);
    EXPECT_EQ(g.recordAt(g.apply(m)), 21);
    EXPECT_TRUE(g.previousGroupEnabled());

    // "上一题" on question 21 lands on question 1, not 20.
    m = g.previousQuestion(21);
    EXPECT_EQ(m.kind, QuestionGroups::Move::PreviousGroup);
    EXPECT_EQ(g.recordAt(g.apply(m)), 1);
    EXPECT_EQ(g.group(), 1);
    EXPECT_FALSE(g.previousGroupEnabled());
    EXPECT_TRUE(g.nextGroupEnabled());

    // To the last group and its last question: no further move.
    g.apply(g.nextQuestion(20));
    g.apply(g.nextQuestion(40));
    EXPECT_EQ(g.group(), 3);
    EXPECT_FALSE(g.nextGroupEnabled());
    EXPECT_EQ(g.nextQuestion(45).kind, QuestionGroups::Move::None);
    EXPECT_EQ(g.previousQuestion(45).button, 3);

    EXPECT_TRUE(g.previousQuestionEnabled(2));
    EXPECT_FALSE(g.previousQuestionEnabled(1));
    EXPECT_TRUE(g.nextQuestionEnabled(44));
    EXPECT_FALSE(g.nextQuestionEnabled(45));
}

TEST(QuestionGroups, ExactlyTwentyIsOneGroup)
{
    QuestionGroups g;
    g.first(20);
    EXPECT_EQ(g.nextQuestion(20).kind, QuestionGroups::Move::None);
    EXPECT_FALSE(g.nextGroupEnabled());
    EXPECT_FALSE(g.previousGroupEnabled());
    EXPECT_TRUE(g.inGroup(20));
    EXPECT_FALSE(g.inGroup(21));
    EXPECT_EQ(g.buttonOf(20), 19);
}
