// The exam window closed by the window manager (title-bar close, Alt+F4)
// takes the road of its "关闭" button: the submit question while
// answering, nothing while paused, the minimum-mark drop in review.
#include "ExamWindowEnv.h"

#include "practice/AnswerAreaWidget.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Sends the window manager's close; true when the window let itself close.
bool closeByWindowManager(QWidget &w)
{
    QCloseEvent ev;
    QCoreApplication::sendEvent(&w, &ev);
    return ev.isAccepted();
}

} // namespace

TEST(ExamWindowClosing, TheTitleBarCloseTakesTheCloseButtonsRoad)
{
    enum Answer { None = 0, Submit = 1, Void = 2, Cancel = 3 };
    struct Case {
        const char *road;
        bool pauseFirst;
        Answer answer;        // to the submit question
        bool closedAfter;     // by the first close
        bool reviewClose;     // a second close, in review
        int papersKept;
        bool timeLogged;
    } cases[] = {
        {"cancel keeps answering", false, Cancel, false, false, 1, false},
        {"submit marks, review below the minimum drops", false, Submit, false, true, 0, true},
        {"void drops and logs the time", false, Void, true, false, 0, true},
        {"paused: close does nothing", true, None, false, false, 1, false},
    };
    for (const Case &c : cases) {
        examwindow::Env env(4, 5);   // LeastMark 5; one right answer scores 1
        env.b.dm().LogAnswerToday(2, 1, 2);
        env.runExam(4, [&](TFrmExam &w) {
            QTest::mouseClick(w.AnswerArea->optionButton(0, 0), Qt::LeftButton);
            env.now += 30000;
            if (c.pauseFirst)
                QTest::mouseClick(w.epEfTrBtn13, Qt::LeftButton);
            if (c.answer != None)
                env.prompts.answers = {int(c.answer)};
            const bool accepted = closeByWindowManager(w);
            EXPECT_EQ(accepted, c.closedAfter) << c.road;
            EXPECT_EQ(w.isClosed(), c.closedAfter) << c.road;
            if (c.answer == None) {
                EXPECT_TRUE(env.prompts.prompts.isEmpty()) << c.road;
            } else {
                ASSERT_FALSE(env.prompts.prompts.isEmpty()) << c.road;
                EXPECT_EQ(env.prompts.prompts.first().text, QStringLiteral("你还有14道题未做，确定要交卷吗？")) << c.road;
            }
            if (c.answer == Submit) {
                EXPECT_EQ(w.paper().mode, QStringLiteral("old")) << c.road;
                EXPECT_TRUE(w.BelowLeastMark);
            }
            if (c.reviewClose) {
                EXPECT_TRUE(closeByWindowManager(w)) << c.road;
                EXPECT_TRUE(w.isClosed()) << c.road;
            }
            if (!w.isClosed())
                w.done(0);
        });
        EXPECT_EQ(env.count(QStringLiteral("select count(*) from tab_cj")), c.papersKept) << c.road;
        const QString d1 = env.b.value(QStringLiteral("select D1 from tab_rz")).toString();
        EXPECT_EQ(!d1.isEmpty() && d1 != QStringLiteral("00:00:00"), c.timeLogged) << c.road << " D1=" << d1.toStdString();
    }
}
