// Moodle XML question files: <quiz> with <question type="..."> entries
// (multichoice single and multiple, truefalse, matching, essay; category
// entries set the category, description entries are skipped), texts in
// <text> with a format attribute, HTML usually in CDATA, pictures as
// <file name=".." encoding="base64"> referred to by "@@PLUGINFILE@@/name".
#pragma once

#include "authoring/ImportModel.h"

namespace authoring {

// The file is refused when it is not well formed, declares a document type
// (no entity of any kind is expanded) or nests deeper than MaxXmlDepth.
constexpr int MaxXmlDepth = 32;
ParsedFile parseMoodleXml(const QString &text);

// Key points and the bank's type code are written as tags "KP-<id>" and
// "TX-<code>".
QString writeMoodleXml(const QVector<ImportedQuestion> &questions);

} // namespace authoring
