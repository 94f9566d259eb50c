// Shell-wide state: values that exist once for the whole run and that
// windows hand to each other (screen mode, current subject, answer times,
// the practice selection, and so on).
#pragma once

#include <QString>
#include <QVector>

struct ShellState {
    QString ScreenMode;          // "800" or "1024"
    int CurSubject = 0;          // 1..5 once the menu has shown
    int PracticeSubject = 0;     // 1..5, set by the practice commands
    QVector<int> TypeTimes;      // practice timer interval per type, ms
    QVector<int> TypeCodes;      // parallel to TypeTimes
    bool MusicOn = false;
    QString MusicFile;
    int ConfigMode = 0;          // settings window: 0 music, 1 answer times
    QString PracticeSql;         // selection the practice window loads
    bool NoteHasContent = false; // left by the note window
    int ExistingKeyPointCount = 0;
    int WaveVolumeLevel = 12;    // level given to SetWaveVolume at start-up

    // The 800 x 600 layouts (ScreenMode "800") rather than the 1024 x 768 ones.
    bool compactScreen() const { return ScreenMode == QLatin1String("800"); }

    // Timer interval of a question type: the entry for the code, or 600 ms
    // for a type without one.
    int typeTime(int typeCode) const;
};

ShellState &shell();

// The edition title of a subject (1..5), empty outside that range.
QString editionTitle(int subject);

// Trunc(time x 600): the practice timer interval in ms for a per-question
// time given in minutes.
int typeTimeInterval(double minutes);

// Reads the answer times of a subject's type table into TypeTimes and
// TypeCodes (kept as they were when the table is empty); the engine's
// errors leave as DbError.
class TDM1;
void loadTypeTimes(TDM1 &dm, int subject);
