// The export's word processor: pasted rich text keeps its look and its
// pictures (two pastes whose pictures share a name inside their own RTF
// stay two pictures), typed text does not take the look of what was
// pasted before it, the page break, file names, and PDF pages as laid out.
#include "platform/DocumentWriter.h"
#include "platform/RichText.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

using docwriter::TypedDocument;

namespace {

QByteArray pictureRtf(const QColor &colour)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(colour);
    QTextDocument d;
    d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p")), image);
    QTextCursor c(&d);
    c.insertText(QStringLiteral("图"));
    QTextImageFormat f;
    f.setName(QStringLiteral("p"));
    c.insertImage(f);
    return richtext::toRtf(d);
}

QByteArray boldRtf(const QString &text)
{
    QTextDocument d;
    QTextCursor c(&d);
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    c.insertText(text, f);
    return richtext::toRtf(d);
}

QStringList blockTexts(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

// The colours of the pictures in the document, in document order.
QList<QRgb> pictureColours(const QTextDocument &doc)
{
    QList<QRgb> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QVariant v = doc.resource(QTextDocument::ImageResource,
                                                QUrl(it.fragment().charFormat().toImageFormat().name()));
                const QImage image = v.value<QImage>();
                out << (image.isNull() ? QRgb(0) : image.pixel(0, 0));
            }
    return out;
}

QString tool(const QString &program, const QStringList &args)
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

} // namespace

TEST(DocumentWriter, PastesKeepLookAndPicturesTypedTextStaysPlain)
{
    TypedDocument doc;
    doc.typeText(QStringLiteral("1、"));
    doc.pasteRichText(boldRtf(QStringLiteral("粗体")));
    doc.typeText(QStringLiteral("后"));
    doc.typeParagraph();
    doc.pasteRichText(QByteArray());          // empty: nothing, not even a blank
    doc.pasteRichText(pictureRtf(Qt::red));
    doc.typeParagraph();
    doc.pasteRichText(pictureRtf(Qt::blue));  // its picture has the same name inside its RTF
    doc.typeParagraph();
    doc.insertPageBreak();
    doc.typeText(QStringLiteral("答案："));

    const QTextDocument &d = doc.document();
    EXPECT_EQ(blockTexts(d), (QStringList{QStringLiteral("1、粗体后"), QStringLiteral("图\uFFFC"),
                                          QStringLiteral("图\uFFFC"), QStringLiteral("答案：")}));
    const QTextBlock first = d.begin();
    QList<int> weights;
    for (auto it = first.begin(); !it.atEnd(); ++it)
        weights << it.fragment().charFormat().fontWeight();
    EXPECT_EQ(weights, (QList<int>{QFont::Normal, QFont::Bold, QFont::Normal}));
    EXPECT_EQ(pictureColours(d), (QList<QRgb>{QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()}));
    EXPECT_EQ(d.lastBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(d.lastBlock().previous().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
}

TEST(DocumentWriter, PageBreakInTheMiddleOfAParagraphStartsANewOne)
{
    TypedDocument doc;
    doc.typeText(QStringLiteral("前"));
    doc.insertPageBreak();
    doc.typeText(QStringLiteral("后"));
    EXPECT_EQ(blockTexts(doc.document()), (QStringList{QStringLiteral("前"), QStringLiteral("后")}));
    EXPECT_EQ(doc.document().begin().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
    EXPECT_EQ(doc.document().lastBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
}

TEST(DocumentWriter, SafeFileNames)
{
    const struct {
        QString title;
        QString name;
    } cases[] = {
        {QStringLiteral("2026年03月10日Almerin[1]"), QStringLiteral("2026年03月10日Almerin[1]")},
        {QStringLiteral("a/b\\c:d*e?f\"g<h>i|j"), QStringLiteral("a_b_c_d_e_f_g_h_i_j")},
        {QStringLiteral("  tab\there  "), QStringLiteral("tab_here")},
        {QStringLiteral(""), QStringLiteral("试卷")},
        {QStringLiteral(".."), QStringLiteral("试卷")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(docwriter::safeFileName(c.title), c.name) << c.title.toStdString();
}

TEST(DocumentWriter, PdfHasThePagesLaidOutAndEmbedsTheChineseFont)
{
    // Page breaks alone decide the pages of a short document; a long one
    // runs over several pages of its own.
    const struct {
        int breaks;
        int lines;
        int pages;   // -1: more than one, as the layout counts them
    } cases[] = {{0, 1, 1}, {2, 1, 3}, {0, 400, -1}};
    QTemporaryDir dir;
    for (const auto &c : cases) {
        TypedDocument doc;
        for (int i = 0; i <= c.breaks; ++i) {
            if (i)
                doc.insertPageBreak();
            for (int l = 0; l < c.lines; ++l) {
                doc.typeText(QStringLiteral("第%1页 第%2行 中文").arg(i + 1).arg(l + 1));
                doc.typeParagraph();
            }
        }
        const QString path = dir.filePath(QStringLiteral("p%1.pdf").arg(c.breaks * 1000 + c.lines));
        const int pages = docwriter::writePdf(doc.document(), path);
        if (c.pages > 0)
            EXPECT_EQ(pages, c.pages);
        else
            EXPECT_GT(pages, 1);
        const QString info = tool(QStringLiteral("pdfinfo"), {path});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages)))) << info.toStdString();
        const QStringList text = tool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).split(QLatin1Char('\f'));
        // One form feed after each page.
        EXPECT_EQ(text.size(), pages + 1);
        EXPECT_TRUE(text.value(0).contains(QStringLiteral("第1页 第1行 中文"))) << text.value(0).toStdString();
        if (c.breaks) {
            EXPECT_TRUE(text.value(c.breaks).trimmed().startsWith(QStringLiteral("第%1页").arg(c.breaks + 1)));
        }
    }
    const QString fonts = tool(QStringLiteral("pdffonts"), {dir.filePath(QStringLiteral("p1.pdf"))});
    const QStringList rows = fonts.split(QLatin1Char('\n')).mid(2).filter(QRegularExpression(QStringLiteral("\\S")));
    ASSERT_FALSE(rows.isEmpty()) << fonts.toStdString();
    for (const QString &row : rows)
        EXPECT_TRUE(row.contains(QRegularExpression(QStringLiteral("Identity-H\\s+yes\\b")))) << row.toStdString();   // embedded
}

TEST(DocumentWriter, OdtIsAnOpenDocumentPackageWithItsPictures)
{
    TypedDocument doc;
    doc.typeText(QStringLiteral("标题"));
    doc.typeParagraph();
    doc.pasteRichText(pictureRtf(Qt::green));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.odt"));
    docwriter::writeOdt(doc.document(), path);
    EXPECT_EQ(tool(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("mimetype")}),
              QStringLiteral("application/vnd.oasis.opendocument.text"));
    const QString content = tool(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("content.xml")});
    EXPECT_TRUE(content.contains(QStringLiteral("标题")));
    EXPECT_TRUE(content.contains(QStringLiteral("draw:image"))) << content.toStdString();
    EXPECT_TRUE(tool(QStringLiteral("unzip"), {QStringLiteral("-l"), path}).contains(QStringLiteral("Pictures/")));

    EXPECT_THROW(docwriter::writeOdt(doc.document(), dir.filePath(QStringLiteral("no/such/folder/a.odt"))),
                 docwriter::DocumentError);
    EXPECT_THROW(docwriter::writePdf(doc.document(), dir.filePath(QStringLiteral("no/such/folder/a.pdf"))),
                 docwriter::DocumentError);
}
