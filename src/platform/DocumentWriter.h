// The word processor of the paper export: a document typed from the start
// (text, paragraph marks, pasted rich text with its pictures, a page
// break), written as OpenDocument Text or as PDF into a folder of its own
// and handed to the desktop's default application.  The user's clipboard
// is never used.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <memory>
#include <stdexcept>

namespace docwriter {

// A write or an open that did not succeed; what() says which file and why.
class DocumentError : public std::runtime_error {
public:
    explicit DocumentError(const QString &text) : std::runtime_error(text.toStdString()) {}
};

// A document typed at an insertion point that only moves forward.
class TypedDocument {
public:
    TypedDocument();
    TypedDocument(const TypedDocument &) = delete;
    TypedDocument &operator=(const TypedDocument &) = delete;

    // Text in the document's own font and size.  Typed text carries no
    // size or weight of its own: the ODT writer states those for Latin
    // script only, so word processors would show the Chinese characters of
    // a bold or large line plain and small.
    void typeText(const QString &text);
    // Ends the paragraph; the next one starts with the plain look again.
    void typeParagraph();
    // Pastes stored rich text (RTF, HTML or plain) with its formatting and
    // pictures at the insertion point.  Empty text pastes nothing.
    void pasteRichText(const QByteArray &stored);
    // What follows starts on a new page.
    void insertPageBreak();

    QTextDocument &document() { return *m_doc; }
    const QTextDocument &document() const { return *m_doc; }

private:
    std::unique_ptr<QTextDocument> m_doc;
    QTextCursor m_cursor;
    QTextCharFormat m_plain;
    int m_pastes = 0;
};

// The family the documents are set in: one that has Chinese glyphs.
QString documentFontFamily();

// A file name made of the text, with the characters that file systems or
// shells refuse (/ \ : * ? " < > | and control characters) replaced by "_",
// blanks at the ends dropped; "试卷" when nothing is left.
QString safeFileName(const QString &text);

// The user's documents folder (QStandardPaths::DocumentsLocation); tests
// point it at a folder of their own, an empty path restores the user's.
QString documentsFolder();
void setDocumentsFolder(const QString &folder);

// The folder exported papers are written to: "Pellbrook" in the documents
// folder, made when missing; throws DocumentError when it cannot be made
// or written to.
QString exportFolder();

// folder + "/" + name, or name followed by " (2)", " (3)" ... when a file
// of that name with one of the extensions (".odt") is there already, so an
// earlier export is never overwritten.
QString unusedBasePath(const QString &folder, const QString &name, const QStringList &extensions);

// Writes the document as OpenDocument Text; throws DocumentError.
void writeOdt(const QTextDocument &doc, const QString &path);
// Writes the document as PDF on A4 with its fonts embedded; returns the
// number of pages written; throws DocumentError.
int writePdf(const QTextDocument &doc, const QString &path);

// Hands a written file to the desktop's default application for its kind;
// false when the desktop has none or refuses.  Tests install a recorder.
using Opener = std::function<bool(const QString &path)>;
bool openDocument(const QString &path);
// An empty opener restores the desktop's.
void setOpener(Opener opener);

} // namespace docwriter
