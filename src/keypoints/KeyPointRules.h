// The rules of the key-point directory that need no window: the padded
// counter cells of the group grid, the search for a group, the key-point
// threshold of a group, the entry texts and note lines of the detail view,
// and the selection that key-point practice runs on.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace keypoints {

// Width of a counter cell of the group grid, in characters.
constexpr int CounterWidth = 9;

// A counter right-aligned in its cell by blanks put before it; a value of
// nine characters or more is shown as it is.
QString paddedCounter(const QString &value);

// Group codes of one or two characters (blanks removed) are headings,
// which are listed but cannot be opened.
bool isHeadingGroup(const QString &code);

// The row (index into names, from 0) of the first name that contains the
// search text with its surrounding blanks removed (case-sensitive); -1 when
// the trimmed search text is empty or nothing matches.
int findGroupRow(const QStringList &names, const QString &search);

// The key-point threshold of a group: the group's question count (the
// grid cell, padded) divided by its number of key points, at least 1.  An
// empty or non-numeric cell, or a count that could not be read (nullopt),
// gives 1.
int keyPointThreshold(const QString &questionsCell, std::optional<qint64> keyPointCount);

// The entry of a key point in the detail list: its title without trailing
// blanks, followed by "(q)" when it has questions.
QString entryText(const QString &title, qint64 questions);
// The title of an entry: the text before its first "(" (all of it when it
// has none).
QString entryTitle(const QString &entry);

// The note line under the key-point text, and whether "练习(&P)" may run.
struct KeyPointNote {
    QString text;
    bool canPractise = false;
};
KeyPointNote keyPointNote(qint64 q, qint64 q1, qint64 q2, qint64 q4);
// The note after clicking an entry: an entry without "(" never has
// questions to practise.
KeyPointNote entryNote(const QString &entry, qint64 q, qint64 q1, qint64 q2, qint64 q4);

// The practice selection of one key point: every question that lists it
// in K3..K12, whatever its study state, in the bank's own order.
QString keyPointPracticeSql(const QString &ftid);

// The questions (tab_answ rows) that cite a key point in any of K3..K12, as
// a condition on rowid: the union of one look-up per field, each served by
// that field's index, so the table is not read through.  A question that
// names the key point twice is one row.  `value` is an SQL literal or a
// parameter.
QString citingQuestions(const QString &value);
// The number of questions citing the key point bound as ?1.
QString citingCountSql();

} // namespace keypoints
