// Escape has no meaning in the program's windows: they close only by their
// buttons (or the title-bar close), and an Escape leaves them open and
// records nothing.  The title-bar close of each window takes the road of
// its close button.
#include "app/Uabout.h"
#include "exam/UexamStart.h"
#include "practice/PracticeFixtures.h"
#include "common/ShellState.h"
#include "practice/PracticeSelection.h"
#include "practice/Ubj.h"
#include "practice/Ujx.h"
#include "practice/Ukmmc.h"
#include "practice/Ulxxt.h"
#include "store/SqlText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A section of questions, the pictures and a plan row: enough for every
// window below to open.
void prepare(TestBank &b)
{
    practicefixtures::writePictures(b.dir());
    practicefixtures::addTypes(b);
    practicefixtures::addSection(b, 3);
    b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime) values (0, 7200)"));
    b.dm().LogAnswerToday(2, 1, 2);   // today's log row, which a closed run adds its time to
    shell().ScreenMode = QStringLiteral("1024");
    shell().PracticeSubject = 1;
    shell().CurSubject = 1;
    b.dm().setChapterRow(QStringLiteral("100101"));
    shell().PracticeSql = practice::practiceSql(practice::PracticeKind::New, QStringLiteral("100101"));
}

} // namespace

TEST(EscapeKey, LeavesEveryWindowOpen)
{
    TestBank b;
    PromptRecorder prompts;
    prepare(b);
    struct Case {
        const char *window;
        std::function<QDialog *()> make;
    } cases[] = {
        {"practice",
         [] {
             auto *w = new TFrmLxxt;
             EXPECT_TRUE(w->LoadQuestionList());
             return w;
         }},
        {"chapters", [] { return new TFrmkmmc; }},
        {"note",
         [&b] {
             auto *w = new TFrmBj;
             w->bind(b.dm(), {QStringLiteral("tab_answ"), QStringLiteral("A1"), QStringLiteral("m1"), QStringLiteral("A14")});
             w->DBMemo1->setPlainText(QStringLiteral("未存"));
             w->DBMemo1->document()->setModified(true);
             return w;
         }},
        {"explanation", [] { return new TFrmJx; }},
        {"paper records", [] { return createPaperRecordsWindow(nullptr); }},
        {"exam settings", [] { return createExamSettingsWindow(nullptr); }},
        {"about", [] { return new TFrmAbout; }},
    };
    for (const Case &c : cases) {
        std::unique_ptr<QDialog> w(c.make());
        ASSERT_NE(w, nullptr) << c.window;
        w->show();
        QTest::keyClick(w.get(), Qt::Key_Escape);
        // Also when the focus is on a control inside the window.
        if (QWidget *f = w->focusWidget())
            QTest::keyClick(f, Qt::Key_Escape);
        EXPECT_TRUE(w->isVisible()) << c.window;
        EXPECT_EQ(w->result(), 0) << c.window;
        // Nothing was recorded as if the window had been closed.
        EXPECT_TRUE(b.value(QStringLiteral("select D1 from tab_rz where A1=?"), {sqltext::dateText(b.clock().date)}).isNull())
            << c.window;
        EXPECT_TRUE(b.value(QStringLiteral("select A14 from tab_answ where A1='m1'")).isNull()) << c.window;
        w->hide();
    }
}

TEST(TitleBarClose, TakesEachWindowsCloseRoad)
{
    TestBank b;
    PromptRecorder prompts;
    prepare(b);
    const QString today = sqltext::dateText(b.clock().date);
    struct Case {
        const char *window;
        std::function<QDialog *()> make;
        std::function<bool()> closed;   // what the close button's road leaves behind, if anything
    } cases[] = {
        {"practice",
         [] {
             auto *w = new TFrmLxxt;
             EXPECT_TRUE(w->LoadQuestionList());
             return w;
         },
         [&] { return !b.value(QStringLiteral("select D1 from tab_rz where A1=?"), {today}).isNull(); }},
        {"note",
         [&b] {
             auto *w = new TFrmBj;
             w->bind(b.dm(), {QStringLiteral("tab_answ"), QStringLiteral("A1"), QStringLiteral("m1"), QStringLiteral("A14")});
             w->DBMemo1->setPlainText(QStringLiteral("记一笔"));
             w->DBMemo1->document()->setModified(true);
             return w;
         },
         [&] { return b.value(QStringLiteral("select A14 from tab_answ where A1='m1'")).toString() == QStringLiteral("记一笔"); }},
        {"chapters", [] { return new TFrmkmmc; }, nullptr},
        {"paper records", [] { return createPaperRecordsWindow(nullptr); }, nullptr},
        {"exam settings", [] { return createExamSettingsWindow(nullptr); }, nullptr},
    };
    for (const Case &c : cases) {
        std::unique_ptr<QDialog> w(c.make());
        ASSERT_NE(w, nullptr) << c.window;
        w->show();
        QCloseEvent ev;
        QCoreApplication::sendEvent(w.get(), &ev);
        EXPECT_TRUE(ev.isAccepted()) << c.window;
        EXPECT_FALSE(w->isVisible()) << c.window;
        if (c.closed) {
            EXPECT_TRUE(c.closed()) << c.window;
        }
    }
}
