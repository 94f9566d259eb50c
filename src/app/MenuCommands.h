// The menu's command table: what each command string delivered by the menu
// movie does.  Strings are compared exactly, letter case included; a string
// outside the table does nothing.
#pragma once

#include <QString>

struct MenuCommand {
    enum Action {
        None,
        KeyPointDirectory,   // ksdg, zsd
        ChapterPractice,     // lx..lx5 (subject)
        StudyPlan,           // szjh
        ExamSettings,        // szks
        StudyLog,            // rz
        ScoreChart,          // tj
        Upgrade,             // sj
        Settings,            // music (mode 0), sztime (mode 1)
        OpenPage,            // fg, lxfs, help (page)
        About,               // about
        PaperRecords,        // cj
        MockExam,            // mnks..mnks5 (subject)
        Quit,                // quit
    };
    Action action = None;
    int subject = 0;           // practice / exam subject
    int configMode = 0;        // settings window mode
    QString page;              // relative path below AppDir
    bool busyCursor = false;
    bool releaseCursorBeforeShow = false;   // "rz"
};

MenuCommand lookupMenuCommand(const QString &command);

// Every command string of the table, in table order.
QStringList menuCommandStrings();

// The wave-out volume word for a level: clamped to 1..16, (level - 1) x
// 4369 for each channel, the left in the low half and the right in the high.
quint32 waveVolumeWord(int level);
