// Ending the answering of a paper: counting the unanswered questions,
// deciding what the submit question offers, marking the paper by one SQL sum
// over the type table, and keeping or dropping it.
#pragma once

#include <QString>

class TDM1;

namespace exam {

// Cells of the answer sheet, the largest paper the exam window shows.
constexpr int SheetCellCount = 110;
// Voiding a paper with fewer unanswered questions than this still adds the
// time spent to the study log.
constexpr int VoidStudyTimeLimit = 50;

// Rows of the paper whose E2_1 is empty or NULL.
int UnansweredCount(TDM1 &dm, const QString &tableName);

// Nothing answered on a paper of a whole sheet: dropped without a question.
inline bool discardsSilently(int unanswered) { return unanswered >= SheetCellCount; }
// The text of the submit question.
QString submitQuestionText(int unanswered);
inline bool voidingAddsStudyTime(int unanswered) { return unanswered < VoidStudyTimeLimit; }

// "select sum(tab_tx<s>.B3) as ZFS from <t>,tab_tx<s> where ..." : the sum
// of the per-question score over the questions answered right (the text
// columns compare without regard to case); 0 when none is.
QString scoreStatement(int subject, const QString &tableName);
double PaperScore(TDM1 &dm, int subject, const QString &tableName);

// LeastMark of the first row of tab_plan (0 without a row).
int readLeastMark(TDM1 &dm);
inline bool BelowLeastMark(int leastMark, double score) { return double(leastMark) > score; }

struct MarkResult {
    double score = 0;
    bool belowLeastMark = false;
};
// Marks the paper: the score, LeastMark, the score and time used into the
// paper's tab_cj record (a paper without a record gets none), and the time
// into today's study log; all in one transaction.  Throws store::DbError
// (or std::invalid_argument for a bad time text); nothing is kept then.
MarkResult MarkPaper(TDM1 &dm, int subject, const QString &tableName, const QString &timeUsed);

// Voids a paper from the submit question: drops it, and adds the time used
// to the study log when fewer than 50 questions were left unanswered.
void voidPaper(TDM1 &dm, const QString &tableName, int unanswered, const QString &timeUsed);

} // namespace exam
