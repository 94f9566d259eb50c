// Key-point practice next to chapter practice: the same window with its
// differences (caption, hint board, void caption, page labels, no edit or
// explanation button, no edited mark, the no-answer text, the comparison
// panel's height), and a voided question in a key point's list.
#include "PracticeFixtures.h"
#include "common/ShellState.h"
#include "keypoints/KeyPointRules.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/PracticeSelection.h"
#include "practice/uRulelxxt.h"
#include "widgets/PictureButtonWidget.h"

#include <QLabel>
#include <QToolButton>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace practice;
using namespace practicefixtures;

namespace {

class RulePractice : public PracticeBankTest {
protected:
    void SetUp() override
    {
        PracticeBankTest::SetUp();
        addSection(b, 3);
        b.dm().setChapterRow(QStringLiteral("100101"));
    }
};

} // namespace

TEST_F(RulePractice, DiffersFromChapterPracticeOnlyWhereItShould)
{
    b.run(QStringLiteral("update tab_answ set ecount=2"));
    const struct {
        bool keyPoint;
        const char *caption, *hint, *voidCaption, *matching, *singleTypeLabel, *noAnswer, *edited;
        bool explanation, edit;
    } cases[] = {
        {false, "练习新题", "第一章 总论 · 第一节 基本概念：理解基本概念，掌握基本原则。", "题目作废", "综\r\n合\r\n分\r\n析",
         "单\r项", "请先做出答案！", "本题被您修改过", true, true},
        {true, "", "", "本题作废", "不\r\n定\r\n项", "主\r\n观", "题还没做呢！", "", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keyPoint ? "key-point practice" : "chapter practice");
        prompts.prompts.clear();
        shell().PracticeSql = practiceSql(PracticeKind::New, QStringLiteral("100101"));
        std::unique_ptr<TFrmLxxt> w(c.keyPoint ? new TFrmRuleLxxt : new TFrmLxxt);
        ASSERT_TRUE(w->LoadQuestionList());
        w->show();
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(w->Lb_hint->text(), QString::fromUtf8(c.hint));
        EXPECT_EQ(w->epEfTrBtn10->text(), QString::fromUtf8(c.voidCaption));
        EXPECT_EQ(w->answerArea->sideLabel(PageMatching), QString::fromUtf8(c.matching));
        EXPECT_EQ(w->epEfTrBtn4->isVisible(), c.explanation);
        EXPECT_EQ(w->epEfTrBtn11->isVisible(), c.edit);
        EXPECT_EQ(w->Lb_edited->text(), QString::fromUtf8(c.edited));
        click(w->typeButtons[int(w->typeCodes.indexOf(61))]);
        EXPECT_EQ(w->answerArea->sideLabel(PageSubjective), QString::fromUtf8(c.singleTypeLabel));

        click(w->epEfTrBtn3);
        ASSERT_EQ(prompts.prompts.size(), 1);
        EXPECT_EQ(prompts.lastText(), QString::fromUtf8(c.noAnswer));
        EXPECT_EQ(prompts.prompts[0].dlgPage, int(seams::DlgWarning));

        // s01 answered: the explanation stays off in key-point practice.
        click(w->answerArea->optionButton(PageSingle, 1));
        click(w->epEfTrBtn3);
        EXPECT_EQ(w->epEfTrBtn4->isEnabled(), c.explanation);
        click(w->epEfTrBtn6);
        w->Panel2->finishSlide();
        const QWidget *body = w->findChild<QWidget *>(QStringLiteral("Panel1"));
        ASSERT_NE(body, nullptr);
        ASSERT_GT(body->height(), TFrmRuleLxxt::PanelHeight);   // so the two heights differ
        EXPECT_EQ(w->Panel2->height(), c.keyPoint ? std::min(TFrmRuleLxxt::PanelHeight, body->height()) : body->height());
        EXPECT_GT(w->Panel2->width(), 0);

        // Voiding and restoring come back to the window's own caption.
        click(w->epEfTrBtn10);
        EXPECT_EQ(w->Label1->text(), QStringLiteral("本题已被您作废！"));
        EXPECT_EQ(w->epEfTrBtn10->text(), QStringLiteral("取消作废"));
        click(w->epEfTrBtn10);
        EXPECT_EQ(w->Label1->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
        EXPECT_EQ(w->epEfTrBtn10->text(), QString::fromUtf8(c.voidCaption));
        w->close();
    }
}

TEST_F(RulePractice, AVoidedQuestionOfTheKeyPointIsListedAsVoided)
{
    // s01 cites the key point and was voided; the edited count of a row is
    // not part of the key point's list.
    b.run(QStringLiteral("update tab_answ set F1=1, E2='zero', ecount=4 where A1='s01'"));
    shell().PracticeSql = keypoints::keyPointPracticeSql(QStringLiteral("0101010001"));
    TFrmRuleLxxt w;
    ASSERT_TRUE(w.LoadQuestionList());
    w.Lb_hint->setText(QStringLiteral("考点一 基本概念的含义"));
    w.show();
    ASSERT_EQ(w.run().count(), 1);
    EXPECT_EQ(w.run().row(1).id, QStringLiteral("s01"));
    EXPECT_EQ(w.Lb_hint->text(), QStringLiteral("考点一 基本概念的含义"));   // showing leaves it alone
    EXPECT_EQ(w.Label1->text(), QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(w.epEfTrBtn10->text(), QStringLiteral("取消作废"));
    EXPECT_TRUE(w.Lb_edited->text().isEmpty());
    w.close();
}
