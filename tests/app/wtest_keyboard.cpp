// Keyboard users: the Tab key walks the practice and exam windows through
// the answer buttons, the navigation and "关闭"; values that stand alone on
// screen are spoken with their meaning and follow what the screen shows.
#include "exam/ExamWindowEnv.h"
#include "practice/PracticeFixtures.h"
#include "common/ShellState.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/PracticeSelection.h"
#include "practice/Ulxxt.h"
#include "widgets/AccessibleGui.h"
#include "exam/UexamStart.h"
#include "records/UrecordsStart.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The object names the focus passes through, Tab after Tab, until it comes
// round to where it started (or a generous number of steps).
QStringList tabChain(QWidget *window)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
    QStringList seen;
    QWidget *first = nullptr;
    for (int i = 0; i < 400; ++i) {
        QWidget *f = QApplication::focusWidget();
        QTest::keyClick(f ? f : window, Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (!now || now == first)
            break;
        if (!first)
            first = now;
        seen << now->objectName();
    }
    return seen;
}

QString spokenName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

TEST(TabOrder, PracticeAndExamReachAnswersNavigationAndClose)
{
    {
        TestBank b;
        PromptRecorder prompts;
        practicefixtures::writePictures(b.dir());
        practicefixtures::addTypes(b);
        practicefixtures::addSection(b, 3);
        shell().ScreenMode = QStringLiteral("1024");
        shell().PracticeSubject = 1;
        shell().CurSubject = 1;
        b.dm().setChapterRow(QStringLiteral("100101"));
        shell().PracticeSql = practice::practiceSql(practice::PracticeKind::New, QStringLiteral("100101"));
        TFrmLxxt w;
        ASSERT_TRUE(w.LoadQuestionList());
        const QStringList chain = tabChain(&w);
        // The first question is a single choice: its letters are on the chain
        // (上一题 is disabled on the first question and is not).
        for (const char *name : {"fcBG_oneA", "fcBG_oneB", "epEfTrBtn2", "epEfTrBtn3", "epEfTrBtn99"})
            EXPECT_TRUE(chain.contains(QLatin1String(name))) << name << " " << chain.join(QLatin1Char(' ')).toStdString();
        // The hundred-odd numbers of the board stay off the chain.
        EXPECT_FALSE(chain.contains(QStringLiteral("th1")));
        // The answer letters come before the navigation, the navigation before 关闭.
        EXPECT_LT(chain.indexOf(QStringLiteral("fcBG_oneA")), chain.indexOf(QStringLiteral("epEfTrBtn2")));
        EXPECT_LT(chain.indexOf(QStringLiteral("epEfTrBtn2")), chain.indexOf(QStringLiteral("epEfTrBtn99")));
        // Space on a button that has the focus presses it: 下一题 moves on.
        const QString before = w.Lb_pos->text();
        w.epEfTrBtn2->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.epEfTrBtn2, Qt::Key_Space);
        EXPECT_NE(w.Lb_pos->text(), before);
        EXPECT_TRUE(tabChain(&w).contains(QStringLiteral("epEfTrBtn1")));
        w.hide();
        shell() = ShellState();
    }
    {
        examwindow::Env env(4);
        QStringList chain;
        env.runExam(4, [&](TFrmExam &w) {
            chain = tabChain(&w);
            w.epEfTrBtn2->click();
            chain += tabChain(&w);
            w.hide();
        });
        for (const char *name : {"epEfTrBtn1", "epEfTrBtn2", "epEfTrBtn7"})
            EXPECT_TRUE(chain.contains(QLatin1String(name))) << name << " " << chain.join(QLatin1Char(' ')).toStdString();
        bool anAnswerButton = false;
        for (const QString &n : chain)
            anAnswerButton = anAnswerButton || n.startsWith(QLatin1String("fcBG_"));
        EXPECT_TRUE(anAnswerButton) << chain.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(chain.contains(QStringLiteral("fcBG_th1")));
    }
}

// A button looks different while it has the focus: a style sheet that
// draws button borders must not hide where the focus is.
TEST(FocusShows, OnTheButtonsOfStyledWindows)
{
    TestBank b;
    PromptRecorder prompts;
    b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime) values (0, 7200)"));
    struct Case {
        const char *window, *button;
        std::function<QDialog *()> make;
    } cases[] = {
        {"plan", "SpeedButton1", [] { return createStudyPlanWindow(nullptr); }},
        {"log", "SpeedButton1", [] { return createStudyLogWindow(nullptr); }},
        {"paper records", "SpeedButton4", [] { return createPaperRecordsWindow(nullptr); }},
        {"exam settings", "suiButton2", [] { return createExamSettingsWindow(nullptr); }},
    };
    for (const Case &c : cases) {
        std::unique_ptr<QDialog> w(c.make());
        w->show();
        w->activateWindow();
        QApplication::setActiveWindow(w.get());
        auto *button = w->findChild<QPushButton *>(QLatin1String(c.button));
        ASSERT_NE(button, nullptr) << c.window;
        // The window may have given it the focus on showing.
        button->clearFocus();
        QApplication::processEvents();
        ASSERT_FALSE(button->hasFocus()) << c.window;
        const QImage before = button->grab().toImage();
        button->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(button->hasFocus()) << c.window;
        EXPECT_NE(button->grab().toImage(), before) << c.window;
    }
}

TEST(SpokenValues, FollowWhatTheScreenShows)
{
    QWidget window;
    auto *total = new QLabel(QStringLiteral("28"), &window);
    auto *pos = new QLabel(QStringLiteral("1"), &window);
    total->move(0, 30);
    a11y::speakValue(pos, [total](const QString &n) { return QStringLiteral("第%1题，共%2题").arg(n, total->text()); });
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(spokenName(pos), QStringLiteral("第1题，共28题"));
    // Both the value and the total it is read with change.
    total->setText(QStringLiteral("17"));
    pos->setText(QStringLiteral("17"));
    QApplication::processEvents();
    EXPECT_EQ(spokenName(pos), QStringLiteral("第17题，共17题"));
    // The screen keeps showing the bare value.
    EXPECT_EQ(pos->text(), QStringLiteral("17"));
    // An explicit refresh gives the same name without waiting for a repaint.
    pos->setText(QStringLiteral("3"));
    a11y::refreshSpokenValues(&window);
    EXPECT_EQ(spokenName(pos), QStringLiteral("第3题，共17题"));
}

TEST(LabelWords, DropMnemonicsColonsAndLineBreaks)
{
    const std::pair<const char *, const char *> cases[] = {
        {"考试日：", "考试日"},
        {"&Find:", "Find"},
        {"A && B", "A & B"},
        {"已做习题\n（道次）", "已做习题（道次）"},
        {"  总习题数  ", "总习题数"},
        {"", ""},
    };
    for (auto [text, words] : cases)
        EXPECT_EQ(a11y::labelWords(QString::fromUtf8(text)), QString::fromUtf8(words)) << text;
}
