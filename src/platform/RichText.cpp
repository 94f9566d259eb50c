// Stored rich text of the bank: recognising RTF, reading RTF, HTML or plain
// text into a document, and the shorthands the windows use.
#include "platform/RichText.h"

#include "platform/RtfEngine.h"

#include <QStringConverter>
#include <QTextDocument>

namespace richtext {

namespace {

// Plain text from the bank or from files is UTF-8 or, from older Windows
// programs, GBK; a byte-order mark decides when there is one.
QString decodePlainText(QByteArrayView data)
{
    while (!data.isEmpty() && data.back() == '\0')
        data.chop(1);
    if (const auto bom = QStringConverter::encodingForData(data)) {
        QStringDecoder decoder(*bom, QStringConverter::Flag::Stateless);
        return decoder.decode(data);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk(rtf::gbkCodec(), QStringConverter::Flag::Stateless);
    return gbk.decode(data);
}

bool looksLikeHtml(const QString &text)
{
    for (QChar c : text) {
        if (c.isSpace() || c == QChar(0xFEFF))
            continue;
        if (c == u'<')
            return true;
        break;
    }
    return Qt::mightBeRichText(text);
}

} // namespace

bool isRtf(const QByteArray &data)
{
    QByteArrayView v(data);
    if (v.startsWith("\xEF\xBB\xBF"))
        v = v.sliced(3);
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t' || v.front() == '\r' || v.front() == '\n'))
        v = v.sliced(1);
    return v.startsWith("{\\rtf");
}

void readInto(QTextDocument &doc, const QByteArray &data)
{
    if (isRtf(data)) {
        rtf::read(doc, data);
        return;
    }
    const QString text = decodePlainText(data);
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear(); // also drops the pictures of what was shown before
    if (looksLikeHtml(text))
        doc.setHtml(text);
    else
        doc.setPlainText(text);
    doc.setUndoRedoEnabled(undo);
}

QByteArray toRtf(const QTextDocument &doc)
{
    return rtf::write(doc);
}

QByteArray plainTextToRtf(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextDocument doc;
    doc.setPlainText(lines);
    return rtf::write(doc);
}

QString rtfToPlainText(const QByteArray &data)
{
    QTextDocument doc;
    readInto(doc, data);
    return doc.toPlainText();
}

QString rtfToHtml(const QByteArray &data)
{
    QTextDocument doc;
    if (isRtf(data)) {
        // Pictures go into the HTML itself, so it can be used elsewhere.
        rtf::ReadOptions options;
        options.pictureDataUrls = true;
        rtf::read(doc, data, options);
    } else {
        readInto(doc, data);
    }
    return doc.toHtml();
}

} // namespace richtext
