// The texts of an imported question as the bank stores them: the body with
// its options written under it ("A. ..."), as rich text with the embedded
// pictures, and the plain text that duplicates are compared on.
#pragma once

#include "authoring/ImportModel.h"
#include "authoring/QuestionEntry.h"

namespace authoring {

// What a reader sees of a text: HTML and Markdown without their markup.
QString visibleText(const QString &text, TextFormat format);

// Script elements of HTML texts become visible text (never code); true
// when there was one.
bool neutraliseScripts(ImportedQuestion &q);

// The question as entry would store it in the chapter; plain receives the
// body's plain text as the bank will read it back.
NewQuestion composeQuestion(const ImportedQuestion &q, const QString &typeCode, const QString &chapter,
                            QString *plain);

// Plain text as the bank's rich text, the same bytes as the document route
// (RichText's plainTextToRtf) writes, without building a document: an
// import turns thousands of plain texts into rich text.
QByteArray plainRtf(const QString &text);

// The plain text of a stored body (RTF, HTML or plain text).
QString storedPlainText(const QByteArray &stored);

// What a reader sees of a stored body, read straight from its RTF: enough
// to tell one question from another (line ends may differ from the
// document's), and much quicker than building a document.
QString storedVisibleText(const QByteArray &stored);

// The lines under a body that list its options, "A. text" ... in letter
// order, as many as the question offers; the body is what stays above.
// False when the body does not end with exactly those lines.
bool splitOptions(const QString &plainBody, int optionCount, QString &stem, QStringList &options);

} // namespace authoring
