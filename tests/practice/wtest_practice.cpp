// The practice window driven through its controls on a small section:
// answering, navigating by buttons and keys, groups, the type board, the
// comparison panel, voiding, the timer running out, notes, explanation,
// key points and closing.
#include "PracticeFixtures.h"
#include "widgets/ModalGui.h"
#include "common/ShellState.h"
#include "keypoints/UanswFagui.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "widgets/PictureButtonWidget.h"
#include "practice/PracticeSelection.h"
#include "practice/Ubj.h"
#include "practice/Ujx.h"
#include "practice/Ulxxt.h"
#include "store/SqlText.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace practice;
using namespace practicefixtures;

namespace {


struct EndProgramGuard {
    int calls = 0;
    EndProgramGuard() { seams::setProgramEnd([this] { ++calls; }); }
    ~EndProgramGuard() { seams::setProgramEnd({}); }
};

class PracticeWindow : public PracticeBankTest {
protected:
    void SetUp() override
    {
        PracticeBankTest::SetUp();
        addSection(b, 23);   // 27 questions in section 100101
        shell().PracticeSubject = 1;
        shell().NoteHasContent = false;
        b.dm().setChapterRow(QStringLiteral("100101"));
        shell().PracticeSql = practiceSql(PracticeKind::New, QStringLiteral("100101"));
    }
    QVariantList question(const QString &id)
    {
        return b.row(QStringLiteral("select E2_1, E2, E3, E4, F1, csbs from tab_answ where A1=?"), {id});
    }
    int answersToday()
    {
        return b.value(QStringLiteral("select A2 from tab_rz where A1=?"), {sqltext::dateText(b.clock().date)}).toInt();
    }
    int typeButton(TFrmLxxt &w, int code) { return int(w.typeCodes.indexOf(code)); }
};

} // namespace

TEST_F(PracticeWindow, RunThroughTheControls)
{
    b.run(QStringLiteral("update tab_answ set E2_1='D' where A1 in ('s05', 'j1')"));
    TFrmLxxt w;
    ASSERT_FALSE(w.resourcesMissing());
    ASSERT_TRUE(w.LoadQuestionList());
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_answ where E2_1<>''")).toInt(), 0);
    w.show();

    // First question of the first group, "任意" chosen.
    EXPECT_EQ(w.Lb_hint->text(), QStringLiteral("第一章 总论 · 第一节 基本概念：理解基本概念，掌握基本原则。"));
    EXPECT_EQ(w.Lb_groups->text(), QStringLiteral("2"));
    EXPECT_EQ(w.Lb_total->text(), QStringLiteral("27"));
    EXPECT_EQ(w.Lb_group->text(), QStringLiteral("1"));
    ASSERT_EQ(w.typeButtons.size(), 7);
    EXPECT_EQ(w.typeButtons[0]->text(), QStringLiteral("任意"));
    EXPECT_TRUE(w.typeButtons[0]->isChecked());
    EXPECT_FALSE(w.typeButtons[typeButton(w, 62)]->isEnabled());   // no question of that type
    EXPECT_TRUE(w.typeButtons[typeButton(w, 65)]->isEnabled());
    EXPECT_EQ(w.currentRecord(), 1);
    EXPECT_TRUE(w.Re1->toPlainText().contains(QStringLiteral("第1题")));
    EXPECT_FALSE(w.Re2->isVisible());
    EXPECT_EQ(w.answerArea->page(), PageSingle);
    EXPECT_FALSE(w.epEfTrBtn1->isEnabled());
    EXPECT_TRUE(w.epEfTrBtn2->isEnabled());
    for (QPushButton *after : {w.epEfTrBtn4, w.epEfTrBtn6, w.epEfTrBtn9})
        EXPECT_FALSE(after->isEnabled()) << after->objectName().toStdString();
    EXPECT_EQ(w.Lb_pos->text(), QStringLiteral("1"));
    EXPECT_EQ(w.Lb_occur->text(), QStringLiteral("1"));
    EXPECT_EQ(w.epEfTrBtn10->text(), QStringLiteral("题目作废"));
    EXPECT_EQ(w.Lb_time->text(), QStringLiteral("0:00:00"));

    // Question 1 (key B) answered by clicking B, then "完成".
    click(w.answerArea->optionButton(PageSingle, 1));
    click(w.epEfTrBtn3);
    EXPECT_TRUE(prompts.prompts.isEmpty());
    EXPECT_TRUE(w.epEfTrBtn4->isEnabled());   // s01 has an explanation
    EXPECT_TRUE(w.epEfTrBtn9->isEnabled());   // and key points
    EXPECT_TRUE(w.epEfTrBtn6->isEnabled());
    EXPECT_EQ(w.questionButtons[0]->downKind(), 1);
    EXPECT_EQ(question(QStringLiteral("s01")).mid(0, 5),
              (QVariantList{QStringLiteral("B"), QStringLiteral("B"), qlonglong(1), qlonglong(0), qlonglong(0)}));
    EXPECT_EQ(answersToday(), 1);

    // Enter goes on; leaving an unchanged answer counts nothing more.
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(w.currentRecord(), 2);
    EXPECT_EQ(w.questionButtons[0]->upKind(), 1);
    EXPECT_EQ(answersToday(), 1);
    EXPECT_EQ(b.value(QStringLiteral("select E3 from tab_answ where A1='s01'")).toInt(), 1);

    // Question 2 (key C) answered A by key; Backspace goes back and judges it.
    QTest::keyClick(&w, Qt::Key_A);
    EXPECT_EQ(w.answerArea->answer(), QStringLiteral("A"));
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(w.currentRecord(), 1);
    EXPECT_EQ(question(QStringLiteral("s02")).mid(0, 4),
              (QVariantList{QStringLiteral("A"), QStringLiteral("A"), qlonglong(1), qlonglong(-3)}));
    EXPECT_EQ(w.questionButtons[1]->upKind(), 2);
    EXPECT_EQ(answersToday(), 2);
    // Coming back shows the stored answer and the right "down" picture.
    EXPECT_TRUE(w.answerArea->optionButton(PageSingle, 1)->isChecked());
    EXPECT_EQ(w.answerArea->answer(), QStringLiteral("B"));
    EXPECT_EQ(w.questionButtons[0]->downKind(), 1);

    // "完成" without an answer: the dialog, nothing counted.
    click(w.questionButtons[2]);
    EXPECT_EQ(w.currentRecord(), 3);
    click(w.epEfTrBtn3);
    ASSERT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(prompts.prompts[0].kind, seams::Prompt::Kind::ShowDlg);
    EXPECT_EQ(prompts.prompts[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.prompts[0].text, QStringLiteral("请先做出答案！"));
    EXPECT_EQ(prompts.prompts[0].dlgKind, 1);
    EXPECT_EQ(prompts.prompts[0].dlgPage, seams::DlgWarning);
    EXPECT_EQ(answersToday(), 2);

    // Next group: questions 21 to 27 on buttons 1 to 7.
    click(w.FlatSpeedButton2);
    EXPECT_EQ(w.Lb_group->text(), QStringLiteral("2"));
    EXPECT_EQ(w.currentRecord(), 21);
    EXPECT_TRUE(w.questionButtons[6]->isEnabled());
    EXPECT_FALSE(w.questionButtons[7]->isEnabled());
    EXPECT_FALSE(w.FlatSpeedButton2->isEnabled());
    EXPECT_TRUE(w.FlatSpeedButton1->isEnabled());
    // "上一题" on question 21 lands on question 1.
    click(w.epEfTrBtn1);
    EXPECT_EQ(w.currentRecord(), 1);
    EXPECT_EQ(w.Lb_group->text(), QStringLiteral("1"));
    EXPECT_FALSE(w.FlatSpeedButton1->isEnabled());
    EXPECT_TRUE(w.FlatSpeedButton2->isEnabled());
    EXPECT_EQ(w.questionButtons[0]->upKind(), 1);   // the board shows the answers of the run
    EXPECT_EQ(w.questionButtons[1]->upKind(), 2);
    EXPECT_EQ(w.questionButtons[2]->upKind(), 0);

    // The multiple-choice type: one question, answered right by keys.
    click(w.typeButtons[typeButton(w, 65)]);
    EXPECT_EQ(w.Lb_total->text(), QStringLiteral("1"));
    EXPECT_EQ(w.answerArea->page(), PageMultiple);
    EXPECT_EQ(w.answerArea->sideLabel(PageSubjective), QStringLiteral("多\r项"));
    EXPECT_TRUE(w.answerArea->optionButton(PageMultiple, 4)->isVisible());
    EXPECT_FALSE(w.answerArea->optionButton(PageMultiple, 5)->isVisible());
    for (int key : {Qt::Key_C, Qt::Key_F, Qt::Key_A})
        QTest::keyClick(&w, key);
    click(w.epEfTrBtn3);
    EXPECT_EQ(question(QStringLiteral("m1")).mid(0, 4),
              (QVariantList{QStringLiteral("AC"), QStringLiteral("AC"), qlonglong(1), qlonglong(0)}));
    // The comparison panel over the body.
    click(w.epEfTrBtn6);
    EXPECT_EQ(w.epEfTrBtn6->text(), QStringLiteral("返回"));
    w.Panel2->finishSlide();
    EXPECT_EQ(w.Panel2->Lb_answtip->text(), QStringLiteral("恭喜你，做对了！"));
    EXPECT_EQ(w.Panel2->Memo1->toPlainText(), QStringLiteral("AC"));
    EXPECT_EQ(w.Panel2->Memo2->toPlainText(), QStringLiteral("AC"));
    EXPECT_GT(w.Panel2->width(), 0);
    EXPECT_EQ(w.Panel2->lastSlideWidths().first(), 20);
    click(w.epEfTrBtn6);
    w.Panel2->finishSlide();
    EXPECT_EQ(w.epEfTrBtn6->text(), QStringLiteral("答案"));
    EXPECT_EQ(w.Panel2->width(), 0);

    // A sub-question shows its material above its own text.
    click(w.typeButtons[typeButton(w, 73)]);
    EXPECT_TRUE(w.Re2->isVisible());
    EXPECT_TRUE(w.Re1->toPlainText().contains(QStringLiteral("案例材料")));
    EXPECT_TRUE(w.Re2->toPlainText().contains(QStringLiteral("根据材料")));
    EXPECT_EQ(w.answerArea->page(), PageMatching);
    EXPECT_EQ(w.answerArea->sideLabel(PageMatching), QStringLiteral("综\r\n合\r\n分\r\n析"));
    // Letters toggle its options and Backspace clears them.
    QTest::keyClick(&w, Qt::Key_B);
    EXPECT_EQ(w.answerArea->answer(), QStringLiteral("B"));
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(w.answerArea->answer(), QString());

    // True/false: "错" is wrong here; the type change judges it silently.
    click(w.typeButtons[typeButton(w, 71)]);
    EXPECT_FALSE(w.Re2->isVisible());
    click(w.answerArea->falseButton);
    click(w.typeButtons[typeButton(w, 74)]);
    EXPECT_EQ(question(QStringLiteral("t1")).mid(0, 4),
              (QVariantList{QStringLiteral("B"), QStringLiteral("B"), qlonglong(1), qlonglong(-3)}));

    // Self-assessed: "会" stored as "1", no comparison.
    w.answerArea->FlatComboBox1->setCurrentIndex(1);
    click(w.epEfTrBtn3);
    EXPECT_FALSE(w.epEfTrBtn6->isEnabled());
    EXPECT_EQ(question(QStringLiteral("j1")).mid(0, 2), (QVariantList{QStringLiteral("1"), QStringLiteral("1")}));

    // Voiding and restoring.
    click(w.epEfTrBtn10);
    EXPECT_EQ(w.Label1->text(), QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(w.epEfTrBtn10->text(), QStringLiteral("取消作废"));
    EXPECT_EQ(question(QStringLiteral("j1")).mid(1, 1), QVariantList{QStringLiteral("zero")});
    EXPECT_EQ(question(QStringLiteral("j1")).value(4).toInt(), 1);
    click(w.epEfTrBtn10);
    EXPECT_EQ(w.Label1->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
    EXPECT_EQ(w.epEfTrBtn10->text(), QStringLiteral("题目作废"));
    EXPECT_EQ(question(QStringLiteral("j1")).value(4).toInt(), 0);
    EXPECT_EQ(question(QStringLiteral("j1")).value(1).toString(), QStringLiteral("zero"));

    // Closing judges the question on screen (unchanged: not counted) and
    // records the study time and chapter scores.
    const int before = answersToday();
    EXPECT_EQ(before, 5);
    w.close();
    EXPECT_EQ(answersToday(), 5);
    EXPECT_FALSE(b.value(QStringLiteral("select D1 from tab_rz where A1=?"), {sqltext::dateText(b.clock().date)}).isNull());
    EXPECT_EQ(b.value(QStringLiteral("select A4 from tab_rz where A1=?"), {sqltext::dateText(b.clock().date)}).toString(),
              QStringLiteral("60.00"));
    EXPECT_EQ(b.value(QStringLiteral("select C6 from tab_kmmc where C1='100101'")).toString(), QStringLiteral("60.00"));
    EXPECT_FALSE(w.KZTimeCounter1->isActive());
}

TEST_F(PracticeWindow, ChangedAnswerCountsAgainAndEmptiedAnswerGoesNeutral)
{
    TFrmLxxt w;
    ASSERT_TRUE(w.LoadQuestionList());
    w.show();
    QTest::keyClick(&w, Qt::Key_A);   // s01: key B
    QTest::keyClick(&w, Qt::Key_Return);
    QTest::keyClick(&w, Qt::Key_Backspace);
    QTest::keyClick(&w, Qt::Key_B);   // changed: a second attempt
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(question(QStringLiteral("s01")).mid(0, 4),
              (QVariantList{QStringLiteral("B"), QStringLiteral("B"), qlonglong(2), qlonglong(-2)}));
    EXPECT_EQ(answersToday(), 2);
    EXPECT_EQ(b.row(QStringLiteral("select B1, B2 from tab_rz")), (QVariantList{qlonglong(1), qlonglong(0)}));
    // Releasing the answer and leaving: E2_1 emptied, button neutral again.
    QTest::keyClick(&w, Qt::Key_Backspace);
    click(w.answerArea->optionButton(PageSingle, 1));
    EXPECT_EQ(w.answerArea->answer(), QString());
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(w.questionButtons[0]->upKind(), 0);
    EXPECT_EQ(question(QStringLiteral("s01")).mid(0, 3), (QVariantList{QString(), QStringLiteral("B"), qlonglong(2)}));
    EXPECT_TRUE(prompts.prompts.isEmpty());
}

TEST_F(PracticeWindow, UnreadableBodyIsReportedAndNavigationGoesOn)
{
    TFrmLxxt w;
    ASSERT_TRUE(w.LoadQuestionList());
    w.show();
    EXPECT_TRUE(prompts.prompts.isEmpty());
    b.run(QStringLiteral("alter table tab_exer rename to tab_exer_gone"));
    QTest::keyClick(&w, Qt::Key_Return);
    ASSERT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(prompts.prompts[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(prompts.lastText(), QStringLiteral("无法打开试题！"));
    EXPECT_EQ(prompts.prompts[0].dlgPage, seams::DlgError);
    EXPECT_EQ(w.currentRecord(), 2);
    EXPECT_TRUE(w.Re1->toPlainText().isEmpty());
    b.run(QStringLiteral("alter table tab_exer_gone rename to tab_exer"));
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(w.currentRecord(), 3);
    EXPECT_TRUE(w.Re1->toPlainText().contains(QStringLiteral("第3题")));
    EXPECT_EQ(prompts.prompts.size(), 1);
    w.close();
}

TEST_F(PracticeWindow, TimerRunsOutAndMarksTheQuestion)
{
    shell().TypeCodes = {61};
    shell().TypeTimes = {2};   // 2 ms per gauge step
    TFrmLxxt w;
    ASSERT_TRUE(w.LoadQuestionList());
    w.show();
    EXPECT_EQ(w.Timer1->interval(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(!prompts.prompts.isEmpty(), 10000);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("到时间了"));
    EXPECT_EQ(prompts.prompts[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.prompts[0].dlgPage, seams::DlgWarning);
    EXPECT_EQ(w.Gauge1->value(), 100);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(question(QStringLiteral("s01")).value(5).toString(), QStringLiteral("Y"));
    EXPECT_TRUE(question(QStringLiteral("s02")).value(5).isNull());
    QTest::qWait(50);
    EXPECT_EQ(prompts.prompts.size(), 1);   // once per question
    // The question can still be answered; the next one restarts the timer.
    QTest::keyClick(&w, Qt::Key_B);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(question(QStringLiteral("s01")).value(0).toString(), QStringLiteral("B"));
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_LT(w.Gauge1->value(), 100);
    w.close();
    // A type without an entry runs at 600 ms.
    shell().TypeCodes.clear();
    shell().TypeTimes.clear();
    TFrmLxxt w2;
    ASSERT_TRUE(w2.LoadQuestionList());
    w2.show();
    EXPECT_EQ(w2.Timer1->interval(), 600);
    w2.close();
}

TEST_F(PracticeWindow, NoteExplanationAndKeyPoints)
{
    QStringList opened;
    QString typed;
    ModalHookGuard hook([&](QDialog *d) {
        opened << d->metaObject()->className();
        if (auto *bj = qobject_cast<TFrmBj *>(d)) {
            bj->show();
            bj->DBMemo1->selectAll();
            QTest::keyClick(bj->DBMemo1, Qt::Key_Delete);
            // Chinese text arrives through the input method, not as key codes.
            bj->DBMemo1->insertPlainText(typed);
            bj->close();
        } else if (auto *jx = qobject_cast<TFrmJx *>(d)) {
            jx->show();
            EXPECT_TRUE(jx->Re->toPlainText().contains(QStringLiteral("本题考查基本概念。")));
            EXPECT_TRUE(jx->Re->isReadOnly());
            jx->close();
        } else if (auto *kp = qobject_cast<TfrmAnswFagui *>(d)) {
            kp->show();
            EXPECT_EQ(kp->ListBox1->count(), 2);
            EXPECT_EQ(kp->ListBox1->item(0)->text(), QStringLiteral("考点一 基本概念的含义"));
            EXPECT_EQ(kp->epLabel1->text(), QStringLiteral("第一组 基本概念"));
            EXPECT_TRUE(kp->Re->toPlainText().contains(QStringLiteral("考点正文")));
            kp->close();
        }
        return 0;
    });
    TFrmLxxt w;
    ASSERT_TRUE(w.LoadQuestionList());
    w.show();
    EXPECT_EQ(w.epEfTrBtn5->text(), QStringLiteral("笔记"));
    typed = QStringLiteral("   ");
    click(w.epEfTrBtn5);
    EXPECT_EQ(w.epEfTrBtn5->text(), QStringLiteral("笔记"));   // blanks only
    EXPECT_EQ(b.value(QStringLiteral("select A14 from tab_answ where A1='s01'")).toString(), QStringLiteral("   "));
    typed = QStringLiteral("记住原则");
    click(w.epEfTrBtn5);
    EXPECT_EQ(w.epEfTrBtn5->text(), QStringLiteral("有内容"));
    EXPECT_EQ(b.value(QStringLiteral("select A14 from tab_answ where A1='s01'")).toString(), QStringLiteral("记住原则"));

    // Explanation and key points open once the question is answered.
    QTest::keyClick(&w, Qt::Key_B);
    click(w.epEfTrBtn3);
    click(w.epEfTrBtn4);
    click(w.epEfTrBtn9);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("TFrmBj"), QStringLiteral("TFrmBj"), QStringLiteral("TFrmJx"),
                                   QStringLiteral("TfrmAnswFagui")}));
    // Moving on and back keeps the note's caption.
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(w.epEfTrBtn5->text(), QStringLiteral("笔记"));
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(w.epEfTrBtn5->text(), QStringLiteral("有内容"));
    // 设置 opens the settings; "修改本题" opens the edit window, and leaving
    // it without saving changes nothing.
    click(w.epEfTrBtn8);
    click(w.epEfTrBtn11);
    ASSERT_EQ(opened.size(), 6);
    EXPECT_EQ(opened.value(4), QStringLiteral("TFrmConfig"));
    EXPECT_EQ(opened.value(5), QStringLiteral("TfrmTedit"));
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.currentRecord(), 1);
    w.close();
}

TEST_F(PracticeWindow, MissingPicturesRefuseAndEndTheProgram)
{
    struct Case {
        const char *missing;
        bool atCreation;
    } cases[] = {{"vloxdw_w", true}, {"vloxup", true}, {"vloxtxdw", false}};
    for (const Case &c : cases) {
        QDir(b.dir() + QStringLiteral("pic")).removeRecursively();
        writePictures(b.dir(), {QString::fromLatin1(c.missing)});
        prompts.prompts.clear();
        EndProgramGuard end;
        TFrmLxxt w;
        EXPECT_EQ(w.resourcesMissing(), c.atCreation) << c.missing;
        EXPECT_FALSE(w.LoadQuestionList()) << c.missing;
        EXPECT_TRUE(w.resourcesMissing());
        ASSERT_EQ(prompts.prompts.size(), 1) << c.missing;
        EXPECT_EQ(prompts.prompts[0].caption, QStringLiteral("错误"));
        EXPECT_EQ(prompts.prompts[0].text, QStringLiteral("无法提取资源文件！"));
        EXPECT_EQ(prompts.prompts[0].dlgPage, seams::DlgError);
        EXPECT_EQ(end.calls, 1);
    }
}

TEST_F(PracticeWindow, CompactLayoutFor800Screens)
{
    shell().ScreenMode = QStringLiteral("800");
    TFrmLxxt w;
    ASSERT_TRUE(w.LoadQuestionList());
    w.show();
    EXPECT_EQ(w.size(), QSize(780, 490));
    // Everything of the question board stays inside the window.
    for (QWidget *part : {static_cast<QWidget *>(w.FlatSpeedButton2), static_cast<QWidget *>(w.epEfTrBtn99),
                          static_cast<QWidget *>(w.epEfTrBtn11), static_cast<QWidget *>(w.questionButtons[19])}) {
        const QRect r(part->mapTo(&w, QPoint(0, 0)), part->size());
        EXPECT_TRUE(w.rect().contains(r)) << part->objectName().toStdString();
    }
    w.close();
    shell().ScreenMode = QStringLiteral("1024");
    TFrmLxxt big;
    ASSERT_TRUE(big.LoadQuestionList());
    big.show();
    EXPECT_EQ(big.size(), QSize(1000, 700));
    big.close();
}
