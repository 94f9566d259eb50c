// Upgrade files for a demo bank: a deterministic upgrade that brings a new
// chapter with its sections, a new section inside an existing chapter,
// questions of several types (sub-questions with their materials among
// them) citing new and existing key points, key points in a new and in an
// existing group, and the stamps that name the bank's product.
#pragma once

#include <QString>

namespace demobank {

// Questions of the ordinary demo upgrade (UpgradeOptions::questions = 0).
constexpr int DemoUpgradeQuestions = 60;

struct UpgradeOptions {
    int questions = 0;   // 0: the demo size; at least 12
    // Upgrade stamp (sjbs); empty: one derived from the number of questions.
    QString stamp;
};

struct UpgradeSummary {
    QString sjbs, cpbs;
    QString newChapter;   // code of the new chapter
    QString newSection;   // code of the new section in an existing chapter
    int sections = 0;     // new section rows (both kinds)
    int questions = 0;
    int materials = 0;
    int keyPoints = 0;
};

// Writes an upgrade file at path for the bank at bankPath (read only).  The
// file is written to path + ".tmp" and renamed when complete; an existing
// path is replaced.  Throws store::DbError with the engine's text.
UpgradeSummary writeUpgradeFile(const QString &path, const QString &bankPath, const UpgradeOptions &options = {});

} // namespace demobank
