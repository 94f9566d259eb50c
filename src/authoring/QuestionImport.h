// Importing a file of questions into a chapter: reading and recognising the
// file, checking every question against the rules of entry, finding the
// questions the chapter already has, the preview the user confirms, and the
// save of all good questions as user questions in one transaction, each
// numbered, stored and counted exactly as the entry window does it.
#pragma once

#include "authoring/ImportModel.h"
#include "authoring/QuestionEntry.h"

#include <QMap>
#include <functional>

class TDM1;

namespace authoring {

// Files above this size are refused before they are read.
constexpr qint64 MaxImportFileBytes = 100LL * 1024 * 1024;

enum class ImportFormat { Unknown, Gift, MoodleXml, Aiken, Csv };

// The file's text: refused when too large, binary, or in an encoding that
// is neither UTF-8/UTF-16 (with or without a byte-order mark) nor GB18030.
struct ImportText {
    QString text;
    QString refusal;
};
ImportText readImportFile(const QString &path);
ImportText decodeImportBytes(const QByteArray &bytes);

// By the file's name and, for .txt and unknown names, by its content.
ImportFormat detectFormat(const QString &path, const QString &text);
ParsedFile parseImport(ImportFormat format, const QString &text);
// Reads, recognises and parses a file.
ParsedFile readQuestionFile(const QString &path);

// The type codes imported questions take: for each kind the first code of
// the subject's type table that shows that kind's answer page, else the
// usual code (61 single, 65 multiple, 71 true/false, 74 subjective).
struct ImportTypes {
    QString single = QStringLiteral("61"), multiple = QStringLiteral("65"), trueFalse = QStringLiteral("71"),
            subjective = QStringLiteral("74");
    QHash<QString, QString> names;   // type code -> name from the type table
    QString codeFor(const ImportedQuestion &q) const;
    QString nameOf(const QString &code) const;
};
ImportTypes importTypes(const QVector<Ttx> &table);

// The rules of entry for one question: a body, at most 7 options, at least
// two for a choice, an answer of letters within the option count, one
// letter for single choice, "A" or "B" for true/false, at most 10 key
// points.  Letters of a multiple-choice answer are put in option order.
// Returns the problem, empty when the question is good.
QString checkQuestion(ImportedQuestion &q);

// A question ready to store, and what the user sees before saving.
struct ReadyQuestion {
    int line = 0;
    NewQuestion q;
};
struct ImportPreview {
    QVector<ReadyQuestion> ready;
    QVector<ImportProblem> problems;   // in line order
    QMap<QString, int> countsByType;   // type name -> questions to save
    int alreadyThere = 0;              // the chapter has them already
    int skipped = 0;
    int firstSequence = 1;             // the number the first one takes
    QString refusal;
    bool canSave() const { return refusal.isEmpty() && !ready.isEmpty(); }
};
// Checks the parsed questions for the chapter: bad ones become problems,
// unknown key points are dropped with a problem, questions the chapter
// has (same normalised body with options and answer, or a CSV id that is a
// question id of the bank) or that came earlier in the file are counted as
// already there; more than the ids left are refused.
ImportPreview previewImport(TDM1 &dm, const ParsedFile &file, const QString &chapter, const ImportTypes &types);

// Same questions in the bank's terms: the body's plain text without blanks,
// folded case, and the answer.
QString duplicateKey(const QString &plainBody, const QString &answer);

struct ImportOutcome {
    enum Result { Saved, Cancelled, TooMany, Failed } result = Failed;
    int saved = 0;
    QString error;   // engine text of a failure
};
// Saves every ready question in one transaction; progress(done, total) is
// called now and then and cancels the whole import when it returns false.
ImportOutcome saveImport(TDM1 &dm, const ImportPreview &preview,
                         const std::function<bool(int, int)> &progress = {});

// One line per problem for the preview: "第N行：text".
QString problemLine(const ImportProblem &p);
// What the preview says above the problems: the questions by type, those
// already there, the entries skipped.
QString previewSummary(const ImportPreview &p);
// What the user is told after the save (or its failure).
QString importDoneText(const ImportOutcome &out, const ImportPreview &p);

} // namespace authoring
