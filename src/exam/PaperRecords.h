// The kept mock papers: their list, newest first, the three figures of the
// records window, and deleting a paper.
#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

class TDM1;

namespace exam {

struct PaperRecord {
    QString tableName;   // A1
    QString title;       // A3
    QVariant score;      // A6, null until marked
    QString timeUsed;    // D2
    int number = 0;      // A3_1
};
// Every row of tab_cj sorted "A3_1 DESC".
QVector<PaperRecord> listPaperRecords(TDM1 &dm);

// Three times the whole-number fifth of the total score.
inline int passMark(int totalScore) { return totalScore / 5 * 3; }

struct RecordFigures {
    int exams = 0;     // rows of tab_cj
    int passed = 0;    // rows with A6 at or above the pass mark
    int average = 0;   // avg(A6), to the nearest integer (a half to even)
};
// The figures for a total score (PaperTotalScore); a paper without a score
// is neither passed nor averaged.
RecordFigures recordFigures(TDM1 &dm, int totalScore);

// "[提示]：成绩少于 <LeastMark> 分的试卷，不被保留。"
QString leastMarkNotice(int leastMark);

// Drops the paper (table and record) and removes any remaining record of
// that name.
void deletePaper(TDM1 &dm, const QString &tableName);

} // namespace exam
