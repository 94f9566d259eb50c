// The key-point directory driven through its controls: the group list,
// search, the heading refusal, a group's detail view, the key filter,
// practising a key point through the answer area and coming back with
// refreshed figures, groups without key points or without questions, both
// layouts, and the menu commands that open it.
#include "practice/PracticeFixtures.h"
#include "app/start.h"
#include "common/ShellState.h"
#include "keypoints/Laws.h"
#include "keypoints/details.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/uRulelxxt.h"
#include "store/SqlText.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace practicefixtures;

namespace {

const QString Kp1 = QStringLiteral("0101010001");   // 要约, 6 questions listed
const QString Kp2 = QStringLiteral("0101010002");   // 承诺(一般规定), 1
const QString Kp3 = QStringLiteral("0101010003");   // 要约 again, 2: cited by k1 and k2
const QString Kp4 = QStringLiteral("0101010004");   // 合同形式, none

class Directory : public PracticeBankTest {
protected:
    void SetUp() override
    {
        PracticeBankTest::SetUp();
        for (const char *c : {"1", "10", "1001", "100101"})
            b.addChapter(QString::fromLatin1(c));
        b.run(QStringLiteral("insert into tab_fgmc (id, bh, n, q) values ('01', 1, '第一编 合同', 10),"
                             " ('010101', 2, '第一组 合同的订立', 10), ('010102', 3, '第二组 合同的效力', 3)"));
        const struct {
            QString ftid;
            const char *title;
            int q;
        } rules[] = {{Kp1, "要约    ", 6}, {Kp2, "承诺(一般规定)", 1}, {Kp3, "要约", 2}, {Kp4, "合同形式", 0}};
        for (const auto &r : rules)
            b.run(QStringLiteral("insert into tab_rule (id, ftid, sn, n, q) values ('010101', ?, ?, ?, ?)"),
                  {r.ftid, QString::fromUtf8(r.title), rtf(QStringLiteral("正文 ") + r.ftid), r.q});
        // Kp3 is cited by k1 in K3 and by k2 in K12 only; o1 cites Kp1.
        b.addQuestion(QStringLiteral("k1"), QStringLiteral("B"), 61, QStringLiteral("100101"), {Kp3});
        b.addQuestion(QStringLiteral("k2"), QStringLiteral("A"), 61, QStringLiteral("100101"));
        b.run(QStringLiteral("update tab_answ set K12=? where A1='k2'"), {Kp3});
        b.addQuestion(QStringLiteral("o1"), QStringLiteral("C"), 61, QStringLiteral("100101"), {Kp1});
        b.run(QStringLiteral("update tab_exer set A15=? where A1='k1'"), {rtf(QStringLiteral("第一题 关于要约"))});
    }
    QStringList entries(TfrmLawsFaGui &w)
    {
        QStringList out;
        for (int i = 0; i < w.detail()->m_LBmenu->count(); ++i)
            out << w.detail()->m_LBmenu->item(i)->text();
        return out;
    }
    QString cell(TfrmLawsFaGui &w, int row, int column) { return w.m_grid->item(row, column)->text(); }
    void clickEntry(TfrmLawsFaGui &w, int entry)
    {
        QListWidget *list = w.detail()->m_LBmenu;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(entry)).center());
    }
    // Alt + letter: the mnemonic of a caption.
    // Alt + letter, the mnemonic of a caption: the button shows itself
    // pressed and clicks a moment later.
    void alt(QWidget &w, Qt::Key key)
    {
        QTest::keyClick(&w, key, Qt::AltModifier);
        QTest::qWait(150);
    }
    QVariantList counters(const QString &table, const QString &key, const QString &id, const QString &fields)
    {
        return b.row(QStringLiteral("select %1 from %2 where %3=?").arg(fields, table, key), {id});
    }
};

void activate(QWidget &w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

TEST_F(Directory, PractiseAKeyPointAndComeBack)
{
    TfrmLawsFaGui w;
    activate(w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("考 点 目 录"));
    EXPECT_EQ(w.size(), QSize(900, 599));
    EXPECT_EQ(w.m_grid->columnWidth(0), 554);
    EXPECT_EQ(w.m_grid->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("                             考 点 名 称"));
    EXPECT_EQ(w.m_grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("  题  数"));
    EXPECT_EQ(w.codes(), (QStringList{QStringLiteral("01"), QStringLiteral("010101"), QStringLiteral("010102")}));
    EXPECT_EQ(cell(w, 1, 1), QStringLiteral("       10"));
    EXPECT_EQ(cell(w, 1, 4), QStringLiteral("        0"));
    EXPECT_FALSE(w.m_btnBack->isVisible());
    EXPECT_FALSE(w.m_btnMost->isEnabled());
    EXPECT_FALSE(w.m_btnQuestion->isEnabled());

    // A heading cannot be opened.
    w.m_grid->setCurrentCell(0, 0);
    EXPECT_EQ(w.m_grid->toolTip(), QStringLiteral("第一编 合同"));
    alt(w, Qt::Key_S);
    ASSERT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(prompts.prompts[0].kind, seams::Prompt::Kind::ShowDlg);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("请选择具体章节!"));
    EXPECT_EQ(prompts.prompts[0].dlgKind, 3);
    EXPECT_EQ(prompts.prompts[0].dlgPage, 1);
    EXPECT_EQ(w.detail(), nullptr);

    // Search by Enter in the box; blanks find nothing.
    w.m_editFind->setText(QStringLiteral("合同的"));
    QTest::keyClick(w.m_editFind, Qt::Key_Return);
    EXPECT_EQ(w.m_grid->currentRow(), 1);   // first of two matches
    w.m_grid->setCurrentCell(2, 0);
    w.m_editFind->setText(QStringLiteral("   "));
    QTest::mouseClick(w.m_btnFind, Qt::LeftButton);
    EXPECT_EQ(w.m_grid->currentRow(), 2);
    w.m_editFind->setText(QStringLiteral("订立"));
    alt(w, Qt::Key_F);
    EXPECT_EQ(w.m_grid->currentRow(), 1);

    // The group opens into its detail view.
    alt(w, Qt::Key_S);
    ASSERT_NE(w.detail(), nullptr);
    EXPECT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("第一组 合同的订立"));
    EXPECT_EQ(w.threshold(), 2);   // 10 questions over 4 key points
    EXPECT_FALSE(w.m_grid->isVisible());
    EXPECT_FALSE(w.m_editFind->isVisible());
    EXPECT_TRUE(w.m_btnBack->isVisible());
    EXPECT_TRUE(w.m_btnMost->isEnabled());
    EXPECT_EQ(entries(w), (QStringList{QStringLiteral("要约(6)"), QStringLiteral("承诺(一般规定)(1)"), QStringLiteral("要约(2)"),
                                       QStringLiteral("合同形式")}));
    EXPECT_EQ(w.detail()->m_LBmenu->currentRow(), 0);
    EXPECT_EQ(w.detail()->Re->toPlainText(), QStringLiteral("正文 ") + Kp1);
    EXPECT_EQ(w.detail()->m_pNote->text(), QStringLiteral("相关题数：6题  已做题数：0题  已做道次：0次  做错道次：0次"));
    EXPECT_TRUE(w.m_btnQuestion->isEnabled());
    clickEntry(w, 3);
    EXPECT_EQ(w.detail()->Re->toPlainText(), QStringLiteral("正文 ") + Kp4);
    EXPECT_EQ(w.detail()->m_pNote->text(), QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"));
    EXPECT_FALSE(w.m_btnQuestion->isEnabled());

    // The key filter keeps the key points with at least 2 questions.
    alt(w, Qt::Key_M);
    EXPECT_EQ(entries(w), (QStringList{QStringLiteral("要约(6)"), QStringLiteral("要约(2)")}));
    EXPECT_EQ(w.m_btnMost->text(), QStringLiteral("全部(&A)"));
    EXPECT_EQ(w.filterToggle(), 1);
    clickEntry(w, 1);
    EXPECT_EQ(w.detail()->Re->toPlainText(), QStringLiteral("正文 ") + Kp3);

    // Practise the second "要约": its own questions, through the answer area.
    QStringList practised;
    bool coveredWhilePractising = false;
    practicefixtures::ModalHookGuard hook([&](QDialog *d) {
        auto *p = qobject_cast<TFrmRuleLxxt *>(d);
        EXPECT_NE(p, nullptr);
        if (!p)
            return 0;
        coveredWhilePractising = w.hiddenForPractice();
        p->show();
        for (int r = 1; r <= p->run().count(); ++r)
            practised << p->run().row(r).id;
        EXPECT_EQ(p->windowTitle(), QString());
        EXPECT_EQ(p->Lb_hint->text(), QStringLiteral("要约"));
        EXPECT_EQ(p->epEfTrBtn10->text(), QStringLiteral("本题作废"));
        EXPECT_FALSE(p->epEfTrBtn11->isVisible());
        EXPECT_FALSE(p->epEfTrBtn4->isVisible());
        // "完成" before answering.
        QTest::mouseClick(p->epEfTrBtn3, Qt::LeftButton);
        EXPECT_EQ(prompts.lastText(), QStringLiteral("题还没做呢！"));
        // k1 (key B) wrong, then k2 (key A) right, left by closing.
        QTest::mouseClick(p->answerArea->optionButton(practice::PageSingle, 2), Qt::LeftButton);
        QTest::mouseClick(p->epEfTrBtn2, Qt::LeftButton);
        QTest::mouseClick(p->answerArea->optionButton(practice::PageSingle, 0), Qt::LeftButton);
        QCloseEvent close;
        QApplication::sendEvent(p, &close);
        return 0;
    });
    alt(w, Qt::Key_P);
    EXPECT_EQ(practised, (QStringList{QStringLiteral("k1"), QStringLiteral("k2")}));
    EXPECT_TRUE(coveredWhilePractising);
    EXPECT_FALSE(w.hiddenForPractice());
    EXPECT_EQ(prompts.prompts.size(), 2);   // only "题还没做呢！"

    // Counted as chapter practice counts: log, chapters, key point, groups.
    // A question's key points run from K3 to the first empty field, so k2
    // (K12 only) counts into the log and the chapters but not into Kp3.
    const QString today = sqltext::dateText(b.clock().date);
    EXPECT_EQ(counters(QStringLiteral("tab_rz"), QStringLiteral("A1"), today, QStringLiteral("A2, A3, B1, B2")),
              (QVariantList{qlonglong(2), qlonglong(1), qlonglong(2), qlonglong(1)}));
    for (const char *c : {"100101", "1001", "10", "1"})
        EXPECT_EQ(counters(QStringLiteral("tab_kmmc"), QStringLiteral("C1"), QString::fromLatin1(c), QStringLiteral("C4, D1, D2")),
                  (QVariantList{qlonglong(2), qlonglong(2), qlonglong(1)}))
            << c;
    EXPECT_EQ(counters(QStringLiteral("tab_rule"), QStringLiteral("ftid"), Kp3, QStringLiteral("q1, q2, q4")),
              (QVariantList{qlonglong(1), qlonglong(1), qlonglong(1)}));
    EXPECT_EQ(counters(QStringLiteral("tab_rule"), QStringLiteral("ftid"), Kp1, QStringLiteral("q1, q2, q4")),
              (QVariantList{qlonglong(0), qlonglong(0), qlonglong(0)}));
    for (const char *g : {"010101", "01"})
        EXPECT_EQ(counters(QStringLiteral("tab_fgmc"), QStringLiteral("id"), QString::fromLatin1(g), QStringLiteral("q1, q2, q4")),
                  (QVariantList{qlonglong(1), qlonglong(1), qlonglong(1)}))
            << g;
    EXPECT_FALSE(b.value(QStringLiteral("select D1 from tab_rz where A1=?"), {today}).toString().isEmpty());

    // Back in the same view, filter and entry, with the new figures.
    EXPECT_EQ(entries(w), (QStringList{QStringLiteral("要约(6)"), QStringLiteral("要约(2)")}));
    EXPECT_EQ(w.detail()->m_LBmenu->currentRow(), 1);
    EXPECT_EQ(w.detail()->m_pNote->text(), QStringLiteral("相关题数：2题  已做题数：1题  已做道次：1次  做错道次：1次"));
    EXPECT_EQ(w.detail()->Re->toPlainText(), QStringLiteral("正文 ") + Kp3);
    EXPECT_TRUE(w.m_btnQuestion->isEnabled());

    // "返回(&B)": the list with reloaded figures and the same row.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    alt(w, Qt::Key_B);
    EXPECT_EQ(w.detail(), nullptr);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("考 点 目 录"));
    EXPECT_TRUE(w.m_grid->isVisible());
    EXPECT_FALSE(w.m_btnBack->isVisible());
    EXPECT_FALSE(w.m_btnQuestion->isEnabled());
    EXPECT_EQ(w.m_btnMost->text(), QStringLiteral("重点(&M)"));
    EXPECT_EQ(w.filterToggle(), 0);
    EXPECT_EQ(w.m_grid->rowCount(), 3);
    EXPECT_EQ(w.codes().size(), 3);
    EXPECT_EQ(w.m_grid->currentRow(), 1);
    EXPECT_EQ((QStringList{cell(w, 1, 2), cell(w, 1, 3), cell(w, 1, 4)}),
              (QStringList{QStringLiteral("        1"), QStringLiteral("        1"), QStringLiteral("        1")}));

    // Opening again starts unfiltered.
    QTest::mouseClick(w.m_btnSelect, Qt::LeftButton);
    EXPECT_EQ(entries(w).size(), 4);
    EXPECT_EQ(w.m_btnMost->text(), QStringLiteral("重点(&M)"));

    // "退出(&E)" and the title-bar close take the same road.
    QCloseEvent close;
    QApplication::sendEvent(&w, &close);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.codes().isEmpty());
}

TEST_F(Directory, GroupsWithoutKeyPointsOrQuestions)
{
    // No key point of 010101 reaches 20 questions each.
    b.run(QStringLiteral("update tab_fgmc set q=80 where id='010101'"));
    // Kp2 counts one question, but no question cites it.
    TfrmLawsFaGui w;
    activate(w);
    w.m_grid->setCurrentCell(1, 0);
    QTest::mouseClick(w.m_btnSelect, Qt::LeftButton);
    ASSERT_NE(w.detail(), nullptr);
    EXPECT_EQ(w.threshold(), 20);
    QTest::mouseClick(w.m_btnMost, Qt::LeftButton);
    ASSERT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(prompts.prompts[0].kind, seams::Prompt::Kind::MessageBox);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("此考点暂无重点内容！"));
    EXPECT_EQ(prompts.prompts[0].icon, seams::Prompt::Information);
    EXPECT_EQ(entries(w).size(), 4);   // the full list
    EXPECT_EQ(w.m_btnMost->text(), QStringLiteral("重点(&M)"));

    int practiceWindows = 0;
    practicefixtures::ModalHookGuard hook([&](QDialog *) {
        ++practiceWindows;
        return 0;
    });
    clickEntry(w, 1);
    ASSERT_TRUE(w.m_btnQuestion->isEnabled());
    QTest::mouseClick(w.m_btnQuestion, Qt::LeftButton);
    EXPECT_EQ(practiceWindows, 0);
    ASSERT_EQ(prompts.prompts.size(), 2);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("恭喜你，习题已做完！"));
    EXPECT_EQ(prompts.prompts[1].dlgPage, 0);
    EXPECT_EQ(prompts.prompts[1].wording, QStringLiteral("NO"));
    EXPECT_FALSE(w.hiddenForPractice());
    EXPECT_EQ(w.detail()->m_LBmenu->currentRow(), 1);

    // A group without key points: the empty detail view stays.
    QTest::mouseClick(w.m_btnBack, Qt::LeftButton);
    w.m_grid->setCurrentCell(2, 0);
    QTest::mouseClick(w.m_btnSelect, Qt::LeftButton);
    ASSERT_NE(w.detail(), nullptr);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("找不到考点!"));
    EXPECT_EQ(prompts.prompts.last().icon, seams::Prompt::Information);
    EXPECT_EQ(w.detail()->m_LBmenu->count(), 0);
    EXPECT_FALSE(w.m_btnQuestion->isEnabled());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("第二组 合同的效力"));

    // Escape does not close the directory.
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    QTest::mouseClick(w.m_btnExit, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Directory, SmallScreenLayoutAndAnEmptyBank)
{
    shell().ScreenMode = QStringLiteral("800");
    {
        TfrmLawsFaGui w;
        w.show();
        EXPECT_EQ(w.size(), QSize(760, 504));
        EXPECT_EQ(w.m_grid->columnWidth(0), 410);
        EXPECT_EQ(w.m_grid->columnWidth(3), 80);
        EXPECT_EQ(w.m_grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("                   考 点 名 称"));
    }
    b.run(QStringLiteral("delete from tab_fgmc"));
    TfrmLawsFaGui w;
    w.show();
    EXPECT_EQ(w.m_grid->rowCount(), 0);
    QTest::mouseClick(w.m_btnSelect, Qt::LeftButton);
    EXPECT_EQ(w.detail(), nullptr);
    EXPECT_TRUE(prompts.prompts.isEmpty());
}

TEST_F(Directory, MenuCommandsOpenIt)
{
    QStringList opened;
    practicefixtures::ModalHookGuard hook([&](QDialog *d) {
        opened << d->windowTitle() + QLatin1Char('/') + QString::number(qobject_cast<TfrmLawsFaGui *>(d) ? 1 : 0);
        return 0;
    });
    TFrmStart start;
    start.ShockwaveFlash1FSCommand(QStringLiteral("ksdg"), QString());
    start.ShockwaveFlash1FSCommand(QStringLiteral("zsd"), QString());
    EXPECT_EQ(opened, (QStringList{QStringLiteral("考 点 目 录/1"), QStringLiteral("考 点 目 录/1")}));
    EXPECT_FALSE(QApplication::overrideCursor());
}
