// Shell windows: the message dialog, the main window's dispatch and "quit".
#include "widgets/ModalGui.h"
#include "common/ShellState.h"
#include "widgets/Udlg.h"
#include "app/start.h"
#include "platform/MenuPlayerWidget.h"
#include "store/SqlText.h"
#include "support/TestBank.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include "store/BankBackup.h"
#include <gtest/gtest.h>

TEST(ShowDlg, KindsWidthsAndWording)
{
    TFrmDlg d;
    struct Case {
        int kind, page;
        const char *wording;
        int width;
        bool left, middle, right;
        const char *leftText, *middleText, *rightText;
    } cases[] = {
        {3, 0, "NO", 200, true, false, false, "确定", "确定", "取消"},
        {3, 1, "No", 200, true, false, false, "确定", "确定", "取消"},   // reset to 399, narrowed again
        {1, 2, "", 399, false, true, false, "确定", "确定", "取消"},
        {0, 1, "No", 399, true, false, true, "确定", "确定", "取消"},
        {2, 2, "Exam", 399, true, true, true, "确定", "取消", "作废"},
        {1, 0, "Exam", 399, false, true, false, "确定", "取消", "作废"},
        {7, 0, "NO", 399, false, true, false, "确定", "确定", "取消"},    // unknown kind keeps the buttons
    };
    for (const Case &c : cases) {
        d.prepare(QStringLiteral("提示"), QStringLiteral("消息"), c.kind, c.page, QString::fromLatin1(c.wording));
        EXPECT_EQ(d.width(), c.width) << c.kind;
        EXPECT_EQ(d.fcShapeBtn1->isVisibleTo(&d), c.left) << c.kind;
        EXPECT_EQ(d.fcShapeBtn3->isVisibleTo(&d), c.middle) << c.kind;
        EXPECT_EQ(d.fcShapeBtn2->isVisibleTo(&d), c.right) << c.kind;
        EXPECT_EQ(d.fcShapeBtn1->text(), QString::fromUtf8(c.leftText));
        EXPECT_EQ(d.fcShapeBtn3->text(), QString::fromUtf8(c.middleText));
        EXPECT_EQ(d.fcShapeBtn2->text(), QString::fromUtf8(c.rightText));
        EXPECT_EQ(d.epNoteBook1->currentIndex(), c.page);
        EXPECT_EQ(d.Label1->text(), QStringLiteral("提示"));
        EXPECT_EQ(d.fcLabel1->text(), QStringLiteral("消息"));
    }
    EXPECT_EQ(d.windowTitle(), QStringLiteral("提示"));
    EXPECT_EQ(d.epNoteBook1->count(), 3);
}

TEST(ShowDlg, ReturnsTheModalResultOfThePressedButton)
{
    installRealPrompts();
    const std::pair<const char *, int> cases[] = {{"fcShapeBtn1", 1}, {"fcShapeBtn2", 2}, {"fcShapeBtn3", 3}};
    for (auto [name, result] : cases) {
        QTimer::singleShot(0, [name = name] {
            if (auto *b = FrmDlg()->findChild<QPushButton *>(QLatin1String(name)))
                b->click();
        });
        EXPECT_EQ(ShowDlg(QStringLiteral("提示"), QStringLiteral("确定要交卷吗？"), 2, 0, QStringLiteral("Exam")), result) << name;
    }
    seams::setPromptHandler(nullptr);
    destroyFrmDlg();
}

namespace {

struct ShellFixture {
    TestBank bank;
    PromptRecorder prompts;
    std::unique_ptr<TFrmStart> start = std::make_unique<TFrmStart>();
    QStringList opened;         // titles of windows opened modally
    QStringList pages;
    ShellFixture()
    {
        ui::setModalHook([this](QDialog *d) {
            opened << d->windowTitle();
            return 0;
        });
        ui::setOpenHook([this](const QString &p) { pages << p; });
    }
    ~ShellFixture()
    {
        ui::setModalHook(nullptr);
        ui::setOpenHook(nullptr);
        shell() = ShellState();
    }
};

} // namespace

TEST(TFrmStart, DispatchesCommandsToTheirWindows)
{
    ShellFixture f;
    QList<MenuCommand> created;
    for (auto action : {MenuCommand::ChapterPractice, MenuCommand::StudyLog, MenuCommand::Settings, MenuCommand::PaperRecords}) {
        f.start->setWindowFactory(action, [&created](QWidget *owner, const MenuCommand &c) {
            created << c;
            auto *d = new QDialog(owner);
            d->setWindowTitle(QStringLiteral("window %1").arg(int(c.action)));
            return d;
        });
    }
    int examSubject = 0;
    f.start->mockExam = [&](int s) { examSubject = s; };

    f.start->ShockwaveFlash1FSCommand(QStringLiteral("lx3"), QStringLiteral("ignored"));
    EXPECT_EQ(shell().PracticeSubject, 3);
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("sztime"), QString());
    EXPECT_EQ(shell().ConfigMode, 1);
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("rz"), QString());
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("about"), QString());
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("mnks4"), QString());
    EXPECT_EQ(examSubject, 4);
    // Not in the table, other letter case, or a window the program lacks.
    for (const char *c : {"Lx", "QUIT", "nothing"})
        f.start->ShockwaveFlash1FSCommand(QString::fromLatin1(c), QString());
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("fg"), QString());
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("help"), QString());

    ASSERT_EQ(created.size(), 3);
    EXPECT_EQ(created[0].action, MenuCommand::ChapterPractice);
    EXPECT_EQ(created[1].action, MenuCommand::Settings);
    EXPECT_EQ(created[2].action, MenuCommand::StudyLog);
    EXPECT_EQ(f.opened.size(), 4);
    EXPECT_EQ(f.opened.last(), QStringLiteral("关于"));
    EXPECT_EQ(f.pages, QStringList({f.bank.dir() + QStringLiteral("htm/Halvorne.htm"), f.bank.dir() + QStringLiteral("htm/help.htm")}));
    EXPECT_FALSE(QApplication::overrideCursor());
    EXPECT_TRUE(f.prompts.prompts.isEmpty());
}

TEST(TFrmStart, AFailingWindowGoesToTheErrorDisplayAndTheMenuStaysUsable)
{
    ShellFixture f;
    f.start->setWindowFactory(MenuCommand::PaperRecords, [](QWidget *, const MenuCommand &) -> QDialog * {
        throw store::DbError(QStringLiteral("no such table: tab_cj"));
    });
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("cj"), QString());
    ASSERT_EQ(f.prompts.prompts.size(), 1);
    EXPECT_EQ(f.prompts.lastText(), QStringLiteral("no such table: tab_cj"));
    EXPECT_FALSE(QApplication::overrideCursor());
    f.start->ShockwaveFlash1FSCommand(QStringLiteral("about"), QString());
    EXPECT_EQ(f.opened, QStringList({QStringLiteral("关于")}));
}

TEST(TFrmStart, QuitChecksThePlanFirst)
{
    struct Case {
        int planAmount;
        int answer;           // button the user presses
        const char *message;
        bool closes;
    } cases[] = {
        {20, seams::Prompt::Cancel, "还未完成今日学习计划，要退出吗？", false},
        {20, seams::Prompt::Ok, "还未完成今日学习计划，要退出吗？", true},
        {0, seams::Prompt::Ok, "恭喜完成今日学习计划！", true},
    };
    for (const Case &c : cases) {
        ShellFixture f;
        f.bank.run(QStringLiteral("insert into tab_plan (PlanMark, PlanAmount, PlanTime) values (0, ?, 0)"), {c.planAmount});
        f.start->show();
        f.prompts.answers << c.answer;
        f.start->ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString());
        ASSERT_EQ(f.prompts.prompts.size(), 1);
        EXPECT_EQ(f.prompts.prompts[0].caption, QStringLiteral("提示"));
        EXPECT_EQ(f.prompts.lastText(), QString::fromUtf8(c.message));
        EXPECT_EQ(f.start->isVisible(), !c.closes) << c.message;
        // Leaving makes the day's copy of the bank.
        EXPECT_EQ(bankbackup::findBackups(bankbackup::backupDir(f.bank.dir() + QStringLiteral("data/x"))).size(), c.closes ? 1 : 0);
    }
}

TEST(TFrmStart, ShowingLoadsTheAnswerTimesOfTheCurrentSubject)
{
    ShellFixture f;
    f.bank.run(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, time) values (61,'单选',40,1,0.5),(65,'多选',15,2,30),(71,'判断',40,1,1.2345)"));
    shell().CurSubject = 0;
    f.start->FormShow();
    EXPECT_EQ(shell().CurSubject, 1);
    EXPECT_TRUE(shell().MusicOn);
    EXPECT_EQ(shell().TypeCodes, QVector<int>({61, 65, 71}));
    EXPECT_EQ(shell().TypeTimes, QVector<int>({300, 18000, 740}));
    // An empty type table leaves the arrays as they were.
    shell().CurSubject = 2;
    f.start->FormShow();
    EXPECT_EQ(shell().TypeCodes, QVector<int>({61, 65, 71}));
}

TEST(TFrmStart, ScreenMode)
{
    const std::pair<QSize, const char *> cases[] = {{{800, 600}, "800"}, {{800, 1024}, "800"}, {{1280, 600}, "800"},
                                                    {{1024, 768}, "1024"}, {{1280, 1024}, "1024"}, {{1920, 1080}, "1024"}};
    for (auto [size, mode] : cases)
        EXPECT_EQ(TFrmStart::screenModeFor(size), QString::fromLatin1(mode)) << size.width() << "x" << size.height();
}

TEST(ShowDlg, EscapeNeverDiscardsAPaper)
{
    installRealPrompts();
    struct Case {
        int kind;
        const char *wording;
        int expected;
    } cases[] = {
        {2, "Exam", 3},   // 确定 / 作废 / 取消: Escape is 取消
        {0, "No", 2},     // 确定 / 取消
        {1, "NO", 3},     // the only button
        {1, "Exam", 3},
    };
    for (const Case &c : cases) {
        QTimer::singleShot(0, [] {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(FrmDlg(), &esc);
        });
        EXPECT_EQ(ShowDlg(QStringLiteral("提示"), QStringLiteral("确定要交卷吗？"), c.kind, 0, QString::fromLatin1(c.wording)), c.expected)
            << c.kind << c.wording;
    }
    seams::setPromptHandler(nullptr);
    destroyFrmDlg();
}
