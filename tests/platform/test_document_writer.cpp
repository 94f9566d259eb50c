// The export's word processor: pasted rich text keeps its look and its
// pictures (two pastes whose pictures share a name inside their own RTF
// stay two pictures), typed text does not take the look of what was
// pasted before it, the page break, file names, and the written files.
#include "platform/DocumentChecks.h"
#include "platform/DocumentWriter.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using docwriter::TypedDocument;
using namespace docchecks;

TEST(DocumentWriter, PastesKeepLookAndPicturesTypedTextStaysPlain)
{
    TypedDocument doc;
    doc.typeText(QStringLiteral("1、"));
    doc.pasteRichText(rtf(QStringLiteral("粗体"), true));
    doc.typeText(QStringLiteral("后"));
    doc.insertPageBreak();                    // inside a paragraph: a new one
    doc.pasteRichText(QByteArray());          // empty: nothing, not even a blank
    doc.pasteRichText(pictureRtf(QStringLiteral("图"), Qt::red));
    doc.typeParagraph();
    doc.pasteRichText(pictureRtf(QStringLiteral("图"), Qt::blue));   // same picture name inside its RTF
    doc.typeParagraph();
    doc.insertPageBreak();                    // on an empty paragraph: that one
    doc.typeText(QStringLiteral("答案："));

    const QTextDocument &d = doc.document();
    EXPECT_EQ(blockTexts(d), (QStringList{QStringLiteral("1、粗体后"), QStringLiteral("图\uFFFC"),
                                          QStringLiteral("图\uFFFC"), QStringLiteral("答案：")}));
    QList<int> weights;
    for (auto it = d.begin().begin(); !it.atEnd(); ++it)
        weights << it.fragment().charFormat().fontWeight();
    EXPECT_EQ(weights, (QList<int>{QFont::Normal, QFont::Bold, QFont::Normal}));
    EXPECT_EQ(pictureColours(d), (QList<QRgb>{QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()}));
    QList<bool> breaks;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        breaks << (b.blockFormat().pageBreakPolicy() == QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(breaks, (QList<bool>{false, true, false, true}));
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
        const QStringList text = pdfPages(path);
        EXPECT_EQ(text.size(), pages);
        EXPECT_TRUE(text.value(0).contains(QStringLiteral("第1页 第1行 中文"))) << text.value(0).toStdString();
        if (c.breaks) {
            EXPECT_TRUE(text.value(c.breaks).trimmed().startsWith(QStringLiteral("第%1页").arg(c.breaks + 1)));
        }
    }
    const QString fonts = tool(QStringLiteral("pdffonts"), {dir.filePath(QStringLiteral("p1.pdf"))});
    const QStringList rows = fonts.split(QLatin1Char('\n')).mid(2).filter(QRegularExpression(QStringLiteral("\\S")));
    ASSERT_FALSE(rows.isEmpty()) << fonts.toStdString();
    for (const QString &row : rows)
        EXPECT_TRUE(row.contains(QRegularExpression(QStringLiteral("Identity-H\\s+yes\\b")))) << row.toStdString();
}

TEST(DocumentWriter, OdtCarriesThePicturesAndFailuresThrow)
{
    TypedDocument doc;
    doc.pasteRichText(pictureRtf(QStringLiteral("图"), Qt::green));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.odt"));
    docwriter::writeOdt(doc.document(), path);
    EXPECT_TRUE(tool(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("content.xml")})
                    .contains(QStringLiteral("draw:image")));
    EXPECT_TRUE(tool(QStringLiteral("unzip"), {QStringLiteral("-l"), path}).contains(QStringLiteral("Pictures/")));

    EXPECT_THROW(docwriter::writeOdt(doc.document(), dir.filePath(QStringLiteral("no/such/folder/a.odt"))),
                 docwriter::DocumentError);
    EXPECT_THROW(docwriter::writePdf(doc.document(), dir.filePath(QStringLiteral("no/such/folder/a.pdf"))),
                 docwriter::DocumentError);
}
