// Reading written documents back in tests: the lines of a QTextDocument,
// stored rich text made from a few words or a picture, and the outside
// readers of ODT and PDF files (unzip, poppler-utils; tools/deps.sh
// installs them).
#pragma once

#include "platform/RichText.h"

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

namespace docchecks {

inline QStringList blockTexts(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

// Stored RTF of the text, bold when asked, as the program writes it.
inline QByteArray rtf(const QString &text, bool bold = false)
{
    QTextDocument d;
    QTextCharFormat f;
    if (bold)
        f.setFontWeight(QFont::Bold);
    QTextCursor(&d).insertText(text, f);
    return richtext::toRtf(d);
}

// Stored RTF of the text followed by a small picture of one colour.
inline QByteArray pictureRtf(const QString &text, const QColor &colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QTextDocument d;
    d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p")), image);
    QTextCursor c(&d);
    c.insertText(text);
    QTextImageFormat f;
    f.setName(QStringLiteral("p"));
    c.insertImage(f);
    return richtext::toRtf(d);
}

// The colour of each picture of the document, in document order (0 for a
// picture whose image is missing).
inline QList<QRgb> pictureColours(const QTextDocument &doc)
{
    QList<QRgb> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QUrl name(it.fragment().charFormat().toImageFormat().name());
                const QImage image = doc.resource(QTextDocument::ImageResource, name).value<QImage>();
                out << (image.isNull() ? QRgb(0) : image.pixel(0, 0));
            }
    return out;
}

// The standard output of an outside reader.
inline QString tool(const QString &program, const QStringList &args)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) {
        ADD_FAILURE() << program.toStdString() << " is missing (tools/deps.sh installs it)";
        return QString();
    }
    QProcess p;
    p.start(exe, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page of a PDF.
inline QStringList pdfPages(const QString &path)
{
    QStringList pages = tool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).split(QLatin1Char('\f'));
    pages.removeLast();   // after the last page's form feed
    return pages;
}

} // namespace docchecks
