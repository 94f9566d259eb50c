// Building a new mock paper: its number, table name and title, its record
// in tab_cj, its own table tab_exam<N> filled with questions drawn by the
// subject's composition; and loading a paper table for the exam window.
#pragma once

#include "exam/PaperDraw.h"
#include "exam/PaperQuestion.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>
#include <stdexcept>

class TDM1;

namespace exam {

// Stage texts go to the waiting window while a paper is built or opened.
using Progress = std::function<void(const QString &)>;

// What the exam window holds about its paper.
struct PaperState {
    QString tableName;
    QString title;
    QString mode;                                  // "new" or "old"
    double score = 0;
    QString timeUsed = QStringLiteral("0:00:00");
    bool isNew() const { return mode == QLatin1String("new"); }
};

// Failures that end the program after their message.
enum class PaperFailure { CreateTable, NoQuestions, Draw, Open };
QString failureMessage(PaperFailure f);

class PaperError : public std::runtime_error {
public:
    PaperError(PaperFailure f, const QString &detail)
        : std::runtime_error(detail.toStdString()), m_failure(f), m_detail(detail) {}
    PaperFailure failure() const { return m_failure; }
    QString message() const { return failureMessage(m_failure); }
    QString detail() const { return m_detail; }

private:
    PaperFailure m_failure;
    QString m_detail;
};

// The next paper: one more than the largest stored number (1 for the first).
struct PaperNumbering {
    int number = 1;
    QString tableName = QStringLiteral("tab_exam1");
};
// The name after the newest record's table name: its number after
// "tab_exam" plus 1; a name that does not end in such a number gives way to
// the new paper number.  No record at all: "tab_exam1".
QString nextPaperTableName(bool hasRecords, const QString &newestTableName, int newNumber);
// Reads tab_cj ("select * from tab_cj order by A3_1 desc").
PaperNumbering nextPaperNumbering(TDM1 &dm);

// "2005年03月07日" + the subject's edition title + "[" + number + "]".
QString PaperTitle(const QDate &date, int subject, int number);

// The CREATE TABLE statement of a paper table.
QString paperTableStatement(const QString &tableName);
// Empty texts are always allowed in the bank; this only checks that the
// text columns A2, A14, E2, E2_1 and csbs exist.  Throws store::DbError.
void SetAllowZeroLength(TDM1 &dm, const QString &tableName);

// Whether the subject has any question that is not voided.
bool hasCandidates(TDM1 &dm, int subject);
// The statement that reads one line's candidates in the draw's order: the
// rows of type ?2 whose chapter code starts with ?1, not voided, by E3.
// Rows that tie on E3 come in rowid order, which is the order they keep in
// the subject's whole candidate list sorted by E3 (read through the subject
// prefix index, prefix by prefix in rowid order, and sorted stably).  The
// index ix_answ_exam holds exactly these rows in exactly this order, so
// only its entries are stepped and nothing is sorted.
QString groupCandidateSelection();
// Draws one line of the composition straight from the bank: the rowids of
// its candidates in order, the rows drawn among them, and the ids of just
// those rows.  Returns the selection condition (empty without candidates).
// Throws store::DbError.
QString DrawGroupQuestions(TDM1 &dm, const DrawGroup &group, DrawRandom &random);
// Copies the questions named by the condition into the paper table; an
// empty condition copies nothing.  Throws store::DbError.
void InsertPaperQuestions(TDM1 &dm, const QString &tableName, const QString &condition);

// Generates a paper of the subject (1..5): sets the current subject and its
// type table, numbers and names the paper, drops a leftover table of that
// name, then records, creates and fills the paper in one transaction, so a
// failure leaves neither record nor table behind.  Returns the new paper's
// state (mode "new").  Throws PaperError.
PaperState generatePaper(TDM1 &dm, int subject, const Progress &progress = {});

// Opens a paper table in the order A13, A1; for a new paper the answers
// copied from the bank are cleared first.  Throws PaperError(Open) when the
// table cannot be read or has no row.
QVector<PaperQuestion> LoadPaper(TDM1 &dm, const PaperState &paper, const Progress &progress = {});

} // namespace exam
