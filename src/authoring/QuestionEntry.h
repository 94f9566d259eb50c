// Entering a question of the user's own: the type table the authoring
// windows offer, the subjective-type rule, the id of a new question and the
// save of its rows and counters in one transaction.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class TDM1;

namespace authoring {

// A question type as the authoring windows list it.
struct Ttx {
    QString code;   // A1 of tab_tx<s>
    QString name;   // B1
};
// The types of a subject (0 read as 1) in ascending code order.
QVector<Ttx> loadTypeTable(TDM1 &dm, int subject);

// Types answered by self-assessment: option count 1 and answer "1".
const QStringList &subjectiveTypeNames();
bool isSubjectiveType(const QString &typeName);

// Why an answer key cannot be stored for a question of this type with this
// many options, in the words of the entry and edit windows' checks; empty
// when it can.  The key must be one the answer page of the type can give:
// letters of the options shown (A to F), one for a single choice, A or B
// for true/false.  Subjective and self-assessed types keep "1"; a type
// without an answer page is not checked.
QString answerRefusal(const QString &answer, int optionCount, int typeCode, bool subjective);

// User questions are numbered 1..9999.
constexpr int MaxSequence = 9999;
// The next sequence number: one more than the largest number formed by
// the last four characters of the ids beginning with "U" (1 when none).
int nextSequenceNumber(TDM1 &dm);
// 1..999 get five digits ("00001", "00999"), 1000..9999 four.
QString sequenceText(int n);
// "US" + chapter + type code + option count + sequence text.
QString questionId(const QString &chapter, const QString &typeCode, int optionCount, const QString &sequence);

// What the entry window collects for one question.
struct NewQuestion {
    QString chapter;      // target chapter code (C1)
    QString optionText;   // text of the option-count box, trimmed
    int optionCount = 0;  // its value
    QString typeCode;
    QString answer;       // trimmed
    QByteArray body;      // RTF
    QByteArray explanation;   // RTF
    bool hasExplanation = false;   // explanation's plain text not blank
    QStringList keyPoints;    // ids in list order
};

// A statement with the values bound to it in order.
struct BoundStatement {
    QString sql;
    QVariantList binds;
};
BoundStatement answInsert(const QString &id, const NewQuestion &q);
BoundStatement exerInsert(const QString &id, const NewQuestion &q);
// The counter updates of a new question: its chapter and enclosing
// chapters, and, with key points, their key points and groups.
QVector<BoundStatement> counterUpdates(const NewQuestion &q);

struct EntryOutcome {
    enum Result { Saved, TooMany, Failed } result = Failed;
    QString id;       // the saved question's id
    QString error;    // engine text of a failure
};
// Numbers the question and writes both rows and every counter in one
// transaction; on failure nothing is stored.
EntryOutcome saveNewQuestion(TDM1 &dm, const NewQuestion &q);
// Writes both rows and every counter of a question already numbered, in the
// caller's transaction; throws DbError with the engine's text.
void writeNewQuestion(TDM1 &dm, const QString &id, const NewQuestion &q);

} // namespace authoring
