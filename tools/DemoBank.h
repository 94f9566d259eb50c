// The demo question bank: a deterministic, fictional bank for five
// editions that follows every rule of the bank's data, used beside the
// program, by tests and (scaled up) by benchmarks.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace demobank {

// Size of the ordinary demo bank (Options::questions = 0).
constexpr int DemoQuestions = 1200;

struct Options {
    // Total number of questions wanted; 0 = the ordinary demo size.  A
    // larger number scales every group up while keeping every rule.  The
    // bank never holds fewer than three times the questions one paper of
    // each subject draws per type and part, so a very small number gives
    // that minimum instead.
    int questions = 0;
    quint32 seed = 20261209;
    // Key-point groups and key points wanted in all; 0 = as many as the
    // sections plan.  Larger numbers add reading-matter groups (no question
    // cites them) under the chapter headings, one of them far larger than
    // the rest, for measuring the key-point directory on a big book.
    int keyPointGroups = 0;
    int keyPoints = 0;
};

// Writes a complete bank at path (which must not exist yet).  Throws
// store::DbError with the engine's text on failure; a failed run removes
// the file it started.
void generate(const QString &path, const Options &options = {});

// Writes a bank file the safe way: into path + ".tmp", renamed over path
// only when complete, so a failed run leaves neither a half bank nor a
// leftover.  With ifMissing an existing path is left alone (a bank that
// exists holds the user's study state).  Replacing a bank also removes the
// old bank's -wal/-shm/-journal files, which belong to the old file.
// Throws store::DbError on failure.
enum class WriteResult { Written, LeftAlone };
WriteResult writeBankFile(const QString &path, const Options &options = {}, bool ifMissing = false);

// What a bank holds, counted from its tables.
struct Summary {
    int questions = 0;        // rows of tab_answ
    int materials = 0;        // rows of tab_title
    int chapters = 0;         // chapter rows (4-character codes)
    int sections = 0;         // section rows (6-character codes)
    int keyPointGroups = 0;   // tab_fgmc rows with 6-character ids
    int keyPoints = 0;        // rows of tab_rule
};

// Throws store::DbError when the bank cannot be read.
Summary summarize(const QString &path);

// Questions of a bank as a reader sees them: for each, its id, type,
// section, the material of a sub-question, the body, the key, the
// explanation and the titles of its key points, as plain text.
struct Question {
    QString id, type, section, material, body, key, explanation;
    QStringList keyPoints;
};
// count questions drawn at random (by seed) from the bank, or all of them
// when count is 0 or more than the bank holds, in id order.  Throws
// store::DbError when the bank cannot be read.
std::vector<Question> sampleQuestions(const QString &path, int count, quint32 seed);
QString describe(const Question &q);

} // namespace demobank
