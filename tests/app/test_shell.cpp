// Shell logic: the command table, the "quit" plan check, the volume word.
#include "app/MenuCommands.h"
#include "app/QuitCheck.h"
#include "store/SqlText.h"
#include "support/TestBank.h"

#include <gtest/gtest.h>

TEST(MenuCommands, EveryStringOfTheTableHasItsAction)
{
    struct Case {
        const char *command;
        MenuCommand::Action action;
        int subject;
        bool busy;
    } cases[] = {
        {"ksdg", MenuCommand::KeyPointDirectory, 0, true}, {"zsd", MenuCommand::KeyPointDirectory, 0, true},
        {"lx", MenuCommand::ChapterPractice, 1, true},     {"lx2", MenuCommand::ChapterPractice, 2, true},
        {"lx3", MenuCommand::ChapterPractice, 3, true},    {"lx4", MenuCommand::ChapterPractice, 4, true},
        {"lx5", MenuCommand::ChapterPractice, 5, true},    {"szjh", MenuCommand::StudyPlan, 0, true},
        {"szks", MenuCommand::ExamSettings, 0, true},      {"rz", MenuCommand::StudyLog, 0, true},
        {"tj", MenuCommand::ScoreChart, 0, true},          {"sj", MenuCommand::Upgrade, 0, false},
        {"music", MenuCommand::Settings, 0, false},        {"sztime", MenuCommand::Settings, 0, false},
        {"fg", MenuCommand::OpenPage, 0, false},           {"lxfs", MenuCommand::OpenPage, 0, false},
        {"help", MenuCommand::OpenPage, 0, false},         {"about", MenuCommand::About, 0, false},
        {"cj", MenuCommand::PaperRecords, 0, true},        {"mnks", MenuCommand::MockExam, 1, false},
        {"mnks2", MenuCommand::MockExam, 2, false},        {"mnks3", MenuCommand::MockExam, 3, false},
        {"mnks4", MenuCommand::MockExam, 4, false},        {"mnks5", MenuCommand::MockExam, 5, false},
        {"quit", MenuCommand::Quit, 0, false},
        // Other letter case, near misses and unknown strings do nothing.
        {"Lx", MenuCommand::None, 0, false},   {"QUIT", MenuCommand::None, 0, false}, {"lx6", MenuCommand::None, 0, false},
        {"mnks1", MenuCommand::None, 0, false}, {"", MenuCommand::None, 0, false},     {" lx", MenuCommand::None, 0, false},
    };
    for (const Case &c : cases) {
        const MenuCommand m = lookupMenuCommand(QString::fromLatin1(c.command));
        EXPECT_EQ(m.action, c.action) << c.command;
        EXPECT_EQ(m.subject, c.subject) << c.command;
        EXPECT_EQ(m.busyCursor, c.busy) << c.command;
    }
    EXPECT_EQ(lookupMenuCommand(QStringLiteral("music")).configMode, 0);
    EXPECT_EQ(lookupMenuCommand(QStringLiteral("sztime")).configMode, 1);
    EXPECT_TRUE(lookupMenuCommand(QStringLiteral("rz")).releaseCursorBeforeShow);
    EXPECT_EQ(lookupMenuCommand(QStringLiteral("lxfs")).page, QStringLiteral("htm/发行站及专业书店联系方式.htm"));
    EXPECT_EQ(menuCommandStrings().size(), 25);
    for (const QString &s : menuCommandStrings())
        EXPECT_NE(lookupMenuCommand(s).action, MenuCommand::None) << s.toStdString();
}

TEST(MenuCommands, WaveVolumeWord)
{
    const std::pair<int, quint32> cases[] = {{1, 0u}, {0, 0u}, {-5, 0u}, {2, 0x11111111u}, {16, 0xFFFFFFFFu}, {40, 0xFFFFFFFFu}};
    for (auto [level, word] : cases)
        EXPECT_EQ(waveVolumeWord(level), word) << level;
}

TEST(QuitCheck, ComparesTodayWithThePlan)
{
    struct Case {
        int planMark, amount, time;
        int answers;          // -1: no row today
        const char *studied;  // today's D1
        QuitCheck::Outcome outcome;
    } cases[] = {
        {0, 20, 0, -1, nullptr, QuitCheck::NotDone},
        {0, 0, 0, -1, nullptr, QuitCheck::Done},
        {0, 20, 0, 20, "0:00:00", QuitCheck::Done},
        {0, 20, 0, 21, "0:00:00", QuitCheck::Exceeded},
        {1, 0, 60, 5, "1:00:59", QuitCheck::Done},       // 3659 s -> 60 minutes
        {1, 0, 60, 5, "0:59:59", QuitCheck::NotDone},
        {1, 0, 60, 5, "01:01:00", QuitCheck::Exceeded},
        {1, 0, 60, -1, nullptr, QuitCheck::NotDone},
        {2, 20, 60, 0, "0:00:00", QuitCheck::NoPlan},
    };
    for (const Case &c : cases) {
        TestBank b;
        b.run(QStringLiteral("insert into tab_plan (PlanMark, PlanAmount, PlanTime) values (?,?,?)"), {c.planMark, c.amount, c.time});
        if (c.answers >= 0)
            b.run(QStringLiteral("insert into tab_rz (A1, A2, D1) values (?,?,?)"),
                  {sqltext::dateText(b.clock().date), c.answers, QString::fromLatin1(c.studied)});
        EXPECT_EQ(checkStudyPlan(b.dm()).outcome, c.outcome) << c.planMark << " " << c.answers;
    }
}
