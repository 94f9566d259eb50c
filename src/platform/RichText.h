// Rich text of the bank (question bodies, materials, explanations, key-point
// texts) is stored as RTF the way Windows rich-edit controls write it
// (\ansicpg936, GBK bytes as \'hh, \uN with a fallback).  This unit turns
// such RTF into a QTextDocument and back; it also accepts plain text and
// HTML on reading.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace richtext {

// True when the bytes start like an RTF document ("{\rtf").
bool isRtf(const QByteArray &data);

// Fills the document from stored rich text: RTF, HTML or plain text (GBK or
// UTF-8).  Malformed RTF never crashes; what can be read is shown.
void readInto(QTextDocument &doc, const QByteArray &data);

// The document as RTF that readInto() reads back to the same text and
// formatting (fonts, sizes, bold/italic/underline, colours, paragraphs,
// pictures as \pngblip).
QByteArray toRtf(const QTextDocument &doc);

// Shorthands.
QByteArray plainTextToRtf(const QString &text);
QString rtfToPlainText(const QByteArray &data);
QString rtfToHtml(const QByteArray &data);

} // namespace richtext
