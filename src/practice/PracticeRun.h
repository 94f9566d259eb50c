// One practice run without its window: the question list loaded from the
// practice selection, the type filter with positions counted from 1, the
// judging of a question's answer into the bank, voiding, the time-out mark,
// and the content (body, material, explanation) of a question.
#pragma once

#include "practice/AnswerLogic.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

class QTextDocument;
class TDM1;

namespace practice {

// A row of the question list (tab_answ), as the window reads it.  The run
// keeps its rows packed and hands out this form one row at a time.
struct QuestionRow : QuestionState {
    int optionCount = 0;   // a2_1
    int type = 0;          // a13
    QString note;          // a14
    bool noteIsNull = true;
    int status = 0;        // f1: 1 voided, 2 added by the user (NULL read as 0)
    int order = 0;         // xx
    QString timedOut;      // csbs
    int editCount = 0;     // ecount
};

// The content row of a question (tab_exer) and, for a sub-question, its
// material (tab_title).
struct QuestionContent {
    bool found = false;
    QByteArray body;              // A15
    bool hasExplanation = false;  // jx not NULL
    QByteArray explanation;
    bool isSubQuestion = false;   // the id contains "-"
    QByteArray material;          // A15 of the material row
};
QuestionContent loadQuestionContent(TDM1 &dm, const QString &id);
// The material of a sub-question is named by the first 16 characters of
// its id.
inline QString materialId(const QString &questionId) { return questionId.left(16); }

class PracticeRun {
public:
    explicit PracticeRun(TDM1 &dm) : m_dm(dm) {}
    TDM1 &dm() const { return m_dm; }

    // Starts the run: empties every question's run answer, then loads the
    // selection.  False when it selects nothing.
    bool load(const QString &selection);
    // Loads the rows of a selection as they are (no run start).
    void loadRows(const QString &selection);

    // Rows of a type in the whole list.
    int typeCount(int typeCode) const;
    // Narrows the list to one type (0: every type).  Positions count from
    // 1 in the narrowed list.
    void setTypeFilter(int typeCode);
    int typeFilter() const { return m_filter; }
    int count() const { return int(m_view.size()); }
    int totalCount() const { return int(m_rows.size()); }

    // The row of a record, unpacked.  Changing the copy changes nothing in
    // the run: setRow puts a changed row back.
    QuestionRow row(int record) const;
    QString id(int record) const;
    // Replaces the kept row of a record (the list only; the bank is not
    // touched), as after the question was edited or its note saved.
    void setRow(int record, const QuestionRow &row);
    bool valid(int record) const { return record >= 1 && record <= count(); }

    // Judges an answer to a record and stores it (one transaction).  The
    // in-memory row follows only when the bank took the change.
    JudgeOutcome judge(int record, const QString &answer);

    // Voiding writes "zero" into E2 so a voided question is no longer new;
    // restoring only clears the mark.
    void setVoided(int record, bool voided);
    // The question's time ran out while it was shown.
    void markTimedOut(int record);
    // Stores a note text (NULL kept when the text is unchanged).
    void setNote(int record, const QString &note, bool isNull);

private:
    // A row packed for a list of tens of thousands: every text but the id
    // is a number in the run's table of texts, each distinct text kept
    // once; the id's UTF-8 bytes lie in one block; the key points are a
    // stretch of text numbers.  About 60 bytes a row against some 500 for
    // an unpacked row with its own strings and list.  The whole list is
    // held (4 MB for a chapter of 62,000 questions) rather than a window of
    // twenty rows at a time: the type board's counts, the group figures and
    // the positions then come from memory, exact, with no query per group.
    struct StoredRow {
        quint32 idAt = 0;          // offset in m_idBytes
        quint32 keyPointsAt = 0;   // offset in m_keyPointTexts
        quint32 key = 0, chapter = 0, lastDate = 0, lastAnswer = 0, runAnswer = 0, timedOut = 0, note = 0;
        qint32 attempts = 0, wrongScore = 0, order = 0;
        quint16 idSize = 0;
        qint16 type = 0;
        qint16 editCount = 0;
        quint8 keyPointCount = 0;
        qint8 optionCount = 0;
        qint8 status = 0;
        bool noteIsNull = true;
    };
    friend class RowPacker;

    const StoredRow &stored(int record) const;
    quint32 textNumber(const QString &text);
    void pack(StoredRow &s, const QuestionRow &r);
    void clearRows();

    TDM1 &m_dm;
    QVector<StoredRow> m_rows;
    QVector<int> m_view;   // indexes into m_rows, in list order
    int m_filter = 0;
    QByteArray m_idBytes;
    QVector<quint32> m_keyPointTexts;
    QVector<QString> m_texts;              // number 0 is the empty text
    QHash<QString, quint32> m_textNumbers; // the other way round
};

// Fills the two panes of the question body: a sub-question shows its
// material above and its own text below, any other question its text above
// with the lower pane empty.  Returns false when the question's content row
// is missing.
bool fillQuestionBody(const QuestionContent &content, QTextDocument &upper, QTextDocument &lower);

// The road from one answered question to the next without a window: judge
// the answer given to `record`, count it, and load and lay out the body of
// `next`.  Used by the practice window and by the benchmark.
JudgeOutcome judgeAndShowNext(PracticeRun &run, int record, const QString &answer, int next, QTextDocument &upper,
                              QTextDocument &lower);

} // namespace practice
