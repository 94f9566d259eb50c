// The question selections of chapter practice: new questions, wrong
// questions, review, and the double-click on a chapter row; the start of a
// practice run; and what the chapter window says when a selection is empty.
#pragma once

#include <QString>

class TDM1;

namespace practice {

enum class PracticeKind { New = 1, Wrong = 2, Review = 3 };

// Codes of one or two characters are headings (subject, part) and cannot
// be practised; an empty code (no row chosen) cannot either.
bool isHeadingCode(const QString &chapterCode);

// The selection of a practice kind for a chapter and all its sub-chapters.
QString practiceSql(PracticeKind kind, const QString &chapterCode);
// The double-click on a chapter row: new questions without the id as the
// last sort key.
QString doubleClickSql(const QString &chapterCode);

// The message of an empty selection and its picture page (0 notice,
// 1 warning).
QString emptySelectionText(PracticeKind kind);
int emptySelectionPicture(PracticeKind kind);

// Starts a practice run: every question loses the answer of the last run.
// Only rows that still hold one are written.
void clearRunAnswers(TDM1 &dm);

// The chapter totals of the chapter window (six-character codes only).
struct ChapterTotals {
    qint64 questions = 0;   // sum of C3
    qint64 answers = 0;     // sum of D1
    qint64 wrong = 0;       // sum of D2
};
ChapterTotals chapterTotals(TDM1 &dm);
// The number shown as "总习题数": the question total limited to 10000.
qint64 shownQuestionTotal(qint64 questions);
// "综合成绩" text, or an empty text when no answer was given (the label then
// keeps what it showed).
QString overallScoreText(const ChapterTotals &t);

} // namespace practice
