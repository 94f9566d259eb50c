// Keyboard users: the Tab key walks the practice and exam windows through
// the answer buttons, the navigation and "关闭"; values that stand alone on
// screen are spoken with their meaning and follow what the screen shows.
#include "exam/ExamWindowEnv.h"
#include "app/start.h"
#include "platform/MenuPlayerWidget.h"
#include "exam/Uexam.h"
#include "practice/Ukmmc.h"
#include "keypoints/Laws.h"
#include "support/DemoProgram.h"
#include "practice/PracticeFixtures.h"
#include "common/ShellState.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/PracticeSelection.h"
#include "practice/Ulxxt.h"
#include "widgets/AccessibleGui.h"
#include "widgets/Udlg.h"
#include "exam/UexamStart.h"
#include "records/UrecordsStart.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QLineEdit>
#include <QTableWidget>
#include <QSqlQuery>
#include <QLCDNumber>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

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

// A control looks different while it has the focus, and plainly so: more
// than a one-pixel change of a border colour.  The sheet draws button
// borders, the read-only question panes and the grids; the type board paints
// itself over its pictures, and its "任意" is checked from the start.
TEST(FocusShows, OnTheButtonsOfStyledWindows)
{
    examwindow::Env env(4);   // a plan, and an exam of subject 4
    practicefixtures::writePictures(env.b.dir());
    for (const char *f : {"vloxtxup.bmp", "vloxtxdw.bmp"}) {   // the type board's own pictures
        QFile::remove(env.b.dir() + QStringLiteral("pic/") + QLatin1String(f));
        QFile::copy(QStringLiteral(PELLBROOK_SOURCE_DIR "/pic/") + QLatin1String(f), env.b.dir() + QStringLiteral("pic/") + QLatin1String(f));
    }
    practicefixtures::addTypes(env.b);
    practicefixtures::addSection(env.b, 3);
    shell().ScreenMode = QStringLiteral("1024");
    shell().CurSubject = shell().PracticeSubject = 1;
    env.b.dm().setChapterRow(QStringLiteral("100101"));
    shell().PracticeSql = practice::practiceSql(practice::PracticeKind::New, QStringLiteral("100101"));
    auto showsFocus = [](QWidget *window, QWidget *control, const std::string &what) {
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        ASSERT_NE(control, nullptr) << what;
        // The window may have given it the focus on showing.
        control->clearFocus();
        QApplication::processEvents();
        ASSERT_FALSE(control->hasFocus()) << what;
        const QImage before = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(control->hasFocus()) << what;
        const QImage after = control->grab().toImage();
        ASSERT_EQ(after.size(), before.size()) << what;
        int marked = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const QColor a = after.pixelColor(x, y), b = before.pixelColor(x, y);
                marked += std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())}) >= 64;
            }
        EXPECT_GE(marked, 3 * (after.width() + after.height())) << what;
    };
    seams::Prompt quit;
    quit.text = QStringLiteral("还未完成今日学习计划，要退出吗？");
    quit.icon = seams::Prompt::Question;
    quit.buttons = seams::Prompt::Ok | seams::Prompt::Cancel;
    struct Case {
        const char *window, *control;
        std::function<QDialog *()> make;
    } cases[] = {
        {"plan", "SpeedButton1", [] { return createStudyPlanWindow(nullptr); }},
        {"log", "SpeedButton1", [] { return createStudyLogWindow(nullptr); }},
        {"paper records", "SpeedButton4", [] { return createPaperRecordsWindow(nullptr); }},
        {"exam settings", "suiButton2", [] { return createExamSettingsWindow(nullptr); }},
        {"chapters", "DBGrid1", [] { return new TFrmkmmc; }},
        {"practice", "Re1", [] { auto *w = new TFrmLxxt; EXPECT_TRUE(w->LoadQuestionList()); return w; }},
        {"practice", "tx0", [] { auto *w = new TFrmLxxt; EXPECT_TRUE(w->LoadQuestionList()); return w; }},
        {"quit question", "", [quit] { auto *box = new QMessageBox; prepareMessageBox(*box, quit); return box; }},
    };
    for (const Case &c : cases) {
        std::unique_ptr<QDialog> w(c.make());
        QWidget *control = *c.control ? w->findChild<QWidget *>(QLatin1String(c.control)) : nullptr;
        if (auto *box = qobject_cast<QMessageBox *>(w.get()))
            control = box->button(QMessageBox::Ok);   // 确定, the default that Enter presses
        showsFocus(w.get(), control, std::string(c.window) + " " + c.control);
    }
    env.runExam(4, [&](TFrmExam &w) {
        showsFocus(&w, w.Re1, "exam Re1");
        w.hide();
    });
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

// ---------------------------------------------------------------- roads

namespace {

// One key to whatever has the focus, as the keyboard sends it.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    ASSERT_NE(target, nullptr) << "no window has the focus";
    QTest::keyClick(target, Qt::Key(key), modifiers);
    // An accelerator presses its button with a short animation.
    QTest::qWait(modifiers & Qt::AltModifier ? 250 : 0);
}

// Tab until the named control has the focus.
bool tabTo(const char *name)
{
    auto at = [name] { return QApplication::focusWidget() && QApplication::focusWidget()->objectName() == QLatin1String(name); };
    for (int i = 0; i < 80 && !at(); ++i)
        press(Qt::Key_Tab);
    return at();
}

void comeUp(QWidget *w)
{
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
}

// Answers up to `quota` questions of each page and `limit` in all by keys,
// moving on by Enter; returns the answers given per page.
std::map<int, int> answerByKeys(AnswerAreaWidget *area, std::map<int, int> quota, int limit, const std::function<int()> &position)
{
    using namespace practice;
    const std::map<int, std::pair<std::vector<int>, const char *>> keys = {
        {PageSingle, {{Qt::Key_B}, "B"}},           {PageMultiple, {{Qt::Key_A, Qt::Key_C}, "AC"}},
        {PageTrueFalse, {{Qt::Key_N}, "B"}},        {PageSubjective, {{Qt::Key_1}, "1"}},
        {PageMatching, {{Qt::Key_B, Qt::Key_D}, "BD"}}};
    std::map<int, int> given;
    for (int step = 0, total = 0; step < 80 && total < limit; ++step) {
        const int page = area->page();
        if (given[page] < quota[page]) {
            for (int key : keys.at(page).first)
                press(key);
            EXPECT_EQ(area->answer(), QLatin1String(keys.at(page).second)) << "page " << page;
            ++given[page], ++total;
        }
        const int before = position();
        press(Qt::Key_Return);
        if (position() == before)
            break;   // the last question
    }
    return given;
}

} // namespace

// From the menu into practice, the exam and key-point practice and back,
// with nothing but keys: menu entries by Tab and Enter, grid rows by the
// arrows and Enter, buttons by Tab and Enter or their Alt accelerators,
// every answer page by its keys.
TEST(KeyboardRoads, FromTheMenuAndBack)
{
    using namespace practice;
    const std::map<int, int> every = {{PageSingle, 9}, {PageMultiple, 9}, {PageTrueFalse, 9}, {PageMatching, 9}, {PageSubjective, 9}};
    struct Road {
        int menuTabs;              // Tab presses from the menu's first entry
        std::map<int, int> quota;  // answers per page
        int answers;
        int answersToday;          // the study log's count afterwards
        QStringList windows;       // the windows the road passes, in order
    } roads[] = {
        // Section 050102 of the demo bank has every kind of answer page.
        {0, {{PageSingle, 5}, {PageSubjective, 4}, {PageMultiple, 4}, {PageTrueFalse, 3}, {PageMatching, 4}}, 20, 20,
         {QStringLiteral("TFrmkmmc"), QStringLiteral("TFrmLxxt")}},
        {5, every, 3, 23, {QStringLiteral("TFrmExam")}},
        {10, every, 2, 25, {QStringLiteral("TfrmLawsFaGui"), QStringLiteral("TFrmRuleLxxt")}},
    };
    DemoProgram program;
    for (const Road &road : roads) {
        SCOPED_TRACE(road.windows.join(QLatin1Char(' ')).toStdString());
        QStringList passed;
        std::map<int, int> given;
        ui::setModalHook([&](QDialog *d) -> int {
            passed << QString::fromLatin1(d->metaObject()->className());
            comeUp(d);
            if (auto *chapters = qobject_cast<TFrmkmmc *>(d)) {
                chapters->DBGrid1->setFocus(Qt::TabFocusReason);
                EXPECT_TRUE(chapters->DBGrid1->selectionModel()->isRowSelected(chapters->DBGrid1->currentIndex().row(), {}));
                for (int i = 0; i < 200 && chapters->selectedChapter() != QLatin1String("050102"); ++i)
                    press(Qt::Key_Down);
                const int answersBefore = chapters->epNum_ok->intValue();
                press(Qt::Key_Tab);   // out of the grid, to 练习新题
                EXPECT_EQ(QApplication::focusWidget(), chapters->SpeedButton1);
                press(Qt::Key_Return);
                // Back: the section's and the book's counts rose.
                EXPECT_EQ(chapters->selectedChapter(), QStringLiteral("050102"));
                EXPECT_EQ(chapters->epNum_ok->intValue(), answersBefore + road.answers);
                EXPECT_EQ(chapters->DBGrid1->currentIndex().siblingAtColumn(3).data().toInt(), road.answers);   // 已做题数
                EXPECT_TRUE(tabTo("SpeedButton6"));
                press(Qt::Key_Return);
            } else if (auto *directory = qobject_cast<TfrmLawsFaGui *>(d)) {
                press(Qt::Key_Return);   // a heading is refused
                EXPECT_EQ(program.prompts.lastText(), QStringLiteral("请选择具体章节!"));
                press(Qt::Key_Down), press(Qt::Key_Down), press(Qt::Key_Return);
                EXPECT_NE(directory->detail(), nullptr);
                press(Qt::Key_P, Qt::AltModifier);   // 练习(&P)
                press(Qt::Key_B, Qt::AltModifier);   // 返回(&B)
                EXPECT_EQ(directory->detail(), nullptr);
                press(Qt::Key_E, Qt::AltModifier);   // 退出(&E)
            } else if (auto *practiceWindow = qobject_cast<TFrmLxxt *>(d)) {
                given = answerByKeys(practiceWindow->answerArea, road.quota, road.answers, [practiceWindow] { return practiceWindow->currentRecord(); });
                EXPECT_TRUE(tabTo("epEfTrBtn99"));
                press(Qt::Key_Return);
            } else if (auto *examWindow = qobject_cast<TFrmExam *>(d)) {
                given = answerByKeys(examWindow->AnswerArea, road.quota, road.answers, [examWindow] { return examWindow->currentQuestion(); });
                program.prompts.answers = {1};   // "确定要交卷吗？": 确定
                EXPECT_TRUE(tabTo("epEfTrBtn3"));
                press(Qt::Key_Return);
                // Marking showed the same window again, in review (the
                // seam shows it without the activation a modal window gets).
                EXPECT_EQ(examWindow->windowTitle(), QStringLiteral("查阅试卷"));
                comeUp(examWindow);
                EXPECT_TRUE(tabTo("epEfTrBtn7"));
                press(Qt::Key_Return);
            }
            EXPECT_FALSE(d->isVisible()) << d->metaObject()->className() << " still open";
            return d->result();
        });
        TFrmStart start;
        comeUp(&start);
        start.FormShow();
        for (int i = 0; i < road.menuTabs; ++i)
            press(Qt::Key_Tab);
        press(Qt::Key_Return);
        ui::setModalHook({});

        EXPECT_EQ(passed, road.windows);
        int total = 0;
        for (const auto &[page, count] : given) {
            total += count;
            if (road.answers == 20) {   // every kind of page answered by keys
                EXPECT_EQ(count, road.quota.at(page)) << "page " << page;
            }
        }
        EXPECT_EQ(total, road.answers);
        QSqlQuery log = program.dm->exec(QStringLiteral("select A2 from tab_rz where A1 = '2026-03-10'"));
        EXPECT_TRUE(log.next() && log.value(0).toInt() == road.answersToday);
    }
}
