// The mock exam windows driven like a user: a paper generated from the menu
// command, answered through the answer area, paused, submitted and marked;
// the submit question's other answers, the silent discard and the time
// limit; review, voiding and deletion from the paper records; the exam
// settings window.
#include "ExamFixture.h"
#include "ExamWindowEnv.h"

#include "common/CommonRoutines.h"
#include "widgets/ModalGui.h"
#include "common/ShellState.h"
#include "exam/Ucheck.h"
#include "exam/Ueset.h"
#include "exam/Uexam.h"
#include "exam/UexamLinks.h"
#include "exam/UexamProgress.h"
#include "exam/UexamStart.h"
#include "platform/DocumentWriter.h"
#include "practice/AnswerAreaWidget.h"
#include "keypoints/UanswFagui.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/Ubj.h"
#include "practice/Ujx.h"
#include "store/SqlText.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// Every seam of the exam flows recorded (see ExamWindowEnv.h).
using ExamEnv = examwindow::Env;

void click(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }

void screenshot(QWidget &w, const char *name)
{
    const QByteArray dir = qgetenv("PELLBROOK_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    QCoreApplication::processEvents();
    w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

} // namespace

TEST(ExamWindow, AnswerPauseSubmitAndReview)
{
    ExamEnv env(4);
    bool drove = false;
    env.runExam(4, [&](TFrmExam &w) {
        drove = true;
        EXPECT_EQ(w.windowTitle(), QStringLiteral("正在答卷"));
        EXPECT_EQ(w.epLabel2->text(), QStringLiteral("2026年03月10日Dunmire[1]"));
        EXPECT_EQ(w.SheetCellCount, 110);
        // 15 questions: cells 1..15 usable, the rest disabled and tagged 0.
        EXPECT_TRUE(w.cell(15)->isEnabled());
        EXPECT_FALSE(w.cell(16)->isEnabled());
        EXPECT_EQ(w.cell(16)->tag, 0);
        EXPECT_EQ(w.currentQuestion(), 1);
        EXPECT_FALSE(w.epEfTrBtn1->isEnabled());
        EXPECT_TRUE(w.epEfTrBtn2->isEnabled());
        EXPECT_FALSE(w.epEfTrBtn6->isEnabled());   // no answer check while answering
        EXPECT_FALSE(w.epEfTrBtn12->isEnabled());
        EXPECT_FALSE(w.epEfTrBtn10->isEnabled());
        EXPECT_EQ(w.Label7->text(), QStringLiteral("单项选择题 每题1分 共10分"));
        EXPECT_EQ(w.AnswerArea->page(), 0);
        EXPECT_FALSE(w.Re1->toPlainText().isEmpty());

        // Question 1 answered right with the mouse, question 2 wrong with
        // the keyboard; Enter moves on.
        const QString q1 = w.questions().at(0).a1;
        const QString q2 = w.questions().at(1).a1;
        click(w.AnswerArea->optionButton(0, 0));
        click(w.epEfTrBtn2);
        EXPECT_EQ(w.currentQuestion(), 2);
        EXPECT_EQ(w.cell(1)->look, exam::CellLook::Answered);
        EXPECT_EQ(env.b.value(QStringLiteral("select E2_1 from tab_exam1 where A1=?"), {q1}).toString(), QStringLiteral("A"));
        QTest::keyClick(&w, Qt::Key_C);
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_EQ(w.currentQuestion(), 3);
        EXPECT_EQ(env.b.value(QStringLiteral("select E2_1 from tab_exam1 where A1=?"), {q2}).toString(), QStringLiteral("C"));
        // Back to 2 and away again without a change: nothing more counted.
        QTest::keyClick(&w, Qt::Key_Backspace);
        EXPECT_EQ(w.currentQuestion(), 2);
        EXPECT_TRUE(w.AnswerArea->optionButton(0, 2)->isChecked());   // the answer given is restored
        click(w.cell(3));
        EXPECT_EQ(env.b.value(QStringLiteral("select A2 from tab_rz where A1=?"), {env.today()}).toInt(), 2);
        screenshot(w, "exam_answering");

        // Pause: the question is covered and the clock stands still.
        env.now += 65000;
        w.KZTimeCounter1Timer();
        EXPECT_EQ(w.epLb_time1->text(), QStringLiteral("0:01:05"));
        click(w.epEfTrBtn13);
        EXPECT_TRUE(w.isPaused());
        EXPECT_EQ(w.epEfTrBtn13->text(), QStringLiteral("继续考试"));
        EXPECT_TRUE(w.suiPanel1->isVisible());
        EXPECT_EQ(w.suiPanel1->geometry(), QRect(w.Panel1->mapTo(&w, QPoint(0, 0)), w.Panel1->size()));
        EXPECT_TRUE(w.ScrollText1->isScrolling());
        EXPECT_EQ(w.ScrollText1->lines().size(), 13);
        for (QWidget *off : {static_cast<QWidget *>(w.epEfTrBtn3), static_cast<QWidget *>(w.epEfTrBtn5),
                             static_cast<QWidget *>(w.epEfTrBtn7), static_cast<QWidget *>(w.fcBG_th),
                             static_cast<QWidget *>(w.epEfTrBtn1), static_cast<QWidget *>(w.epEfTrBtn2)})
            EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
        EXPECT_TRUE(w.epEfTrBtn8->isEnabled());
        EXPECT_TRUE(w.epEfTrBtn11->isEnabled());
        screenshot(w, "exam_paused");
        env.now += 1000000;
        w.KZTimeCounter1Timer();
        EXPECT_EQ(w.epLb_time1->text(), QStringLiteral("0:01:05"));
        click(w.epEfTrBtn13);
        EXPECT_FALSE(w.suiPanel1->isVisible());
        EXPECT_FALSE(w.ScrollText1->isScrolling());
        EXPECT_TRUE(w.epEfTrBtn1->isEnabled());   // question 3: both were enabled before
        EXPECT_TRUE(w.epEfTrBtn2->isEnabled());
        EXPECT_TRUE(w.epEfTrBtn3->isEnabled());
        env.now += 10000;

        // Submit: 13 of 15 unanswered, confirmed with "确定".
        env.prompts.answers = {1};
        click(w.epEfTrBtn3);
        ASSERT_FALSE(env.prompts.prompts.isEmpty());
        const seams::Prompt &p = env.prompts.prompts.last();
        EXPECT_EQ(p.text, QStringLiteral("你还有13道题未做，确定要交卷吗？"));
        EXPECT_EQ(p.caption, QStringLiteral("提示"));
        EXPECT_EQ(p.dlgKind, 2);
        EXPECT_EQ(p.wording, QStringLiteral("Exam"));

        // Review in the same window.
        EXPECT_FALSE(w.isClosed());
        EXPECT_EQ(w.windowTitle(), QStringLiteral("查阅试卷"));
        EXPECT_EQ(w.paper().mode, QStringLiteral("old"));
        EXPECT_EQ(w.Lb_zfs->text(), QStringLiteral("得分：1 分"));
        EXPECT_EQ(w.epLb_time2->text(), QStringLiteral("0:01:15"));
        EXPECT_EQ(w.Notebook_Time->currentIndex(), 1);
        EXPECT_FALSE(w.epEfTrBtn3->isEnabled());
        EXPECT_FALSE(w.epEfTrBtn13->isVisible());
        EXPECT_FALSE(w.AnswerArea->Notebook1->isEnabled());
        EXPECT_EQ(w.cell(1)->look, exam::CellLook::Right);
        EXPECT_EQ(w.cell(2)->look, exam::CellLook::Wrong);
        EXPECT_EQ(w.cell(3)->look, exam::CellLook::Wrong);   // unanswered shows as wrong
        EXPECT_EQ(w.currentQuestion(), 1);
        EXPECT_TRUE(w.epEfTrBtn6->isEnabled());
        EXPECT_TRUE(w.epEfTrBtn12->isEnabled());

        // The answer check of question 2.
        click(w.cell(2));
        click(w.epEfTrBtn6);
        w.Panel2->finishSlide();
        EXPECT_EQ(w.epEfTrBtn6->text(), QStringLiteral("返回"));
        EXPECT_EQ(w.Panel2->Lb_answtip->text(), QStringLiteral("很遗憾，做错了，请继续努力！"));
        EXPECT_EQ(w.Panel2->Memo1->toPlainText(), QStringLiteral("C"));
        EXPECT_EQ(w.Panel2->Memo2->toPlainText(), QStringLiteral("A"));
        EXPECT_EQ(w.Panel2->width(), w.Panel1->width());
        screenshot(w, "exam_review");
        click(w.cell(1));   // leaving the question closes the panel
        EXPECT_EQ(w.epEfTrBtn6->text(), QStringLiteral("答案"));
        EXPECT_FALSE(w.Panel2->isVisible());

        click(w.epEfTrBtn7);
        EXPECT_TRUE(w.isClosed());
        EXPECT_FALSE(w.isVisible());
    });
    ASSERT_TRUE(drove);
    EXPECT_EQ(env.ended, 0);
    for (const char *stage : {"正在初始化数据...", "正在建立数据表...", "正在整理数据...", "正在出卷...", "正在判卷...", "正在提取试卷..."})
        EXPECT_TRUE(env.stages.contains(QString::fromUtf8(stage))) << stage;

    // The result record, the paper, the bank rows and today's log.
    EXPECT_EQ(env.b.row(QStringLiteral("select A1, A6, D2 from tab_cj")),
              (QVariantList{QStringLiteral("tab_exam1"), 1.0, QStringLiteral("0:01:15")}));
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_exam1 where E2_1 <> ''")).toInt(), 2);
    const QString q1 = env.b.value(QStringLiteral("select A1 from tab_exam1 where E2_1='A'")).toString();
    const QString q2 = env.b.value(QStringLiteral("select A1 from tab_exam1 where E2_1='C'")).toString();
    EXPECT_EQ(env.b.row(QStringLiteral("select E2, E3, E4, E1 from tab_answ where A1=?"), {q1}),
              (QVariantList{QStringLiteral("A"), 1, 0, env.today()}));
    EXPECT_EQ(env.b.row(QStringLiteral("select E2, E3, E4 from tab_answ where A1=?"), {q2}),
              (QVariantList{QStringLiteral("C"), 1, -3}));
    EXPECT_EQ(env.b.value(QStringLiteral("select sum(E3) from tab_answ")).toInt(), 2);
    EXPECT_EQ(env.b.row(QStringLiteral("select A2, A3, B1, B2, D1 from tab_rz where A1=?"), {env.today()}),
              (QVariantList{2, 1, 2, 1, QStringLiteral("00:01:15")}));
    EXPECT_EQ(env.b.value(QStringLiteral("select D1 from tab_kmmc where C1='040101'")).toInt(), 2);
}

TEST(ExamWindow, SubmitQuestionCancelThenVoid)
{
    ExamEnv env(4);
    env.b.dm().LogAnswerToday(2, 1, 2);   // today's log row already there
    env.runExam(4, [&](TFrmExam &w) {
        click(w.AnswerArea->optionButton(0, 1));
        env.now += 30000;
        env.prompts.answers = {3};   // 取消
        click(w.epEfTrBtn3);
        EXPECT_EQ(env.prompts.lastText(), QStringLiteral("你还有14道题未做，确定要交卷吗？"));
        EXPECT_FALSE(w.isClosed());
        EXPECT_TRUE(w.clock().running());
        // The question stood open for a while: that time does not count.
        env.now += 5000;
        EXPECT_EQ(w.clock().elapsedSeconds(), 35);
        env.prompts.answers = {2};   // 作废
        click(w.epEfTrBtn7);
        EXPECT_TRUE(w.isClosed());
    });
    // Voided with 14 of 15 unanswered: dropped, and the time goes to the log.
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 0);
    EXPECT_EQ(env.b.value(QStringLiteral("select D1 from tab_rz where A1=?"), {env.today()}).toString(), QStringLiteral("00:00:35"));
    // The answer given stays counted whatever happened to the paper.
    EXPECT_EQ(env.b.value(QStringLiteral("select A2 from tab_rz where A1=?"), {env.today()}).toInt(), 2);
}

TEST(ExamWindow, NothingAnsweredOnAWholeSheetIsDiscardedSilently)
{
    ExamEnv env(1);
    env.runExam(1, [&](TFrmExam &w) {
        EXPECT_EQ(w.questions().size(), 110);
        EXPECT_TRUE(w.cell(110)->isEnabled());
        click(w.epEfTrBtn3);
        EXPECT_TRUE(w.isClosed());
    });
    EXPECT_TRUE(env.prompts.prompts.isEmpty());
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 0);
}

TEST(ExamWindow, TimeUpMarksAndAReviewBelowLeastMarkIsDropped)
{
    ExamEnv env(4, 5, 60);   // LeastMark 5, one minute
    env.runExam(4, [&](TFrmExam &w) {
        click(w.AnswerArea->optionButton(0, 0));   // right: 1 point
        env.now += 59000;
        w.KZTimeCounter1Timer();
        EXPECT_TRUE(env.prompts.prompts.isEmpty());
        env.now += 1000;
        w.KZTimeCounter1Timer();
        ASSERT_EQ(env.prompts.prompts.size(), 1);
        EXPECT_EQ(env.prompts.prompts[0].text, QStringLiteral("很遗憾，考试时间到了！"));
        EXPECT_EQ(env.prompts.prompts[0].kind, seams::Prompt::Kind::MessageBox);
        EXPECT_EQ(env.prompts.prompts[0].icon, int(seams::Prompt::Information));
        // The answer on screen was recorded, then the paper marked.
        EXPECT_EQ(w.paper().mode, QStringLiteral("old"));
        EXPECT_EQ(w.Lb_zfs->text(), QStringLiteral("得分：1 分"));
        EXPECT_EQ(w.epLb_time2->text(), QStringLiteral("0:01:00"));
        EXPECT_TRUE(w.BelowLeastMark);
        EXPECT_EQ(env.b.value(QStringLiteral("select A6 from tab_cj")).toDouble(), 1.0);
        click(w.epEfTrBtn7);
    });
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 0);
}

TEST(ExamWindow, ExamTimeZeroEndsAtTheFirstTick)
{
    ExamEnv env(4, 0, 0);
    env.runExam(4, [&](TFrmExam &w) {
        w.KZTimeCounter1Timer();
        EXPECT_EQ(env.prompts.lastText(), QStringLiteral("很遗憾，考试时间到了！"));
        EXPECT_EQ(w.paper().mode, QStringLiteral("old"));
        click(w.epEfTrBtn7);
    });
    EXPECT_EQ(env.b.row(QStringLiteral("select A6, D2 from tab_cj")), (QVariantList{0.0, QStringLiteral("0:00:00")}));
}

TEST(ExamWindow, FailuresEndTheProgramAfterTheirMessage)
{
    {
        ExamEnv env(0);   // no question in the bank
        env.runExam(2, [&](TFrmExam &) { ADD_FAILURE() << "no window without a paper"; });
        EXPECT_EQ(env.prompts.lastText(), QStringLiteral("没有发现题目！"));
        EXPECT_EQ(env.prompts.prompts.last().caption, QStringLiteral("错误"));
        EXPECT_EQ(env.prompts.prompts.last().dlgPage, 2);
        EXPECT_EQ(env.ended, 1);
        EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
    }
    {
        ExamEnv env(4);
        QFile::remove(env.b.dir() + QStringLiteral("pic/vloxno.bmp"));
        env.runExam(4, [&](TFrmExam &) { ADD_FAILURE() << "no window without its pictures"; });
        EXPECT_EQ(env.prompts.lastText(), QStringLiteral("无法提取资源文件！"));
        EXPECT_EQ(env.ended, 1);
        EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
    }
}

TEST(PaperRecordsWindow, ListsReviewsVoidsAndDeletes)
{
    ExamEnv env(4, 60);
    // Two papers: one marked, one never marked.
    exam::generatePaper(env.b.dm(), 4);
    exam::generatePaper(env.b.dm(), 4);
    env.b.run(QStringLiteral("update tab_exam1 set E2_1=A2"));
    env.b.run(QStringLiteral("update tab_cj set A6=15, D2='0:20:00' where A1='tab_exam1'"));
    env.b.run(QStringLiteral("update tab_tx4 set B3=10 where A1=62"));   // total 100+3+1+1 = 105, pass mark 63

    TFrmCheck w;
    w.show();
    ASSERT_EQ(w.DBGrid1->rowCount(), 2);
    EXPECT_EQ(w.DBGrid1->item(0, 0)->text(), QStringLiteral("2026年03月10日Dunmire[2]"));
    EXPECT_EQ(w.DBGrid1->item(0, 1)->text(), QString());
    EXPECT_EQ(w.DBGrid1->item(1, 1)->text(), QStringLiteral("15"));
    EXPECT_EQ(w.DBGrid1->item(1, 2)->text(), QStringLiteral("0:20:00"));
    EXPECT_EQ(int(w.epNumPanel1->value()), 2);
    EXPECT_EQ(int(w.epNumPanel2->value()), 0);
    EXPECT_EQ(int(w.epNumPanel3->value()), 15);
    EXPECT_EQ(w.Lbtip->text(), QStringLiteral("[提示]：成绩少于 60 分的试卷，不被保留。"));
    screenshot(w, "records");

    // Review the marked paper: below LeastMark, yet closing keeps it.
    bool reviewed = false;
    ui::setModalHook([&](QDialog *d) {
        auto *e = qobject_cast<TFrmExam *>(d);
        EXPECT_NE(e, nullptr);
        if (!e)
            return 0;
        reviewed = true;
        e->show();
        EXPECT_EQ(e->windowTitle(), QStringLiteral("查阅试卷"));
        EXPECT_EQ(e->Lb_zfs->text(), QStringLiteral("得分：15 分"));
        EXPECT_EQ(e->cell(1)->look, exam::CellLook::Right);
        EXPECT_EQ(e->Label7->text(), QStringLiteral("单项选择题 每题10分 共100分"));
        // Voiding question 1 marks it in the paper and in the bank.
        const QString id = e->questions().at(0).a1;
        click(e->epEfTrBtn12);
        EXPECT_EQ(e->Label1->text(), QStringLiteral("本题已被您作废！"));
        EXPECT_EQ(e->epEfTrBtn12->text(), QStringLiteral("取消作废"));
        EXPECT_EQ(env.b.row(QStringLiteral("select F1, E2 from tab_answ where A1=?"), {id}), (QVariantList{1, QStringLiteral("zero")}));
        click(e->epEfTrBtn12);
        EXPECT_EQ(e->Label1->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
        EXPECT_EQ(env.b.value(QStringLiteral("select F1 from tab_answ where A1=?"), {id}).toInt(), 0);
        // The note and the explanation go through their links.
        QString seenNote;
        examlinks::setNoteLink([&](QWidget *, const QString &table, const QString &qid, QString &note) {
            EXPECT_EQ(table, QStringLiteral("tab_exam1"));
            EXPECT_EQ(qid, id);
            seenNote = note;
            note = QStringLiteral("记住");
            return true;
        });
        click(e->epEfTrBtn5);
        EXPECT_EQ(e->epEfTrBtn5->text(), QStringLiteral("有内容"));
        click(e->epEfTrBtn7);
        return e->result();
    });
    w.DBGrid1->selectRow(1);
    w.epEfTrBtn1Click();
    ui::setModalHook({});
    EXPECT_TRUE(reviewed);
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_cj")).toInt(), 2);
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 1);

    // Reviewing a paper whose table is lost ends the program.
    env.b.run(QStringLiteral("drop table tab_exam2"));
    w.DBGrid1->selectRow(0);
    ui::setModalHook([&](QDialog *) {
        ADD_FAILURE() << "a lost paper is not shown";
        return 0;
    });
    w.epEfTrBtn1Click();
    ui::setModalHook({});
    EXPECT_EQ(env.prompts.lastText(), QStringLiteral("无法打开试卷！"));
    EXPECT_EQ(env.ended, 1);

    // Deleting asks first; Cancel keeps the paper, OK removes it.
    env.prompts.answers = {seams::Prompt::Cancel};
    w.DBGrid1->selectRow(1);
    click(w.SpeedButton4);
    EXPECT_EQ(env.prompts.lastText(), QStringLiteral("即将删除试卷，要继续么？"));
    EXPECT_EQ(w.DBGrid1->rowCount(), 2);
    env.prompts.answers = {seams::Prompt::Ok};
    w.DBGrid1->selectRow(1);
    click(w.SpeedButton4);
    EXPECT_EQ(w.DBGrid1->rowCount(), 1);
    EXPECT_EQ(env.b.value(QStringLiteral("select group_concat(A1) from tab_cj")).toString(), QStringLiteral("tab_exam2"));
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 0);
    // The record of the lost table goes too.
    w.DBGrid1->selectRow(0);
    click(w.SpeedButton4);
    EXPECT_EQ(w.DBGrid1->rowCount(), 0);
    w.FormShow();
    EXPECT_EQ(int(w.epNumPanel1->value()), 0);
    EXPECT_FALSE(w.reviewEnabled());
}

TEST(ExamSettingsWindow, ChecksDefaultsAndSaves)
{
    ExamEnv env(0, 50, 7200);
    env.b.run(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (61,'a',40,1),(65,'b',15,2),(71,'c',40,1),(73,'d',15,2)"));
    env.b.dm().setTypeTable(1);   // total 140

    TFrmEset w;
    w.show();
    EXPECT_EQ(w.size(), QSize(360, 159));
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("50"));
    EXPECT_EQ(w.suiNumberEdit2->text(), QStringLiteral("120"));
    EXPECT_FALSE(w.suiButton1->isEnabled());
    screenshot(w, "settings");

    w.suiNumberEdit1->clear();
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("0"));
    w.suiNumberEdit1->setText(QStringLiteral("150"));
    EXPECT_EQ(env.prompts.lastText(), QStringLiteral("最低分数不能超过总分数！"));
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("140"));
    w.suiNumberEdit1->setFocus();
    QTest::keyClicks(w.suiNumberEdit1, QStringLiteral("x"));   // not a digit: refused by the box
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("140"));

    click(w.suiCheckBox1);
    EXPECT_TRUE(w.suiButton1->isEnabled());
    w.suiNumberEdit2->setText(QStringLiteral("30"));
    click(w.suiButton1);
    EXPECT_EQ(w.suiNumberEdit1->text(), QStringLiteral("70"));
    EXPECT_EQ(w.suiNumberEdit2->text(), QStringLiteral("30"));   // not ticked: kept
    click(w.suiCheckBox2);
    click(w.suiButton1);
    EXPECT_EQ(w.suiNumberEdit2->text(), QStringLiteral("120"));
    click(w.suiCheckBox1);
    click(w.suiCheckBox2);
    EXPECT_FALSE(w.suiButton1->isEnabled());

    w.suiNumberEdit2->setText(QStringLiteral("90"));
    click(w.suiButton2);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(env.b.row(QStringLiteral("select LeastMark, ExamTime from tab_plan")), (QVariantList{70, 5400}));

    // What is not a whole number stays on view and is refused in words
    // when saved, never read as another number ("2,5" as 25).
    for (int n : {1, 2}) {
        TFrmEset typed;
        typed.show();
        QLineEdit *e = n == 1 ? typed.suiNumberEdit1 : typed.suiNumberEdit2;
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("2,5"));
        EXPECT_EQ(e->text(), QStringLiteral("2,5"));
        click(typed.suiButton2);
        EXPECT_EQ(env.prompts.lastText(), QStringLiteral("请输入0到999之间的整数！"));
        EXPECT_EQ(env.prompts.prompts.last().caption, QStringLiteral("提示"));
        EXPECT_TRUE(typed.isVisible());
        EXPECT_EQ(env.b.row(QStringLiteral("select LeastMark, ExamTime from tab_plan")), (QVariantList{70, 5400}));
    }

    // An empty minutes box is not saved.
    TFrmEset again;
    again.show();
    again.suiNumberEdit2->clear();
    const int before = int(env.prompts.prompts.size());
    click(again.suiButton2);
    ASSERT_EQ(env.prompts.prompts.size(), before + 1);
    EXPECT_EQ(env.prompts.lastText(), QStringLiteral("保存设置失败！"));
    EXPECT_EQ(env.prompts.prompts.last().caption, QStringLiteral("警告"));
    EXPECT_EQ(env.b.row(QStringLiteral("select LeastMark, ExamTime from tab_plan")), (QVariantList{70, 5400}));
}

TEST(ExamWindow, ReviewOpensExplanationNoteAndKeyPointsOnThePaperRow)
{
    ExamEnv env(4);
    env.b.addKeyPoint(QStringLiteral("0401010001"));
    exam::PaperState p = exam::generatePaper(env.b.dm(), 4);
    const QString q1 = env.b.value(QStringLiteral("select A1 from tab_exam1 order by A13, A1")).toString();
    env.b.run(QStringLiteral("update tab_exam1 set jx=? where A1=?"), {QByteArray("{\\rtf1 paper explanation}"), q1});
    env.b.run(QStringLiteral("update tab_exam1 set K3='0401010001' where A1=?"), {q1});
    env.b.run(QStringLiteral("update tab_answ set K3='0401010001' where A1=?"), {q1});

    TFrmExam w;
    w.OpenPaper(p.tableName, p.title, QStringLiteral("old"), 0, QStringLiteral("0:10:00"));
    ASSERT_EQ(w.LoadPaper(), 1);
    w.show();
    ASSERT_EQ(w.currentQuestion(), 1);
    EXPECT_TRUE(w.epEfTrBtn4->isEnabled());   // an explanation
    EXPECT_TRUE(w.epEfTrBtn9->isEnabled());   // a key point
    EXPECT_EQ(w.Lb_zfs->text(), QStringLiteral("得分：0 分"));

    QStringList opened;
    ui::setModalHook([&](QDialog *d) {
        opened << d->metaObject()->className();
        d->show();
        if (auto *jx = qobject_cast<TFrmJx *>(d)) {
            EXPECT_TRUE(jx->Re->toPlainText().contains(QStringLiteral("paper explanation")));
        } else if (auto *bj = qobject_cast<TFrmBj *>(d)) {
            QTest::keyClicks(bj->DBMemo1, QStringLiteral("exam note"));
        } else if (auto *kp = qobject_cast<TfrmAnswFagui *>(d)) {
            EXPECT_EQ(kp->m_listbox, QStringList{QStringLiteral("0401010001")});
        }
        d->done(QDialog::Accepted);
        return d->result();
    });
    click(w.epEfTrBtn4);
    click(w.epEfTrBtn5);
    click(w.epEfTrBtn9);
    click(w.cell(2));   // no key point: the button is grey and nothing opens
    EXPECT_FALSE(w.epEfTrBtn9->isEnabled());
    w.epEfTrBtn9Click();
    ui::setModalHook({});
    EXPECT_EQ(opened, (QStringList{QStringLiteral("TFrmJx"), QStringLiteral("TFrmBj"), QStringLiteral("TfrmAnswFagui")}));
    // The note lives in the paper table only.
    EXPECT_EQ(env.b.value(QStringLiteral("select A14 from tab_exam1 where A1=?"), {q1}).toString(), QStringLiteral("exam note"));
    EXPECT_TRUE(env.b.value(QStringLiteral("select A14 from tab_answ where A1=?"), {q1}).toString().isEmpty());
    click(w.cell(1));
    EXPECT_EQ(w.epEfTrBtn5->text(), QStringLiteral("有内容"));
}

TEST(ExamWindow, MaterialsMissingBodiesAndTheDesktopButton)
{
    ExamEnv env(4);
    // The second question of the paper becomes a sub-question of a material.
    const QString sub = QStringLiteral("0462000000000001-1");
    env.b.run(QStringLiteral("update tab_answ set A1=? where A1='046200000001'"), {sub});
    env.b.run(QStringLiteral("update tab_exer set A1=?, A15=? where A1='046200000001'"), {sub, QByteArray("sub-question text")});
    env.b.run(QStringLiteral("insert into tab_title (A1, A15) values ('0462000000000001', ?)"), {QByteArray("shared material")});
    // Exactly ten single-choice questions: all of them are drawn.
    env.b.run(QStringLiteral("delete from tab_answ where A1 in ('046200000010','046200000011','046200000012')"));
    env.runExam(4, [&](TFrmExam &w) {
        // Ordered by id, the sub-question is the second question.
        ASSERT_EQ(w.questions().at(1).a1, sub);
        EXPECT_EQ(w.Splitter1->handleWidth(), 0);   // question 1 has no material
        EXPECT_EQ(w.Splitter1->sizes().value(1), 0);
        w.selectQuestion(2);
        EXPECT_EQ(w.Re1->toPlainText(), QStringLiteral("shared material"));
        EXPECT_EQ(w.Re2->toPlainText(), QStringLiteral("sub-question text"));
        EXPECT_EQ(w.Splitter1->handleWidth(), 6);
        // A question whose text is missing says so and stays on screen.
        const QString lost = w.questions().at(2).a1;
        env.b.run(QStringLiteral("delete from tab_exer where A1=?"), {lost});
        w.selectQuestion(3);
        EXPECT_EQ(env.prompts.lastText(), QStringLiteral("找不到该试题！"));
        EXPECT_EQ(env.prompts.prompts.last().caption, QStringLiteral("错误"));
        EXPECT_EQ(w.currentQuestion(), 3);
        EXPECT_TRUE(w.Re1->toPlainText().isEmpty());

        env.now += 5000;
        click(w.epEfTrBtn11);   // 桌面
        EXPECT_TRUE(w.isMinimized());
        w.showNormal();
        // Back from the desktop the exam goes on where it was.
        EXPECT_EQ(w.clock().elapsedSeconds(), 5);
        EXPECT_EQ(w.currentQuestion(), 3);
        env.prompts.answers = {2};
        click(w.epEfTrBtn7);
    });
}

TEST(ExamWindow, AMarkingFailureShowsThePaperInReviewWithWhatWasStored)
{
    ExamEnv env(4, 10);
    env.runExam(4, [&](TFrmExam &w) {
        click(w.AnswerArea->optionButton(0, 0));
        click(w.epEfTrBtn2);
        env.b.run(QStringLiteral("drop table tab_tx4"));   // the score cannot be summed
        env.prompts.answers = {1};
        click(w.epEfTrBtn3);
        ASSERT_EQ(env.prompts.prompts.size(), 2);
        EXPECT_EQ(env.prompts.prompts[1].text, QStringLiteral("发生错误！"));
        EXPECT_EQ(env.prompts.prompts[1].caption, QStringLiteral("错误"));
        EXPECT_EQ(env.prompts.prompts[1].dlgPage, 2);
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(w.windowTitle(), QStringLiteral("查阅试卷"));
        EXPECT_EQ(w.Lb_zfs->text(), QStringLiteral("得分：0 分"));
        // The answers stored while answering are what review shows.
        EXPECT_EQ(w.questions().at(0).e2_1, QStringLiteral("A"));
        EXPECT_EQ(w.cell(1)->look, exam::CellLook::Right);
        EXPECT_FALSE(w.BelowLeastMark);
        click(w.epEfTrBtn7);
        EXPECT_TRUE(w.isClosed());
    });
    EXPECT_EQ(env.ended, 0);
    // Nothing of the marking was kept: the paper stays, unscored.
    EXPECT_TRUE(env.b.value(QStringLiteral("select A6 from tab_cj where A1='tab_exam1'")).isNull());
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from sqlite_master where name='tab_exam1'")).toInt(), 1);
}

TEST(ExamWindow, ReviewExportsThePaperToADocumentBetweenTheProgressTexts)
{
    ExamEnv env(4);
    QTemporaryDir documents;
    docwriter::setDocumentsFolder(documents.path());
    QStringList seen;   // progress texts, "hide", and the files handed out
    exam::setProgressView({[&](const QString &s) { seen << s; }, [&] { seen << QStringLiteral("hide"); }});
    docwriter::setOpener([&](const QString &path) {
        seen << QFileInfo(path).fileName();
        EXPECT_GT(QFileInfo(path).size(), 0);
        return true;
    });
    exam::PaperState p = exam::generatePaper(env.b.dm(), 4);
    TFrmExam w;
    w.OpenPaper(p.tableName, p.title, QStringLiteral("old"), 0, QStringLiteral("0:10:00"));
    ASSERT_EQ(w.LoadPaper(), 1);
    w.show();
    ASSERT_TRUE(w.epEfTrBtn10->isEnabled());
    seen.clear();
    click(w.epEfTrBtn10);
    docwriter::setOpener({});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("正在导出试卷，请等待..."), p.title + QStringLiteral(".odt"),
                                 QStringLiteral("hide")}));
    EXPECT_TRUE(env.prompts.prompts.isEmpty());
    EXPECT_EQ(w.currentQuestion(), 1);   // the review goes on where it was
    docwriter::setDocumentsFolder(QString());
    EXPECT_TRUE(QFileInfo::exists(documents.path() + QStringLiteral("/Pellbrook/") + p.title + QStringLiteral(".odt")));
}
