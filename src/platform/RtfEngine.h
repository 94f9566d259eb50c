// Inside of the rich-text unit: the RTF reader and writer behind RichText.h,
// and the code-page helpers both use.  Other units call RichText.h only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

class QTextDocument;

namespace richtext::rtf {

// Name of a text codec that Qt can use for the given Windows code page
// (936 -> GBK, 950 -> Big5, 1252 -> windows-1252 ...).  Code pages the
// installed Qt cannot convert give the name of a codec that can (GBK falls
// back to GB18030, everything else to windows-1252 or Latin-1).
const char *codecForCodePage(int codePage);

// The code page a font's \fcharsetN stands for, or 0 when the character set
// does not name one (default and symbol sets).
int codePageForCharset(int charset);

// The codec for Chinese text as the bank stores it (GBK, else GB18030).
const char *gbkCodec();

struct ReadOptions
{
    // Name pictures by data: URLs instead of short resource names, so that
    // HTML made from the document carries its pictures with it.
    bool pictureDataUrls = false;
};

// Replaces the document's content with what the RTF bytes hold.  Never
// throws, never loops without consuming input; damaged input shows what can
// be read.
void read(QTextDocument &doc, const QByteArray &data, const ReadOptions &options = {});

// The document as 7-bit RTF in the form rich-edit controls write
// (\ansicpg936, GBK bytes as \'hh, other characters as \uN?).
QByteArray write(const QTextDocument &doc);

} // namespace richtext::rtf
