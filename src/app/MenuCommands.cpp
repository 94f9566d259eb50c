// The command table of the main menu.
#include "app/MenuCommands.h"

#include <QStringList>

MenuCommand lookupMenuCommand(const QString &command)
{
    MenuCommand c;
    auto window = [&](MenuCommand::Action a, bool busy) {
        c.action = a;
        c.busyCursor = busy;
        return c;
    };
    if (command == QLatin1String("ksdg") || command == QLatin1String("zsd"))
        return window(MenuCommand::KeyPointDirectory, true);
    const QString lx[] = {QStringLiteral("lx"), QStringLiteral("lx2"), QStringLiteral("lx3"), QStringLiteral("lx4"), QStringLiteral("lx5")};
    const QString mnks[] = {QStringLiteral("mnks"), QStringLiteral("mnks2"), QStringLiteral("mnks3"), QStringLiteral("mnks4"), QStringLiteral("mnks5")};
    for (int s = 0; s < 5; ++s) {
        if (command == lx[s]) {
            c.subject = s + 1;
            return window(MenuCommand::ChapterPractice, true);
        }
        if (command == mnks[s]) {
            c.subject = s + 1;
            return window(MenuCommand::MockExam, false);
        }
    }
    if (command == QLatin1String("szjh"))
        return window(MenuCommand::StudyPlan, true);
    if (command == QLatin1String("szks"))
        return window(MenuCommand::ExamSettings, true);
    if (command == QLatin1String("rz")) {
        c.releaseCursorBeforeShow = true;
        return window(MenuCommand::StudyLog, true);
    }
    if (command == QLatin1String("tj"))
        return window(MenuCommand::ScoreChart, true);
    if (command == QLatin1String("sj"))
        return window(MenuCommand::Upgrade, false);
    if (command == QLatin1String("music") || command == QLatin1String("sztime")) {
        c.configMode = command == QLatin1String("music") ? 0 : 1;
        return window(MenuCommand::Settings, false);
    }
    if (command == QLatin1String("fg")) {
        c.page = QStringLiteral("htm/Halvorne.htm");
        return window(MenuCommand::OpenPage, false);
    }
    if (command == QLatin1String("lxfs")) {
        c.page = QStringLiteral("htm/发行站及专业书店联系方式.htm");
        return window(MenuCommand::OpenPage, false);
    }
    if (command == QLatin1String("help")) {
        // The help is an HTML file beside the program.
        c.page = QStringLiteral("htm/help.htm");
        return window(MenuCommand::OpenPage, false);
    }
    if (command == QLatin1String("about"))
        return window(MenuCommand::About, false);
    if (command == QLatin1String("cj"))
        return window(MenuCommand::PaperRecords, true);
    if (command == QLatin1String("quit"))
        return window(MenuCommand::Quit, false);
    return c;
}

QStringList menuCommandStrings()
{
    return {QStringLiteral("ksdg"), QStringLiteral("zsd"), QStringLiteral("lx"), QStringLiteral("lx2"), QStringLiteral("lx3"),
            QStringLiteral("lx4"), QStringLiteral("lx5"), QStringLiteral("szjh"), QStringLiteral("szks"), QStringLiteral("rz"),
            QStringLiteral("tj"), QStringLiteral("sj"), QStringLiteral("music"), QStringLiteral("sztime"), QStringLiteral("fg"),
            QStringLiteral("lxfs"), QStringLiteral("help"), QStringLiteral("about"), QStringLiteral("cj"), QStringLiteral("mnks"),
            QStringLiteral("mnks2"), QStringLiteral("mnks3"), QStringLiteral("mnks4"), QStringLiteral("mnks5"), QStringLiteral("quit")};
}

quint32 waveVolumeWord(int level)
{
    const int clamped = level < 1 ? 1 : (level > 16 ? 16 : level);
    const quint32 channel = quint32(clamped - 1) * 4369u;
    return channel | (channel << 16);
}
