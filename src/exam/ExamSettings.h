// The two settings of the mock exam in the first row of tab_plan: the
// minimum score for keeping a marked paper and the time allowed for a paper.
#pragma once

#include <QString>
#include <QtGlobal>

class TDM1;

namespace exam {

constexpr int DefaultExamMinutes = 120;

struct ExamSettings {
    bool found = false;    // tab_plan has a row
    int leastMark = 0;     // LeastMark, points
    qint64 examTime = 0;   // ExamTime, seconds
};
ExamSettings readExamSettings(TDM1 &dm);

// The exam clock's limit: the time is up once the elapsed seconds reach
// ExamTime (an ExamTime of 0 ends the exam at its first tick).  Without a
// settings row there is no limit.
inline bool examTimeIsUp(qint64 elapsedSeconds, const ExamSettings &s) { return s.found && elapsedSeconds >= s.examTime; }

// The minutes box shows whole minutes.
inline qint64 examMinutes(qint64 examTime) { return examTime / 60; }
// The whole-number half of the total score.
inline int defaultLeastMark(int totalScore) { return totalScore / 2; }

// The minimum-score box after a change: empty becomes "0"; a value above
// the total score is refused and replaced by the total.
struct LeastMarkCheck {
    QString text;
    bool refused = false;
};
LeastMarkCheck checkLeastMark(const QString &text, int totalScore);
QString leastMarkRefusal();   // "最低分数不能超过总分数！"

// Writes LeastMark = the first box and ExamTime = minutes x 60 into the
// first row of tab_plan.  False (and nothing changed) when either box is
// not a whole number, the table has no row, or the bank refuses.
bool saveExamSettings(TDM1 &dm, const QString &leastMarkText, const QString &minutesText);

} // namespace exam
