// Answer times per question type: the rows the settings window edits (the
// `time` column of the current subject's type table, minutes allowed for
// one question) and how they go back into the table and the shell's
// practice timer intervals.
#pragma once

#include <QString>
#include <QVector>
#include <optional>

class TDM1;

namespace answertimes {

// What an answer-time box accepts, in minutes.
constexpr double kMinMinutes = 0.1;
constexpr double kMaxMinutes = 30.0;

// The subject whose type table the settings edit: the current subject, or
// subject 1 while no mock exam has chosen one (0).
int subjectOf(int curSubject);

struct TypeRow {
    int code = 0;        // A1
    QString name;        // B1, trimmed
    double minutes = 0;  // time
};

// The rows of the data module's type table, in table order; throws
// store::DbError with the engine's text.
QVector<TypeRow> loadRows(TDM1 &dm);

// The minutes a box stores back.  A box shows one decimal; when the user
// left the shown value as it was, the row keeps its own finer value (kept
// within the accepted range) instead of being rounded by the display.
double minutesToStore(double stored, double shown);

// One answer-time box: its tag (the type code) and its value.
struct Entry {
    int tag = 0;
    double minutes = 0;
};

// Writes every box back, row i from entries[i] (nullopt: no box of that
// number), into the first row of the type table with the box's tag, one
// row after another; times and codes are resized to rowCount and entry i
// becomes Trunc(minutes x 600) and the tag for every row written.  Stops
// at the first failing write and returns the engine's text (empty when all
// went well); rows written before it stay written.
QString saveRows(TDM1 &dm, int rowCount, const QVector<std::optional<Entry>> &entries, QVector<int> &times,
                 QVector<int> &codes);

} // namespace answertimes
