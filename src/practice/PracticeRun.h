// One practice run without its window: the question list loaded from the
// practice selection, the type filter with positions counted from 1, the
// judging of a question's answer into the bank, voiding, the time-out mark,
// and the content (body, material, explanation) of a question.
#pragma once

#include "practice/AnswerLogic.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class QTextDocument;
class TDM1;

namespace practice {

// A row of the question list (tab_answ).
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

    const QuestionRow &row(int record) const;
    QuestionRow &row(int record);
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
    TDM1 &m_dm;
    QVector<QuestionRow> m_rows;
    QVector<int> m_view;   // indexes into m_rows, in list order
    int m_filter = 0;
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
