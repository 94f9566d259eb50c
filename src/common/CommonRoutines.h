// Small routines that nearly every window uses: the answer page of a
// question type, the total score of a paper, and removing a paper.
#pragma once

#include <QString>

class TDM1;

// Answer page of a question type code; 99 for a code without a page.
int TypeToPage(int typeCode);

// Sum of B2 x B3 over the type table the data module currently names, each
// rounded to a whole number (a half to the even neighbour).  Throws
// store::DbError when the table cannot be read.
int PaperTotalScore(TDM1 &dm);

// True when the name is a paper table name: "tab_exam" and digits.
bool IsPaperTableName(const QString &name);

// Drops the paper table and deletes its record in tab_cj, in one
// transaction.  A name that is not a paper table of the bank changes
// nothing, not even tab_cj.  Errors are swallowed.
void DropExamTable(TDM1 &dm, const QString &name);

// Round half to even, as the bank's numbers are read as whole numbers.
long long roundHalfEven(double v);
