// The paper export's word processor: typing into a QTextDocument, writing
// it as OpenDocument Text or PDF, and handing the file to the desktop.
#include "platform/DocumentWriter.h"

#include "platform/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMimeDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <QStandardPaths>
#include <algorithm>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextDocumentWriter>
#include <QTextImageFormat>
#include <QUrl>
#include <QVariant>

namespace docwriter {

namespace {

constexpr double kPlainPointSize = 10.5;   // the usual size of Chinese body text

// Renames the pictures of a pasted document so that they cannot clash with
// those of earlier pastes, and copies them into the target document.
void adoptPictures(QTextDocument &from, QTextDocument &into, const QString &prefix)
{
    int n = 0;
    for (QTextBlock block = from.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QVariant picture = from.resource(QTextDocument::ImageResource, QUrl(image.name()));
            if (!picture.isValid())
                continue;
            const QString name = prefix + QString::number(++n);
            into.addResource(QTextDocument::ImageResource, QUrl(name), picture);
            image.setName(name);
            QTextCursor c(&from);
            c.setPosition(fragment.position());
            c.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(image);
        }
    }
}

Opener &installedOpener()
{
    static Opener opener;
    return opener;
}

// On desktops that keep the xdg MIME associations, a file kind without a
// default application is known before anything is launched; elsewhere the
// desktop service's own answer is all there is.
bool desktopHasApplicationFor(const QString &path)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name()});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

bool desktopOpen(const QString &path)
{
    return desktopHasApplicationFor(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

TypedDocument::TypedDocument() : m_doc(std::make_unique<QTextDocument>())
{
    m_doc->setUndoRedoEnabled(false);
    QFont font(documentFontFamily());
    font.setPointSizeF(kPlainPointSize);
    m_doc->setDefaultFont(font);
    m_plain.setFont(font);
    m_cursor = QTextCursor(m_doc.get());
    m_cursor.setCharFormat(m_plain);
}

void TypedDocument::typeText(const QString &text)
{
    m_cursor.insertText(text, m_plain);
}

void TypedDocument::typeParagraph()
{
    m_cursor.insertBlock(QTextBlockFormat(), m_plain);
}

void TypedDocument::pasteRichText(const QByteArray &stored)
{
    if (stored.isEmpty())
        return;
    QTextDocument pasted;
    richtext::readInto(pasted, stored);
    if (pasted.isEmpty())
        return;
    adoptPictures(pasted, *m_doc, QStringLiteral("paste%1/picture").arg(++m_pastes));
    m_cursor.insertFragment(QTextDocumentFragment(&pasted));
    m_cursor.setCharFormat(m_plain);
}

void TypedDocument::insertPageBreak()
{
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (m_cursor.block().length() <= 1)
        m_cursor.mergeBlockFormat(format);
    else
        m_cursor.insertBlock(format, m_plain);
}

QString documentFontFamily()
{
    static const QString family = [] {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        for (const QString &preferred : {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                         QStringLiteral("Noto Serif CJK SC")})
            if (chinese.contains(preferred))
                return preferred;
        return chinese.isEmpty() ? QFont().family() : chinese.first();
    }();
    return family;
}

QString safeFileName(const QString &text)
{
    QString name;
    name.reserve(text.size());
    for (QChar c : text) {
        const bool refused = c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"/\\:*?\"<>|").contains(c);
        name.append(refused ? QChar(u'_') : c);
    }
    name = name.trimmed();
    // A name of dots alone would stand for a folder.
    if (name.isEmpty() || name.count(QLatin1Char('.')) == name.size())
        return QStringLiteral("试卷");
    return name;
}

void writeOdt(const QTextDocument &doc, const QString &path)
{
    QTextDocumentWriter writer(path, QByteArrayLiteral("odf"));
    if (!writer.write(&doc))
        throw DocumentError(QStringLiteral("cannot write %1: %2")
                                .arg(path, writer.device() ? writer.device()->errorString() : QString()));
}

int writePdf(const QTextDocument &doc, const QString &path)
{
    QFile::remove(path);
    QPdfWriter pdf(path);
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                  QPageLayout::Millimeter));
    pdf.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
    pdf.setCreator(QStringLiteral("Pellbrook"));
    // Laid out once on the PDF's own page, so the pages printed are the
    // pages counted.
    std::unique_ptr<QTextDocument> copy(doc.clone());
    copy->documentLayout()->setPaintDevice(&pdf);
    copy->setPageSize(pdf.pageLayout().paintRectPixels(pdf.resolution()).size());
    const int pages = copy->pageCount();
    copy->print(&pdf);
    // QPdfWriter reports nothing: a file that did not come out is the sign.
    if (QFileInfo(path).size() <= 0)
        throw DocumentError(QStringLiteral("cannot write %1").arg(path));
    return pages;
}

bool openDocument(const QString &path)
{
    const Opener &opener = installedOpener();
    return opener ? opener(path) : desktopOpen(path);
}

void setOpener(Opener opener) { installedOpener() = std::move(opener); }

namespace {
QString &documentsOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString documentsFolder()
{
    const QString &set = documentsOverride();
    return set.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : set;
}

void setDocumentsFolder(const QString &folder) { documentsOverride() = folder; }

QString exportFolder()
{
    const QString folder = QDir(documentsFolder()).filePath(QStringLiteral("Pellbrook"));
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable())
        throw DocumentError(QStringLiteral("cannot write to the folder %1").arg(folder));
    return folder;
}

QString unusedBasePath(const QString &folder, const QString &name, const QStringList &extensions)
{
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString base = dir.filePath(n == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(n));
        if (std::none_of(extensions.begin(), extensions.end(), [&](const QString &ext) { return QFileInfo::exists(base + ext); }))
            return base;
    }
}

} // namespace docwriter
