// What the exam window records and shows about one question of a paper:
// the answer written into the paper row and the bank row with its counting,
// voiding in review, and the type heading.
#pragma once

#include "exam/PaperQuestion.h"

#include <QHash>
#include <QString>

class TDM1;

namespace exam {

// How a cell of the answer sheet looks.
enum class CellLook { Normal, Answered, Right, Wrong };

// Records the answer read from the screen for a paper question while
// answering.  A non-empty answer that differs from the paper row's E2_1 is
// counted (today's log, the chapters, the key points) and written into the
// bank row by the practice rule; a non-empty answer is stored in the paper
// row with today's date; an empty one clears the paper row's answer.  All
// of it in one transaction; the row is updated in memory only after the
// commit.  Returns the released picture the cell gets (Answered or Normal).
// Throws store::DbError.
CellLook recordPaperAnswer(TDM1 &dm, const QString &tableName, PaperQuestion &row, const QString &answer);

// The practice rule on the bank row of the id, judged against the bank's
// key: E4 moves (practice::nextWrongScore), E3 rises by 1, E2_1 and E2
// become the answer, E1 today.  Nothing for an id not in the bank.  Runs
// inside the caller's transaction.
void UpdateBankAnswer(TDM1 &dm, const QString &id, const QString &answer);

// In review, the cell of a question answered right shows the right pictures,
// any other (unanswered ones too) the wrong ones.
inline CellLook reviewLook(const PaperQuestion &row) { return row.e2_1 == row.a2 ? CellLook::Right : CellLook::Wrong; }

// Voiding in review: the paper row gets F1 = 1 and E2 = "zero", the bank row
// f1 = 1 and e2 = "zero"; cancelling gives the paper row F1 = 0 and an empty
// E2 and the bank row f1 = 0.  One transaction.  Throws store::DbError.
void setQuestionVoided(TDM1 &dm, const QString &tableName, PaperQuestion &row, bool voided);
// The status line of a question in review: the practice window's status
// line of the row's F1 (voided, added by the user, or nothing).
QString reviewStatusText(const PaperQuestion &row);

// One row of the current subject's type table.
struct TypeInfo {
    QString name;   // B1
    double b2 = 0;  // questions of the type in a paper
    double b3 = 0;  // score per question
};
using TypeTable = QHash<int, TypeInfo>;
// Reads the type table the data module names (tab_tx<s>).
TypeTable readTypeTable(TDM1 &dm);
// "<name> 每题<B3>分 共<B3 x B2>分", the score taken as a single-precision
// number; empty for a type not in the table.
QString TypeHeading(const TypeTable &types, int typeCode);
// A number in general format: 87.5, 90, 0.5.
QString generalNumber(double v);
// "得分：" + score + " 分".
QString scoreText(double score);

} // namespace exam
