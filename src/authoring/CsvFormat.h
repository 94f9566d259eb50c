// Questions kept in a spreadsheet and saved as CSV: a header line names the
// columns (body, options A to G, answer, type, explanation, key points, id;
// in English or Chinese), fields in double quotes may hold commas, quotes
// (doubled) and line ends.  The encoding (UTF-8 or GB18030) is found when
// the file is read.
#pragma once

#include "authoring/ImportModel.h"

namespace authoring {

ParsedFile parseCsv(const QString &text);

// The fields of each record with the line it starts on; a quote left open
// at the end is reported at the line it opened.
struct CsvRecord {
    int line = 0;
    QStringList fields;
};
QVector<CsvRecord> splitCsv(const QString &text, ImportProblem *unterminated);

} // namespace authoring
