// Questions read from a file that a teacher or another quiz program wrote
// (GIFT, Moodle XML, Aiken, CSV), in the bank's own terms before they are
// numbered and stored: the kind of answer page, the body and the option
// texts, the answer as the bank encodes it, the explanation and key points.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace authoring {

// The answer kinds the bank can judge.
enum class ImportKind { Single, Multiple, TrueFalse, Subjective };

// How a text of the file is written.
enum class TextFormat { Plain, Html, Markdown };

struct ImportedQuestion {
    int line = 0;   // where the question starts in the file (1-based)
    ImportKind kind = ImportKind::Single;
    QString title;
    QString body;
    TextFormat format = TextFormat::Plain;   // of body, options and explanation
    QStringList options;   // texts of A, B, C ... in order
    QString answer;        // letters in option order; "A"/"B" true/false; "1" subjective
    QString explanation;
    QStringList keyPoints;   // tab_rule ftid
    QString typeCode;        // the bank's type code when the file names one
    QString category;
    QString sourceId;        // the CSV id column
    QHash<QString, QByteArray> pictures;   // embedded files by name
};

// Something the reader could not take, or took only in part.
struct ImportProblem {
    int line = 0;
    QString text;
};

struct ParsedFile {
    QVector<ImportedQuestion> questions;
    QVector<ImportProblem> problems;
    int skipped = 0;   // items without a question (descriptions, categories)
    QString refusal;   // the whole file was refused: why
};

// Escaped option letter: 0 -> "A".
inline QString optionLetter(int i) { return QString(QChar(u'A' + i)); }

// A matching question becomes one single-choice question per pair: the
// stem, the pair's left text, and the right texts as options.  More pairs
// or answers than the answer page has buttons is a problem.
constexpr int MaxMatchingPairs = 6;
void addMatchingQuestions(const ImportedQuestion &stem, const QVector<QPair<QString, QString>> &pairs,
                          ParsedFile &out);

} // namespace authoring
