// The chapter window: the list and totals, the heading refusal, the empty
// selections, a practice started from it and the refresh afterwards; and
// the note and related key points windows on their own.
#include "PracticeFixtures.h"
#include "widgets/ModalGui.h"
#include "common/ShellState.h"
#include "keypoints/UanswFagui.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/Ubj.h"
#include "practice/Ukmmc.h"
#include "practice/Ulxxt.h"

#include <QLCDNumber>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace practice;
using namespace practicefixtures;

namespace {


class ChapterWindow : public PracticeBankTest {
protected:
    void SetUp() override
    {
        PracticeBankTest::SetUp();
        addSection(b, 3);   // 7 questions in 100101, none in 100102
        shell().PracticeSubject = 1;
    }
    QStringList listedCodes(TFrmkmmc &k)
    {
        QStringList out;
        for (int r = 0; r < k.DBGrid1->model()->rowCount(); ++r)
            out << k.DBGrid1->model()->index(r, 0).data().toString();
        return out;
    }
};

} // namespace

TEST_F(ChapterWindow, ListAndTotals)
{
    b.run(QStringLiteral("update tab_kmmc set C3=20000 where C1='100102'"));
    TFrmkmmc k;
    k.show();
    EXPECT_EQ(listedCodes(k), (QStringList{QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("1001"),
                                           QStringLiteral("100101"), QStringLiteral("100102")}));
    EXPECT_EQ(k.DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("章节名称"));
    EXPECT_EQ(k.DBGrid1->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("综合成绩"));
    EXPECT_EQ(k.DBGrid1->columnWidth(1), 370);
    EXPECT_EQ(k.DBGrid1->columnWidth(2), 65);
    EXPECT_EQ(k.size(), QSize(935, 611));
    EXPECT_EQ(k.epNum_all->intValue(), 10000);   // more than 10000 shows 10000
    EXPECT_EQ(k.epNum_all->digitCount(), 5);
    EXPECT_EQ(k.epNum_ok->intValue(), 0);
    EXPECT_EQ(k.Lb_fs->text(), QStringLiteral("分数"));   // no answer yet: kept

    b.run(QStringLiteral("update tab_kmmc set D1=8, D2=2 where C1 in ('100101', '1')"));
    k.FormShow();
    EXPECT_EQ(k.epNum_ok->intValue(), 8);
    EXPECT_EQ(k.epNum_Err->intValue(), 2);
    EXPECT_EQ(k.Lb_fs->text(), QStringLiteral("75.00"));

    shell().ScreenMode = QStringLiteral("800");
    k.FormShow();
    EXPECT_EQ(k.size(), QSize(761, 480));
    EXPECT_EQ(k.DBGrid1->columnWidth(1), 308);
    EXPECT_EQ(k.DBGrid1->columnWidth(5), 50);
}

TEST_F(ChapterWindow, HeadingsAndEmptySelections)
{
    int practiceWindows = 0;
    QStringList settingsModes;
    ModalHookGuard hook([&](QDialog *d) {
        if (d->windowTitle() == QStringLiteral("系统设置"))
            settingsModes << QString::number(shell().ConfigMode);
        else if (qobject_cast<TFrmLxxt *>(d))
            ++practiceWindows;
        return 0;
    });
    TFrmkmmc k;
    k.show();
    for (const char *heading : {"1", "10"}) {
        ASSERT_TRUE(k.locateChapter(QString::fromLatin1(heading)));
        prompts.prompts.clear();
        QTest::mouseClick(k.SpeedButton1, Qt::LeftButton);
        ASSERT_EQ(prompts.prompts.size(), 1);
        EXPECT_EQ(prompts.prompts[0].kind, seams::Prompt::Kind::MessageBox);
        EXPECT_EQ(prompts.prompts[0].caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.prompts[0].text, QStringLiteral("请选择具体章节目录！"));
        EXPECT_EQ(prompts.prompts[0].icon, seams::Prompt::Information);
        EXPECT_EQ(k.rememberedChapter(), QString::fromLatin1(heading));
    }

    struct Case {
        QPushButton *button;
        const char *text;
        int picture;
    } cases[] = {{k.SpeedButton1, "恭喜，习题已做完！", seams::DlgNotice},
                 {k.SpeedButton2, "本章节下没有错题！", seams::DlgWarning},
                 {k.SpeedButton3, "本章节习题还未曾做过！", seams::DlgWarning}};
    for (const Case &c : cases) {
        ASSERT_TRUE(k.locateChapter(QStringLiteral("100102")));
        prompts.prompts.clear();
        QTest::mouseClick(c.button, Qt::LeftButton);
        ASSERT_EQ(prompts.prompts.size(), 1) << c.text;
        EXPECT_EQ(prompts.prompts[0].kind, seams::Prompt::Kind::ShowDlg);
        EXPECT_EQ(prompts.prompts[0].caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.prompts[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(prompts.prompts[0].dlgKind, 1);
        EXPECT_EQ(prompts.prompts[0].dlgPage, c.picture);
        EXPECT_EQ(k.rememberedChapter(), QStringLiteral("100102"));
    }
    // A double-click on an exhausted chapter: always the notice.
    prompts.prompts.clear();
    k.DBGrid1DblClick();
    ASSERT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("恭喜，习题已做完！"));
    EXPECT_EQ(prompts.prompts[0].dlgPage, seams::DlgNotice);
    EXPECT_EQ(practiceWindows, 0);
    // Entry and settings open no practice (settings open the music
    // settings); a heading still refuses entry.
    prompts.prompts.clear();
    QTest::mouseClick(k.SpeedButton5, Qt::LeftButton);
    QTest::mouseClick(k.SpeedButton4, Qt::LeftButton);
    EXPECT_TRUE(prompts.prompts.isEmpty());
    EXPECT_EQ(settingsModes, QStringList{QStringLiteral("0")});
    ASSERT_TRUE(k.locateChapter(QStringLiteral("10")));
    QTest::mouseClick(k.SpeedButton5, Qt::LeftButton);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("请选择具体章节目录！"));
    EXPECT_EQ(practiceWindows, 0);
}

TEST_F(ChapterWindow, PracticeFromTheChapterWindowRefreshesIt)
{
    QStringList sqls;
    QWidget *practiceParent = nullptr;
    bool chapterWasShownMarked = true;
    TFrmkmmc k;
    ModalHookGuard hook([&](QDialog *d) {
        auto *w = qobject_cast<TFrmLxxt *>(d);
        EXPECT_NE(w, nullptr);
        if (!w)
            return 0;
        sqls << shell().PracticeSql;
        practiceParent = w->parentWidget();
        chapterWasShownMarked = k.shownMark();
        w->show();
        // Answer the first question right and the second wrong.
        const QString key1 = w->run().row(1).key;
        const QString key2 = w->run().row(2).key;
        QTest::keyClick(w, Qt::Key(Qt::Key_A + (key1.at(0).unicode() - 'A')));
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key(Qt::Key_A + ((key2.at(0).unicode() - 'A' + 1) % 4)));
        w->close();
        return 0;
    });
    k.show();
    ASSERT_TRUE(k.locateChapter(QStringLiteral("100101")));
    QTest::mouseClick(k.SpeedButton1, Qt::LeftButton);
    ASSERT_EQ(sqls.size(), 1);
    EXPECT_EQ(sqls[0], practiceSql(PracticeKind::New, QStringLiteral("100101")));
    EXPECT_EQ(practiceParent, &k);
    EXPECT_FALSE(chapterWasShownMarked);
    EXPECT_TRUE(prompts.prompts.isEmpty());
    // Shown again with refreshed totals and the chapter re-selected.
    EXPECT_TRUE(k.shownMark());
    EXPECT_EQ(k.epNum_ok->intValue(), 2);
    EXPECT_EQ(k.epNum_Err->intValue(), 1);
    EXPECT_EQ(k.Lb_fs->text(), QStringLiteral("50.00"));
    EXPECT_EQ(k.selectedChapter(), QStringLiteral("100101"));
    EXPECT_EQ(k.DBGrid1->model()->index(3, 4).data().toString(), QStringLiteral("2"));

    // Wrong questions now holds the one answered wrong; double-click takes
    // new questions without the id key.
    QTest::mouseClick(k.SpeedButton2, Qt::LeftButton);
    k.DBGrid1DblClick();
    ASSERT_EQ(sqls.size(), 3);
    EXPECT_EQ(sqls[1], practiceSql(PracticeKind::Wrong, QStringLiteral("100101")));
    EXPECT_EQ(sqls[2], doubleClickSql(QStringLiteral("100101")));
    EXPECT_EQ(k.selectedChapter(), QStringLiteral("100101"));
}

TEST_F(ChapterWindow, MissingPictureEndsWithoutFurtherDialogs)
{
    QDir(b.dir() + QStringLiteral("pic")).removeRecursively();
    int ended = 0;
    seams::setProgramEnd([&] { ++ended; });
    int practiceWindows = 0;
    ModalHookGuard hook([&](QDialog *) {
        ++practiceWindows;
        return 0;
    });
    TFrmkmmc k;
    k.show();
    ASSERT_TRUE(k.locateChapter(QStringLiteral("100101")));
    QTest::mouseClick(k.SpeedButton1, Qt::LeftButton);
    seams::setProgramEnd({});
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(practiceWindows, 0);
    ASSERT_EQ(prompts.prompts.size(), 1);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("无法提取资源文件！"));
}

TEST(NoteWindow, SavesOnEveryCloseAndKeepsAnUntouchedNull)
{
    TestBank b;
    b.addQuestion(QStringLiteral("q1"), QStringLiteral("A"), 61, QStringLiteral("100101"));
    b.run(QStringLiteral("update tab_answ set A14=NULL where A1='q1'"));
    shell().NoteHasContent = true;
    {
        TFrmBj bj;
        bj.bind(b.dm(), {QStringLiteral("tab_answ"), QStringLiteral("A1"), QStringLiteral("q1"), QStringLiteral("A14")});
        bj.show();
        EXPECT_EQ(bj.size(), QSize(392, 353));
        bj.close();
        EXPECT_TRUE(bj.saved());
    }
    EXPECT_TRUE(b.value(QStringLiteral("select A14 from tab_answ where A1='q1'")).isNull());
    EXPECT_FALSE(shell().NoteHasContent);
    {
        TFrmBj bj;
        bj.bind(b.dm(), {QStringLiteral("tab_answ"), QStringLiteral("A1"), QStringLiteral("q1"), QStringLiteral("A14")});
        bj.show();
        QTest::keyClicks(bj.DBMemo1, QStringLiteral("it's \"noted\""));
        bj.close();   // the title-bar close saves too
        EXPECT_FALSE(bj.isVisible());
    }
    EXPECT_EQ(b.value(QStringLiteral("select A14 from tab_answ where A1='q1'")).toString(), QStringLiteral("it's \"noted\""));
    EXPECT_TRUE(shell().NoteHasContent);
    // A binding with a name that is not a plain identifier is refused.
    EXPECT_FALSE((FieldBinding{QStringLiteral("tab_answ; drop table tab_answ"), QStringLiteral("A1"), QStringLiteral("q1"),
                               QStringLiteral("A14")})
                     .isValid());
}

TEST(RelatedKeyPoints, ListsTheKeyPointsOfAQuestion)
{
    TestBank b;
    shell().ScreenMode = QStringLiteral("1024");
    b.addKeyPoint(QStringLiteral("0101010001"));
    b.addKeyPoint(QStringLiteral("0202020002"));
    b.run(QStringLiteral("update tab_rule set sn='同名考点  ', n=? where ftid='0202020002'"), {QByteArray("第二个考点的正文")});
    b.run(QStringLiteral("update tab_rule set sn='第一考点', n=? where ftid='0101010001'"), {QByteArray("第一个考点的正文")});
    b.addQuestion(QStringLiteral("none"), QStringLiteral("A"), 61, QStringLiteral("100101"));
    b.addQuestion(QStringLiteral("gap"), QStringLiteral("A"), 61, QStringLiteral("100101"),
                  {QString(), QString(), QStringLiteral("0202020002")});
    b.addQuestion(QStringLiteral("two"), QStringLiteral("A"), 61, QStringLiteral("100101"),
                  {QStringLiteral("0101010001"), QStringLiteral("0202020002")});
    b.addQuestion(QStringLiteral("ghost"), QStringLiteral("A"), 61, QStringLiteral("100101"), {QStringLiteral("9999990009")});

    {
        TfrmAnswFagui w;
        EXPECT_FALSE(w.LoadKeyPoints(QStringLiteral("none")));
        EXPECT_FALSE(w.LoadKeyPoints(QStringLiteral("no such question")));
    }
    {
        TfrmAnswFagui w;
        ASSERT_TRUE(w.LoadKeyPoints(QStringLiteral("gap")));   // K3 empty, K5 filled
        EXPECT_EQ(w.m_listbox, QStringList{QStringLiteral("0202020002")});
        w.show();
        ASSERT_EQ(w.ListBox1->count(), 1);
        EXPECT_EQ(w.ListBox1->item(0)->text(), QStringLiteral("同名考点"));
        EXPECT_EQ(w.epLabel1->text(), QStringLiteral("组 020202"));
        EXPECT_TRUE(w.Re->toPlainText().contains(QStringLiteral("第二个考点的正文")));
    }
    {
        TfrmAnswFagui w;
        ASSERT_TRUE(w.LoadKeyPoints(QStringLiteral("two")));
        w.show();
        ASSERT_EQ(w.ListBox1->count(), 2);
        EXPECT_EQ(w.ListBox1->currentRow(), 0);
        EXPECT_EQ(w.epLabel1->text(), QStringLiteral("组 010101"));
        w.ListBox1->setCurrentRow(1);
        EXPECT_EQ(w.epLabel1->text(), QStringLiteral("组 020202"));
        EXPECT_TRUE(w.Re->toPlainText().contains(QStringLiteral("第二个考点的正文")));
        w.ListBox1->setCurrentRow(0);
        EXPECT_EQ(w.epLabel1->text(), QStringLiteral("组 010101"));
    }
    {
        TfrmAnswFagui w;
        ASSERT_TRUE(w.LoadKeyPoints(QStringLiteral("ghost")));   // no tab_rule row
        w.show();
        EXPECT_EQ(w.ListBox1->count(), 0);
        EXPECT_TRUE(w.Re->toPlainText().isEmpty());
        EXPECT_TRUE(w.epLabel1->text().isEmpty());
    }
    shell().ScreenMode = QStringLiteral("800");
    {
        TfrmAnswFagui w;
        ASSERT_TRUE(w.LoadKeyPoints(QStringLiteral("two")));
        w.show();
        EXPECT_EQ(w.size(), QSize(657, 421));
    }
    shell().ScreenMode = QStringLiteral("1024");
}
