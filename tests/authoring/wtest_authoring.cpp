// The authoring windows driven through their controls: a question entered
// with a picture and two key points, then practised and edited; the entry
// window's checks and failures; the picker's ticks, limits and help; the
// edit window's cancelling.
#include "../practice/PracticeFixtures.h"
#include "authoring/QuestionFormWidget.h"
#include "authoring/UImportPreview.h"
#include "authoring/UInPut.h"
#include "authoring/Utedit.h"
#include "common/ShellState.h"
#include "keypoints/UselectFg.h"
#include "practice/PracticeSelection.h"
#include "practice/Ukmmc.h"
#include "practice/Ulxxt.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace practice;
using namespace practicefixtures;

namespace {

class Authoring : public PracticeBankTest {
protected:
    void SetUp() override
    {
        PracticeBankTest::SetUp();
        b.run(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, time) values (76, '案例分析', 0, 1, 1)"));
        addSection(b, 2);
        shell().PracticeSubject = 1;
        shell().ExistingKeyPointCount = 0;
        b.dm().setChapterRow(QStringLiteral("100102"));
    }
    int typeIndex(QComboBox *box, const QString &name) { return box->findText(name); }
};

int imagesIn(const QTextDocument *doc)
{
    int n = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                ++n;
    return n;
}

bool hasBold(const QTextDocument *doc)
{
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                return true;
    return false;
}

QImage redSquare()
{
    QImage img(12, 10, QImage::Format_RGB32);
    img.fill(QColor(200, 30, 30));
    return img;
}

// Drives a picker opened by an authoring window: choose the group, tick
// the key points of the given rows and confirm.
int pickInGroup(QDialog *d, const QString &group, const QList<int> &rows)
{
    auto *p = qobject_cast<TFrmSelectFG *>(d);
    EXPECT_NE(p, nullptr);
    if (!p)
        return QDialog::Rejected;
    p->show();
    EXPECT_EQ(p->page(), 0);
    p->ComboBox1->setCurrentIndex(int(p->ComboBox2.indexOf(group)));
    for (int r : rows)
        p->CheckListBox1->item(r)->setCheckState(Qt::Checked);
    QTest::mouseClick(p->epEfButton1, Qt::LeftButton);
    return p->result();
}

} // namespace

TEST_F(Authoring, EnteredQuestionIsPractisedAndEditedWithItsPicture)
{
    // --- entry: bold text, a pasted picture, a multiple-choice key, two key points
    TFrmInPut in;
    in.TargetChapter = QStringLiteral("100102");
    in.show();
    EXPECT_EQ(in.windowTitle(), QStringLiteral("试题录入"));
    EXPECT_EQ(in.size(), QSize(931, 611));
    EXPECT_EQ(in.SE_Num->value(), 5);
    in.Re1->setFocus();
    QTest::keyClicks(in.Re1, QStringLiteral("Entered question "));
    in.Re1->selectAll();
    QTest::mouseClick(in.form->boldButton, Qt::LeftButton);
    QTextCursor end = in.Re1->textCursor();
    end.movePosition(QTextCursor::End);
    in.Re1->setTextCursor(end);
    QApplication::clipboard()->setImage(redSquare());
    in.Re1->paste();
    if (imagesIn(in.Re1->document()) == 0)   // a platform without a clipboard
        in.Re1->insertPicture(redSquare());
    ASSERT_EQ(imagesIn(in.Re1->document()), 1);
    in.ComboBox1->setCurrentIndex(typeIndex(in.ComboBox1, QStringLiteral("多项选择题")));
    in.form->ComboBox1Change();
    in.SE_Num->setValue(4);
    QTest::keyClicks(in.Edit1, QStringLiteral("bd"));
    EXPECT_EQ(in.Edit1->text(), QStringLiteral("BD"));
    {
        int pickers = 0;
        ModalHookGuard hook([&](QDialog *d) {
            ++pickers;
            return pickInGroup(d, pickers == 1 ? QStringLiteral("010101") : QStringLiteral("010102"), {0});
        });
        QTest::mouseClick(in.BtnAddFg, Qt::LeftButton);
        QTest::mouseClick(in.BtnAddFg, Qt::LeftButton);
        EXPECT_EQ(pickers, 2);
    }
    ASSERT_EQ(in.ListBox1->count(), 2);
    EXPECT_EQ(in.ListBox1->item(0)->text(), QStringLiteral("第一组 基本概念[考点一 基本概念的含义]"));
    QTest::mouseClick(in.SpeedButton4, Qt::LeftButton);
    EXPECT_TRUE(prompts.prompts.isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(in.AddedCount, 1);
    EXPECT_TRUE(in.Re1->toPlainText().isEmpty());
    EXPECT_EQ(in.ListBox1->count(), 0);
    EXPECT_EQ(in.SE_Num->value(), 4);   // kept for the next question

    const QString id = QStringLiteral("US100102654") + "00001";
    EXPECT_EQ(b.row(QStringLiteral("select A2, A2_1, A13, K3, K4, F1 from tab_answ where A1=?"), {id}),
              (QVariantList{QStringLiteral("BD"), qlonglong(4), qlonglong(65), QStringLiteral("0101010001"),
                            QStringLiteral("0101020002"), qlonglong(2)}));
    const QByteArray stored = b.value(QStringLiteral("select A15 from tab_exer where A1=?"), {id}).toByteArray();
    EXPECT_TRUE(stored.contains("\\pngblip"));
    EXPECT_EQ(b.value(QStringLiteral("select C3 from tab_kmmc where C1='100102'")).toInt(), 1);
    in.close();

    // --- practice of the chapter shows it with its picture
    shell().PracticeSql = practiceSql(PracticeKind::New, QStringLiteral("100102"));
    TFrmLxxt p;
    ASSERT_TRUE(p.LoadQuestionList());
    p.show();
    ASSERT_EQ(p.run().count(), 1);
    EXPECT_EQ(p.run().row(1).id, id);
    EXPECT_TRUE(p.Re1->toPlainText().contains(QStringLiteral("Entered question")));
    EXPECT_EQ(imagesIn(p.Re1->document()), 1);
    EXPECT_TRUE(hasBold(p.Re1->document()));
    EXPECT_EQ(p.Label1->text(), QStringLiteral("本题是您加入的题目！"));
    EXPECT_TRUE(p.Lb_edited->text().isEmpty());

    // --- editing it: new answer, one key point removed, text added
    bool timerRanDuringEdit = true;
    {
        ModalHookGuard hook([&](QDialog *d) {
            auto *e = qobject_cast<TfrmTedit *>(d);
            EXPECT_NE(e, nullptr);
            if (!e)
                return 0;
            timerRanDuringEdit = p.Timer1->isActive();
            e->show();
            EXPECT_EQ(e->windowTitle(), QStringLiteral("试题修改"));
            EXPECT_FALSE(e->RxDBRichEdit3->isVisible());
            EXPECT_EQ(imagesIn(e->RxDBRichEdit1->document()), 1);
            EXPECT_EQ(e->SE_Num->value(), 4);
            EXPECT_EQ(e->Edit1->text(), QStringLiteral("BD"));
            EXPECT_EQ(e->ComboBox1->currentText(), QStringLiteral("多项选择题"));
            EXPECT_FALSE(e->ComboBox1->isEditable());
            EXPECT_EQ(e->ListBox1->count(), 2);
            EXPECT_EQ(e->ListBox1->item(1)->text(), QStringLiteral("组 010102考点 0101020002"));
            e->ListBox1->setCurrentRow(0);
            QTest::keyClick(e->ListBox1, Qt::Key_Delete);
            EXPECT_EQ(e->ListBox1->count(), 1);
            e->Edit1->clear();
            QTest::keyClicks(e->Edit1, QStringLiteral("abc"));
            QTextCursor c = e->RxDBRichEdit1->textCursor();
            c.movePosition(QTextCursor::End);
            c.insertText(QStringLiteral(" edited"));
            QTest::mouseClick(e->SpeedButton4, Qt::LeftButton);
            return e->result();
        });
        QTest::mouseClick(p.epEfTrBtn11, Qt::LeftButton);
    }
    EXPECT_FALSE(timerRanDuringEdit);
    EXPECT_TRUE(p.Timer1->isActive());
    EXPECT_TRUE(prompts.prompts.isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(p.Lb_edited->text(), QStringLiteral("本题被您修改过"));
    EXPECT_TRUE(p.Re1->toPlainText().contains(QStringLiteral("edited")));
    EXPECT_EQ(imagesIn(p.Re1->document()), 1);
    EXPECT_TRUE(hasBold(p.Re1->document()));
    EXPECT_EQ(p.run().row(1).key, QStringLiteral("ABC"));
    EXPECT_EQ(b.row(QStringLiteral("select A2, K3, K4, ecount from tab_answ where A1=?"), {id}),
              (QVariantList{QStringLiteral("ABC"), QStringLiteral("0101020002"), QString(), qlonglong(1)}));
    EXPECT_TRUE(b.value(QStringLiteral("select A15 from tab_exer where A1=?"), {id}).toByteArray().contains("\\pngblip"));
    // s01 of the other section still lists both key points.
    EXPECT_EQ(b.value(QStringLiteral("select q from tab_rule where ftid='0101010001'")).toInt(), 1);
    EXPECT_EQ(b.value(QStringLiteral("select q from tab_rule where ftid='0101020002'")).toInt(), 2);
}

TEST_F(Authoring, ChapterWindowAddsTheSavedQuestionsToItsTotal)
{
    TFrmkmmc k;
    k.show();
    const int before = k.epNum_all->intValue();
    ASSERT_TRUE(k.locateChapter(QStringLiteral("100102")));
    QString caption, target;
    ModalHookGuard hook([&](QDialog *d) {
        auto *in = qobject_cast<TFrmInPut *>(d);
        EXPECT_NE(in, nullptr);
        if (!in)
            return 0;
        in->show();
        caption = in->Lb_cap->text();
        target = in->TargetChapter;
        EXPECT_FALSE(in->Lb_cap->isVisible());
        for (const QString &key : {QStringLiteral("A"), QStringLiteral("C")}) {
            QTest::keyClicks(in->Re1, QStringLiteral("Question ") + key);
            QTest::keyClicks(in->Edit1, key);
            QTest::mouseClick(in->SpeedButton4, Qt::LeftButton);
        }
        // The title bar's close takes the road of "关闭".
        QCloseEvent close;
        QApplication::sendEvent(in, &close);
        EXPECT_FALSE(in->isVisible());
        return in->result();
    });
    QTest::mouseClick(k.SpeedButton5, Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("试题录入 [第二节 基本原则]"));
    EXPECT_EQ(target, QStringLiteral("100102"));
    EXPECT_TRUE(prompts.prompts.isEmpty()) << prompts.lastText().toStdString();
    EXPECT_EQ(k.epNum_all->intValue(), before + 2);
    EXPECT_EQ(k.selectedChapter(), QStringLiteral("100102"));
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_answ where A1 like 'US100102615%'")).toInt(), 2);
    EXPECT_EQ(b.value(QStringLiteral("select A1 from tab_answ where A2='C' and F1=2")).toString(), QStringLiteral("US100102615") + "00002");
}

TEST_F(Authoring, EntryChecksRulesAndFailures)
{
    TFrmInPut in;
    in.TargetChapter = QStringLiteral("100102");
    in.show();
    // The three checks in order, each with the focus on its control.
    struct Case {
        const char *body;
        const char *answer;
        const char *type;   // nullptr: none selected
        int options;
        const char *text;
        QWidget *focus;
    } cases[] = {
        {"  ", "A", "单项选择题", 5, "请填写试题内容！", in.Re1},
        {"题", " ", "单项选择题", 5, "请填写试题答案！", in.Edit1},
        {"题", "A", nullptr, 5, "请选择题型！", in.ComboBox1},
        // Keys no press of the option buttons could give.
        {"题", "F", "多项选择题", 3, "试题答案只能使用A到C的字母！", in.Edit1},
        {"题", "AD", "单项选择题", 4, "单选题的答案只能是一个字母！", in.Edit1},
    };
    for (const Case &c : cases) {
        in.epBtn_ClearClick();
        prompts.prompts.clear();
        in.Re1->setPlainText(QString::fromUtf8(c.body));
        in.ComboBox1->setCurrentIndex(c.type ? typeIndex(in.ComboBox1, QString::fromUtf8(c.type)) : -1);
        in.SE_Num->setValue(c.options);
        in.Edit1->setText(QString::fromUtf8(c.answer));
        QTest::mouseClick(in.SpeedButton4, Qt::LeftButton);
        ASSERT_EQ(prompts.prompts.size(), 1) << c.text;
        EXPECT_EQ(prompts.lastText(), QString::fromUtf8(c.text));
        EXPECT_EQ(prompts.prompts[0].icon, seams::Prompt::Information);
        EXPECT_EQ(in.focusWidget(), c.focus) << c.text;
    }
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_answ where A1 like 'U%'")).toInt(), 0);

    // A subjective type: option count 1 and answer "1", both locked; another
    // type frees them and empties the answer.
    in.epBtn_ClearClick();
    in.ComboBox1->setCurrentIndex(typeIndex(in.ComboBox1, QStringLiteral("案例分析")));
    in.form->ComboBox1Change();
    EXPECT_EQ(in.SE_Num->value(), 1);
    EXPECT_EQ(in.Edit1->text(), QStringLiteral("1"));
    EXPECT_FALSE(in.SE_Num->isEnabled());
    EXPECT_FALSE(in.Edit1->isEnabled());
    in.Re1->setPlainText(QStringLiteral("案例"));
    prompts.prompts.clear();
    QTest::mouseClick(in.SpeedButton4, Qt::LeftButton);
    EXPECT_TRUE(prompts.prompts.isEmpty());
    EXPECT_EQ(b.row(QStringLiteral("select A1, A2, A2_1 from tab_answ where A13=76")),
              (QVariantList{QStringLiteral("US100102761") + "00001", QStringLiteral("1"), qlonglong(1)}));
    in.ComboBox1->setCurrentIndex(typeIndex(in.ComboBox1, QStringLiteral("判断题")));
    in.form->ComboBox1Change();
    EXPECT_TRUE(in.SE_Num->isEnabled());
    EXPECT_TRUE(in.Edit1->text().isEmpty());

    // A failing save keeps every input.
    b.run(QStringLiteral("create trigger no_entry before insert on tab_exer begin select raise(abort, 'locked'); end"));
    in.Re1->setPlainText(QStringLiteral("保留的题目"));
    in.Edit1->setText(QStringLiteral("A"));
    in.form->keyPoints.ids << QStringLiteral("0101010001");
    in.form->keyPoints.entries << QStringLiteral("组[考点]");
    in.form->showKeyPoints();
    prompts.prompts.clear();
    QTest::mouseClick(in.SpeedButton4, Qt::LeftButton);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("保存试题出现错误！"));
    EXPECT_EQ(in.AddedCount, 1);
    EXPECT_EQ(in.Re1->toPlainText(), QStringLiteral("保留的题目"));
    EXPECT_EQ(in.Edit1->text(), QStringLiteral("A"));
    EXPECT_EQ(in.ListBox1->count(), 1);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_answ where A1 like 'U%'")).toInt(), 1);

    // "使用说明" opens the picker on its help page.
    {
        QList<int> pages;
        ModalHookGuard help([&](QDialog *d) {
            if (auto *p = qobject_cast<TFrmSelectFG *>(d))
                pages << p->page();
            return 0;
        });
        QTest::mouseClick(in.SpeedButton2, Qt::LeftButton);
        TfrmTedit e(QStringLiteral("s01"));
        QTest::mouseClick(e.SpeedButton2, Qt::LeftButton);
        EXPECT_EQ(pages, (QList<int>{1, 1}));
    }

    // An 11th key point is refused before the picker opens.
    for (int i = 1; i < 10; ++i) {
        in.form->keyPoints.ids << QStringLiteral("x%1").arg(i);
        in.form->keyPoints.entries << QStringLiteral("x");
    }
    int pickers = 0;
    ModalHookGuard hook([&](QDialog *) { return ++pickers, 0; });
    prompts.prompts.clear();
    QTest::mouseClick(in.BtnAddFg, Qt::LeftButton);
    EXPECT_EQ(pickers, 0);
    EXPECT_EQ(prompts.lastText(),
              QStringLiteral("试题对应考点最多为10条！\r如果要去掉考点，请选中要\r去掉的考点，再按键盘上的\r[Delete]键！"));
}

TEST_F(Authoring, PickerTicksLimitsAndHelp)
{
    TFrmSelectFG p;
    p.selectPage(0);
    p.PickerCaller = 2;
    p.setCallerKeyPoints({QStringLiteral("0101010001")});
    shell().ExistingKeyPointCount = 7;
    p.show();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("欢迎"));
    EXPECT_EQ(p.size(), QSize(528, 400));
    EXPECT_EQ(p.PageControl1->tabText(0), QStringLiteral("考 点 选 择"));
    EXPECT_EQ(p.ComboBox2, (QStringList{"01", "010101", "010102"}));
    EXPECT_EQ(p.CheckListBox1->count(), 0);   // the heading has no key points of its own

    // Nothing ticked.
    QTest::mouseClick(p.epEfButton1, Qt::LeftButton);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("请选择对应考点，退出请按关闭按钮！"));
    EXPECT_TRUE(p.isVisible());

    // The caller's key point shows ticked after a change of group, counts
    // toward the limit, and is not picked.
    p.ComboBox1->setCurrentIndex(1);
    ASSERT_EQ(p.CheckListBox1->count(), 1);
    EXPECT_EQ(p.CheckListBox1->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(p.picked, QVector<bool>{false});
    QTest::mouseClick(p.epEfButton1, Qt::LeftButton);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("对应考点最多不能超过7条，已有考点7条！"));
    EXPECT_TRUE(p.isVisible());
    // Escape means nothing here.
    QTest::keyClick(&p, Qt::Key_Escape);
    EXPECT_TRUE(p.isVisible());

    // Ticks of one group are lost with another group.
    p.ComboBox1->setCurrentIndex(2);
    p.CheckListBox1->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(p.picked, QVector<bool>{true});
    p.ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(p.picked, QVector<bool>{false});
    shell().ExistingKeyPointCount = 1;
    prompts.prompts.clear();
    QTest::mouseClick(p.epEfButton1, Qt::LeftButton);
    EXPECT_TRUE(prompts.prompts.isEmpty());
    EXPECT_EQ(p.result(), QDialog::Accepted);
    keypoints::PickedKeyPoints list;
    list.ids << QStringLiteral("0101010001");
    list.entries << QStringLiteral("旧");
    EXPECT_EQ(p.mergeInto(list), 0);

    // The help page, closed by the title bar as by "关闭".
    TFrmSelectFG help;
    help.selectPage(1);
    help.show();
    EXPECT_EQ(help.PageControl1->tabText(1), QStringLiteral("使 用 说 明"));
    const QStringList lines = help.helpText->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], QStringLiteral("使用方法如下："));
    EXPECT_EQ(lines[11], QStringLiteral("   "));
    EXPECT_EQ(lines[19], QStringLiteral("动填写1；"));
    EXPECT_TRUE(help.helpText->isReadOnly());
    EXPECT_EQ(help.ComboBox1->count(), 0);   // the help page loads no lists
    QCloseEvent close;
    QApplication::sendEvent(&help, &close);
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(help.result(), QDialog::Rejected);
}

TEST_F(Authoring, EditWindowCancelsAndShowsMaterialAndSubjectiveTypes)
{
    // A sub-question of a subjective type stored with another answer.
    const QString sub = QStringLiteral("C000000000000001-1");
    b.run(QStringLiteral("update tab_answ set A13=76, A2='B', A2_1=4, K3='0101010001', K4='', K5='0101020002' where A1=?"), {sub});
    const QVariantList before = b.row(QStringLiteral("select A2, A2_1, K3, K5, ecount from tab_answ where A1=?"), {sub});
    for (int road = 0; road < 2; ++road) {
        TfrmTedit e(sub);
        ASSERT_TRUE(e.loaded());
        e.show();
        EXPECT_TRUE(e.RxDBRichEdit3->isVisible());
        EXPECT_TRUE(e.RxDBRichEdit3->toPlainText().contains(QStringLiteral("案例材料")));
        EXPECT_TRUE(e.RxDBRichEdit1->toPlainText().contains(QStringLiteral("根据材料")));
        EXPECT_EQ(e.SE_Num->value(), 1);
        EXPECT_EQ(e.Edit1->text(), QStringLiteral("1"));
        EXPECT_FALSE(e.Edit1->isEnabled());
        EXPECT_EQ(e.ListBox1->count(), 2);
        // Another type frees the answer and keeps it.
        e.ComboBox1->setCurrentIndex(typeIndex(e.ComboBox1, QStringLiteral("多项选择题")));
        e.form->ComboBox1Change();
        EXPECT_TRUE(e.Edit1->isEnabled());
        EXPECT_EQ(e.Edit1->text(), QStringLiteral("1"));
        e.RxDBRichEdit3->setPlainText(QStringLiteral("不保存"));
        if (road == 0) {
            QTest::mouseClick(e.SpeedButton3, Qt::LeftButton);
        } else {
            QCloseEvent close;
            QApplication::sendEvent(&e, &close);
        }
        EXPECT_FALSE(e.isVisible());
        EXPECT_EQ(e.result(), QDialog::Rejected);
    }
    EXPECT_EQ(b.row(QStringLiteral("select A2, A2_1, K3, K5, ecount from tab_answ where A1=?"), {sub}), before);
    EXPECT_TRUE(richtext::rtfToPlainText(b.value(QStringLiteral("select A15 from tab_title")).toByteArray()).contains(QStringLiteral("案例材料")));

    // An empty key, or one the options cannot give, is refused; a type of
    // another subject's table, or of none, is offered as stored and kept.
    b.run(QStringLiteral("insert into tab_tx4 (A1, B1, B2, B3, time) values (63, '材料单选题', 0, 1, 1)"));
    const struct {
        const char *key;
        int type;
        const char *shown;    // the type box
        const char *refusal;  // "" when saved
    } edits[] = {{"", 61, "单项选择题", "请填写试题答案！"}, {"E", 61, "单项选择题", "试题答案只能使用A到D的字母！"},
                 {"B", 63, "材料单选题", ""}, {"B", 88, "88", ""}};
    for (const auto &c : edits) {
        b.run(QStringLiteral("update tab_answ set A13=? where A1='s01'"), {c.type});
        const QVariantList stored = b.row(QStringLiteral("select A2, A13, ecount from tab_answ where A1='s01'"));
        TfrmTedit e(QStringLiteral("s01"));
        e.show();
        EXPECT_EQ(e.ComboBox1->currentText(), QString::fromUtf8(c.shown));
        e.SE_Num->setValue(4);
        e.Edit1->setText(QString::fromLatin1(c.key));
        prompts.prompts.clear();
        QTest::mouseClick(e.SpeedButton4, Qt::LeftButton);
        EXPECT_EQ(prompts.lastText(), QString::fromUtf8(c.refusal)) << c.key;
        EXPECT_EQ(e.isVisible(), *c.refusal != 0);
        EXPECT_EQ(b.row(QStringLiteral("select A2, A13, ecount from tab_answ where A1='s01'")).mid(0, 2),
                  *c.refusal ? stored.mid(0, 2) : QVariantList({QStringLiteral("B"), c.type}));
        EXPECT_EQ(b.value(QStringLiteral("select ecount from tab_answ where A1='s01'")), stored.at(2).toInt() + (*c.refusal ? 0 : 1));
    }

    // A save that fails shows the engine's text and keeps the window open.
    b.run(QStringLiteral("create trigger no_edit before update on tab_title begin select raise(abort, 'material locked'); end"));
    TfrmTedit e(sub);
    e.show();
    QTest::mouseClick(e.SpeedButton4, Qt::LeftButton);
    EXPECT_TRUE(prompts.lastText().contains(QStringLiteral("material locked"))) << prompts.lastText().toStdString();
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(b.row(QStringLiteral("select A2, A2_1, K3, K5, ecount from tab_answ where A1=?"), {sub}), before);
}

TEST_F(Authoring, ImportShowsWhatWasReadBeforeSavingAndExportWritesTheChapter)
{
    const QString gift = b.dir() + QStringLiteral("q.gift");
    QFile f(gift);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("// [tag:KP-0101010001]\n::a::导入的单选题 {=对的 ~错的 ~也错}\n\n导入的判断题 {T}\n\n论述 {}\n\n坏题 {~a ~b}\n");
    f.close();
    seams::setOpenFileHandler([&](const seams::FileRequest &) { return gift; });
    TFrmInPut in;
    in.TargetChapter = QStringLiteral("100102");
    in.show();
    QStringList summaries;
    bool confirm = false;
    ModalHookGuard hook([&](QDialog *d) {
        auto *look = qobject_cast<TFrmImportPreview *>(d);
        EXPECT_NE(look, nullptr);
        if (!look)
            return int(QDialog::Rejected);
        EXPECT_EQ(look->windowTitle(), QStringLiteral("导入试题"));
        summaries << look->LbSummary->text() + u'|' + look->MemoProblems->toPlainText();
        look->show();
        if (confirm && look->BtnImportOk->isEnabled())
            QTest::mouseClick(look->BtnImportOk, Qt::LeftButton);
        else
            QTest::mouseClick(look->BtnClose, Qt::LeftButton);
        return look->result();
    });
    auto users = [&] { return b.value(QStringLiteral("select count(*) from tab_answ where A1 like 'US100102%' and F1 = 2")).toInt(); };
    // Looked at and closed: nothing is written.
    click(in.BtnImport);
    ASSERT_EQ(summaries.size(), 1);
    EXPECT_TRUE(summaries[0].contains(QStringLiteral("可以导入的新题：3道（判断题 1道，单项选择题 1道，简答题 1道）")))
        << summaries[0].toStdString();
    EXPECT_TRUE(summaries[0].contains(QStringLiteral("第8行：试题没有正确答案。"))) << summaries[0].toStdString();
    EXPECT_EQ(users(), 0);
    EXPECT_TRUE(prompts.prompts.isEmpty());
    // Confirmed: saved as entry saves, counted for the chapter window.
    confirm = true;
    click(in.BtnImport);
    EXPECT_EQ(users(), 3);
    EXPECT_EQ(in.AddedCount, 3);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("导入成功！共导入3道题。"));
    EXPECT_EQ(b.value(QStringLiteral("select K3 from tab_answ where A13 = 61 and F1 = 2")).toString(), QStringLiteral("0101010001"));
    // Again: all already there, nothing to import.
    click(in.BtnImport);
    EXPECT_TRUE(summaries.last().contains(QStringLiteral("本章已经有的题：3道"))) << summaries.last().toStdString();
    EXPECT_EQ(users(), 3);
    // Export to the name the user gives, in the format of its suffix.
    const QString xml = b.dir() + QStringLiteral("out.xml");
    seams::setSaveFileHandler([&](const seams::FileRequest &) { return xml; });
    click(in.BtnExport);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("已导出3道题到：\r") + xml);
    QFile out(xml);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(out.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("<text>导入的判断题</text>"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("KP-0101010001")));
    seams::setOpenFileHandler({});
    seams::setSaveFileHandler({});
}

