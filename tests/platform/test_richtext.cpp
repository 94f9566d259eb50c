// Rich text of the bank: rich-edit RTF read into documents, documents written
// back as RTF, HTML and plain text input, and damaged RTF.
#include "platform/RichText.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// What a Windows rich-edit control writes around a body: 宋体 (GBK name) as
// f0, Arial as f1, a colour table with red and blue.
QByteArray richEdit(const QByteArray &body)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
                      "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
                      "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
                      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                      "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 ")
           + body + "\\par\r\n}\r\n";
}

QString plainOf(const QByteArray &rtf)
{
    QTextDocument doc;
    richtext::readInto(doc, rtf);
    return doc.toPlainText();
}

// Format of the character at a position of the document's plain text.
QTextCharFormat formatAt(const QTextDocument &doc, int pos)
{
    QTextCursor c(const_cast<QTextDocument *>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

QString familyOf(const QTextCharFormat &f)
{
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? QString() : families.first();
}

QByteArray pngBytes(const QImage &image, const char *format = "PNG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage sampleImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    image.setPixel(0, 0, qRgb(0, 0, 255));
    return image;
}

struct Picture
{
    QTextImageFormat format;
    QImage image;
};

std::vector<Picture> picturesOf(const QTextDocument &doc)
{
    std::vector<Picture> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
                const QVariant r = doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
                out.push_back({f, r.value<QImage>()});
            }
    return out;
}

bool sevenBit(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80 && c != 0; });
}

// ---------------------------------------------------------------------------

struct TextCase
{
    const char *name;
    QByteArray rtf;
    QString expected;
};

TEST(RichText, ReadsRichEditText)
{
    const QByteArray big5 = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 A;}"
                            "{\\f2\\fnil\\fcharset136 B;}}\\f2 \\'a4\\'a4\\'a4\\'e5\\f0 \\'b4\\'f0}";
    // As a newer rich-edit control saves it, NUL at the end included.
    const QByteArray msftedit = QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0\\nouicompat\\deflang1033\\deflangfe2052"
                                           "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset0 Calibri;}}\r\n"
                                           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
                                           "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang2052 \\'b5\\'a5\\'d1\\'a1\\'cc\\'e2"
                                           "\\f1\\lang1033 : A\\par\r\n\\f0\\lang2052\\'b4\\'f0\\'b0\\'b8\\f1\\lang1033 B\\par\r\n}\r\n")
                                + QByteArray(1, '\0');
    const TextCase cases[] = {
        {"newer rich-edit control", msftedit, QString::fromUtf8("单选题: A\n答案B")},
        {"GBK hex pairs", richEdit("\\'b5\\'a5\\'d1\\'a1\\'cc\\'e2"), QString::fromUtf8("单选题")},
        {"long GBK sentence", richEdit("1.\\'cf\\'c2\\'c1\\'d0\\'cb\\'b5\\'b7\\'a8\\'d5\\'fd\\'c8\\'b7\\'b5\\'c4\\'ca\\'c7( )"),
         QString::fromUtf8("1.下列说法正确的是( )")},
        {"closing par adds no line", richEdit("a\\par b\\par\\par c"), "a\nb\n\nc"},
        {"line and tab", richEdit("a\\line b\\tab c"), "a\nb\tc"},
        {"escaped symbols", richEdit("\\\\ \\{x\\} a\\~b"), "\\ {x} a b"},
        {"named characters", richEdit("\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet"),
         QString::fromUtf8("—–‘’“”•")},
        {"\\u with ? fallback", richEdit("\\u21333?\\u36873?"), QString::fromUtf8("单选")},
        {"\\uc2 with GBK fallback", richEdit("\\uc2\\u21333\\'b5\\'a5x"), QString::fromUtf8("单x")},
        {"\\uc0 has no fallback", richEdit("\\uc0\\u21333 x"), QString::fromUtf8("单x")},
        {"negative \\u surrogate pair", richEdit("\\u-10179?\\u-8704?!"), QString::fromUtf8("😀!")},
        {"group end stops fallback skipping", richEdit("{\\uc3\\u21333}ab"), QString::fromUtf8("单ab")},
        {"ignorable destination skipped", richEdit("a{\\*\\foo b{c\\par}}d"), "ad"},
        {"known destinations skipped",
         "{\\rtf1\\ansi{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author W}}{\\header H}"
         "{\\footer F}{\\*\\generator Riched20 10.0.19041}{\\*\\pn\\pnlvlblt{\\pntxtb x}}body}",
         "body"},
        {"field result shown, instruction not", richEdit("{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul link}}}"),
         "link"},
        {"charset 0 font is Western", richEdit("\\f1 caf\\'e9"), QString::fromUtf8("café")},
        {"charset 136 font is Big5", big5, QString::fromUtf8("中文答")},
        {"text without \\f uses the default font's charset",
         "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 A;}}\\'b4\\'f0\\'b0\\'b8}", QString::fromUtf8("答案")},
        {"\\ansicpg when fonts name no charset", "{\\rtf1\\ansi\\ansicpg936 \\'bd\\'e2\\'ce\\'f6}", QString::fromUtf8("解析")},
        {"unknown control words ignored", richEdit("a\\foo12 b\\bar-3 c"), "abc"},
        {"hidden text not shown", richEdit("a{\\v hidden}b"), "ab"},
        {"list marker text kept", richEdit("{\\pntext\\f0 1.\\tab}item"), "1.\titem"},
        {"table cells and rows", richEdit("\\trowd\\cellx1000 a\\cell b\\cell\\row c"), "a\tb\t\nc"},
        {"backslash before line end is a paragraph", richEdit("a\\\r\nb"), "a\nb"},
        {"line ends in the RTF are not text", richEdit("a\r\nb\rc"), "abc"},
        {"picture alternatives: only the shown one", richEdit("x{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 0102}}y"),
         "xy"},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(plainOf(c.rtf), c.expected) << c.name;
}

TEST(RichText, ReadsFontTableNamesAndCharacterFormats)
{
    QTextDocument doc;
    richtext::readInto(doc, richEdit("\\b Bold\\b0  \\i It\\i0  \\ul Un\\ulnone  \\cf1 Red\\cf0  "
                                     "\\f1\\fs28 Big\\f0\\fs18  {\\b\\cf2 Grp}Out \\strike S\\strike0"
                                     "\\super X\\nosupersub\\sub Y\\nosupersub\\plain P"));
    const QString plain = doc.toPlainText();
    ASSERT_EQ(plain, "Bold It Un Red Big GrpOut SXYP");

    struct Expect
    {
        const char *text;
        QString family; // empty: none set
        double points;  // 0: none set
        bool bold, italic, underline, strike;
        QColor color; // invalid: none set
        QTextCharFormat::VerticalAlignment valign;
    };
    const QString song = QString::fromUtf8("宋体");
    const auto normal = QTextCharFormat::AlignNormal;
    const Expect expects[] = {
        {"Bold", song, 9, true, false, false, false, {}, normal},
        {"It", song, 9, false, true, false, false, {}, normal},
        {"Un", song, 9, false, false, true, false, {}, normal},
        {"Red", song, 9, false, false, false, false, QColor(255, 0, 0), normal},
        {"Big", "Arial", 14, false, false, false, false, {}, normal},
        {"Grp", song, 9, true, false, false, false, QColor(0, 0, 255), normal},
        {"Out", song, 9, false, false, false, false, {}, normal},
        {"S", song, 9, false, false, false, true, {}, normal},
        {"X", song, 9, false, false, false, false, {}, QTextCharFormat::AlignSuperScript},
        {"Y", song, 9, false, false, false, false, {}, QTextCharFormat::AlignSubScript},
        {"P", QString(), 0, false, false, false, false, {}, normal},
    };
    for (const Expect &e : expects) {
        const int pos = int(plain.indexOf(QLatin1String(e.text)));
        ASSERT_GE(pos, 0) << e.text;
        const QTextCharFormat f = formatAt(doc, pos);
        EXPECT_EQ(familyOf(f), e.family) << e.text;
        EXPECT_EQ(f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0.0, e.points) << e.text;
        EXPECT_EQ(f.fontWeight() >= QFont::DemiBold, e.bold) << e.text;
        EXPECT_EQ(f.fontItalic(), e.italic) << e.text;
        EXPECT_EQ(f.fontUnderline(), e.underline) << e.text;
        EXPECT_EQ(f.fontStrikeOut(), e.strike) << e.text;
        EXPECT_EQ(f.verticalAlignment(), e.valign) << e.text;
        if (e.color.isValid()) {
            EXPECT_EQ(f.foreground().color(), e.color) << e.text;
        } else {
            EXPECT_FALSE(f.hasProperty(QTextFormat::ForegroundBrush)) << e.text;
        }
    }
}

TEST(RichText, ReadsParagraphFormats)
{
    QTextDocument doc;
    // The last paragraph has no \\par and its group is closed before the
    // document ends: it keeps the format its text was written in.
    richtext::readInto(doc, "{\\rtf1\\ansi\\pard\\qc Centre\\par\\pard\\qr Right\\par\\pard Left\\par"
                            "\\pard\\li720\\ri300\\fi-360\\sb150\\sa75 Indented\\par"
                            "{\\pard\\qj Justified in a group}}");
    struct Expect
    {
        Qt::Alignment align;
        double left, right, first, top, bottom;
    };
    const Expect expects[] = {
        {Qt::AlignHCenter, 0, 0, 0, 0, 0}, {Qt::AlignRight, 0, 0, 0, 0, 0}, {Qt::AlignLeft, 0, 0, 0, 0, 0},
        {Qt::AlignLeft, 48, 20, -24, 10, 5}, {Qt::AlignJustify, 0, 0, 0, 0, 0},
    };
    ASSERT_EQ(doc.blockCount(), 5);
    QTextBlock b = doc.begin();
    for (const Expect &e : expects) {
        const QTextBlockFormat f = b.blockFormat();
        const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
        EXPECT_EQ(align ? align : Qt::Alignment(Qt::AlignLeft), e.align) << b.text().toStdString();
        EXPECT_DOUBLE_EQ(f.leftMargin(), e.left) << b.text().toStdString();
        EXPECT_DOUBLE_EQ(f.rightMargin(), e.right) << b.text().toStdString();
        EXPECT_DOUBLE_EQ(f.textIndent(), e.first) << b.text().toStdString();
        EXPECT_DOUBLE_EQ(f.topMargin(), e.top) << b.text().toStdString();
        EXPECT_DOUBLE_EQ(f.bottomMargin(), e.bottom) << b.text().toStdString();
        b = b.next();
    }
}

TEST(RichText, ReadsPictures)
{
    const QImage image = sampleImage(7, 5);
    const QByteArray png = pngBytes(image);
    const QByteArray jpeg = pngBytes(image, "JPEG");
    const QByteArray dib = pngBytes(image, "BMP").mid(14); // a BMP file without its file header
    struct Case
    {
        const char *name;
        QByteArray body;
        int count;
        QSize shown; // invalid: the picture's own size
    };
    const Case cases[] = {
        {"PNG as hex with goal size", "a{\\pict\\pngblip\\picw7\\pich5\\picwgoal210\\pichgoal150\r\n" + png.toHex() + "}b", 1, {14, 10}},
        {"hex split over lines", "{\\pict\\pngblip\\picwgoal105\\pichgoal75 " + png.toHex().insert(20, "\r\n").insert(50, "\n") + "}", 1, {7, 5}},
        {"PNG as \\bin", "{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}", 1, {}},
        {"JPEG", "{\\pict\\jpegblip\\picscalex200\\picscaley200 " + jpeg.toHex() + "}", 1, {14, 10}},
        {"inside shppict", "{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\pngblip " + png.toHex()
                               + "}}{\\nonshppict{\\pict\\wmetafile8 " + png.toHex() + "}}",
         1, {}},
        {"device-independent bitmap", "{\\pict\\dibitmap0\\picwgoal105\\pichgoal75 " + dib.toHex() + "}", 1, {7, 5}},
        {"embedded object shows its result",
         "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw105\\objh75{\\*\\objdata 01050000}"
         "{\\result{\\pict\\pngblip " + png.toHex() + "}}}",
         1, {}},
        {"metafile only: left out", "a{\\pict\\wmetafile8\\picw100 0100090000}b", 0, {}},
        {"broken data: left out", "a{\\pict\\pngblip 89504e470d0a1a0a0000}b", 0, {}},
        {"bitmap header that does not add up", "a{\\pict\\dibitmap0 28000000ffffffff}b", 0, {}},
    };
    for (const Case &c : cases) {
        QTextDocument doc;
        richtext::readInto(doc, richEdit(c.body));
        const auto pictures = picturesOf(doc);
        ASSERT_EQ(int(pictures.size()), c.count) << c.name;
        if (c.count == 0) {
            EXPECT_TRUE(doc.toPlainText().contains("ab")) << c.name;
            continue;
        }
        EXPECT_EQ(pictures[0].image.size(), QSize(7, 5)) << c.name;
        if (c.shown.isValid()) {
            EXPECT_DOUBLE_EQ(pictures[0].format.width(), c.shown.width()) << c.name;
            EXPECT_DOUBLE_EQ(pictures[0].format.height(), c.shown.height()) << c.name;
        }
    }
}

// ---------------------------------------------------------------------------

// The formatting a reader sees, with unset values resolved to the document's.
struct Seen
{
    QString family;
    double points;
    bool bold, italic, underline, strike;
    int valign;
    QRgb fg, bg; // 0: none
    bool operator==(const Seen &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Seen &s)
{
    return os << s.family.toStdString() << " " << s.points << "pt b" << s.bold << " i" << s.italic << " u"
              << s.underline << " s" << s.strike << " v" << s.valign << " fg" << std::hex << s.fg << " bg" << s.bg
              << std::dec;
}

Seen seen(const QTextDocument &doc, const QTextCharFormat &f)
{
    const QString family = familyOf(f);
    return {family.isEmpty() ? doc.defaultFont().family() : family,
            f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : doc.defaultFont().pointSizeF(),
            f.fontWeight() >= QFont::DemiBold,
            f.fontItalic(),
            f.fontUnderline(),
            f.fontStrikeOut(),
            int(f.verticalAlignment()),
            f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().rgb() : 0u,
            f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().rgb() : 0u};
}

TEST(RichText, CharacterFormatsSurviveRoundTrip)
{
    using Change = std::function<void(QTextCharFormat &)>;
    const struct
    {
        const char *name;
        Change change;
    } cases[] = {
        {"plain", [](QTextCharFormat &) {}},
        {"bold", [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); }},
        {"italic", [](QTextCharFormat &f) { f.setFontItalic(true); }},
        {"underline", [](QTextCharFormat &f) { f.setFontUnderline(true); }},
        {"strike", [](QTextCharFormat &f) { f.setFontStrikeOut(true); }},
        {"superscript", [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }},
        {"subscript", [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }},
        {"half point size", [](QTextCharFormat &f) { f.setFontPointSize(10.5); }},
        {"large size", [](QTextCharFormat &f) { f.setFontPointSize(36); }},
        {"Chinese font name", [](QTextCharFormat &f) { f.setFontFamilies({QString::fromUtf8("黑体")}); }},
        {"font name with blanks", [](QTextCharFormat &f) { f.setFontFamilies({"Times New Roman"}); }},
        {"font name outside GBK", [](QTextCharFormat &f) { f.setFontFamilies({QString::fromUtf8("Noto 😀 Sans")}); }},
        {"colour", [](QTextCharFormat &f) { f.setForeground(QColor(12, 34, 56)); }},
        {"background", [](QTextCharFormat &f) { f.setBackground(QColor(255, 255, 0)); }},
        {"everything",
         [](QTextCharFormat &f) {
             f.setFontWeight(QFont::Bold);
             f.setFontItalic(true);
             f.setFontUnderline(true);
             f.setFontPointSize(15);
             f.setFontFamilies({"Arial"});
             f.setForeground(QColor(255, 0, 0));
         }},
    };
    for (const auto &c : cases) {
        // The sample run sits between two unformatted runs, so switching the
        // format on and back off are both checked.
        QTextDocument doc;
        QTextCursor cur(&doc);
        cur.insertText(QString::fromUtf8("前"));
        QTextCharFormat f;
        c.change(f);
        cur.insertText(QString::fromUtf8("样本"), f);
        cur.insertText(QString::fromUtf8("后"), QTextCharFormat());

        const QByteArray rtf = richtext::toRtf(doc);
        EXPECT_TRUE(sevenBit(rtf)) << c.name;
        QTextDocument back;
        richtext::readInto(back, rtf);
        ASSERT_EQ(back.toPlainText(), doc.toPlainText()) << c.name;
        for (int pos : {0, 1, 2, 3})
            EXPECT_EQ(seen(back, formatAt(back, pos)), seen(doc, formatAt(doc, pos))) << c.name << " at " << pos;
    }
}

TEST(RichText, DocumentSurvivesRoundTrip)
{
    QTextDocument doc;
    QTextCursor cur(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cur.setBlockFormat(centred);
    cur.insertText(QString::fromUtf8("单选题："));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cur.insertText(QString::fromUtf8("粗体"), bold);
    cur.insertText(QString::fromUtf8(" {braces} \\ back\ttab") + QChar(QChar::LineSeparator)
                       + QString::fromUtf8("😀 € é ·") + QChar(QChar::Nbsp) + "end",
                   QTextCharFormat());

    cur.insertBlock(QTextBlockFormat());
    const QImage image = sampleImage(7, 5);
    doc.addResource(QTextDocument::ImageResource, QUrl("sample.png"), image);
    QTextImageFormat pic;
    pic.setName("sample.png");
    pic.setWidth(21);
    pic.setHeight(15);
    cur.insertImage(pic);

    cur.insertBlock(QTextBlockFormat()); // an empty line
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLeftMargin(20);
    cur.insertBlock(right);
    QTextCharFormat small;
    small.setFontPointSize(10.5);
    small.setForeground(Qt::blue);
    cur.insertText(QString::fromUtf8("末尾"), small);

    const QByteArray rtf = richtext::toRtf(doc);
    EXPECT_TRUE(sevenBit(rtf));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0"));
    EXPECT_TRUE(rtf.contains("\\'b5\\'a5\\'d1\\'a1\\'cc\\'e2")) << "单选题 as GBK bytes";
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?")) << "a character outside GBK as \\u";
    EXPECT_TRUE(rtf.contains("\\pngblip"));
    EXPECT_TRUE(richtext::isRtf(rtf));

    QTextDocument back;
    richtext::readInto(back, rtf);
    ASSERT_EQ(back.toPlainText(), doc.toPlainText());
    ASSERT_EQ(back.blockCount(), 4);
    EXPECT_TRUE(back.findBlockByNumber(2).text().isEmpty());

    for (int pos = 0; pos < doc.characterCount() - 1; ++pos)
        if (!formatAt(doc, pos).isImageFormat()) {
            EXPECT_EQ(seen(back, formatAt(back, pos)), seen(doc, formatAt(doc, pos))) << "at " << pos;
        }

    for (int i = 0; i < 4; ++i) {
        const QTextBlockFormat a = doc.findBlockByNumber(i).blockFormat();
        const QTextBlockFormat b = back.findBlockByNumber(i).blockFormat();
        EXPECT_EQ(b.alignment() & Qt::AlignHorizontal_Mask ? b.alignment() & Qt::AlignHorizontal_Mask : Qt::AlignLeft,
                  a.alignment() & Qt::AlignHorizontal_Mask ? a.alignment() & Qt::AlignHorizontal_Mask : Qt::AlignLeft)
            << "block " << i;
        EXPECT_DOUBLE_EQ(b.leftMargin(), a.leftMargin()) << "block " << i;
    }

    const auto pictures = picturesOf(back);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].image.size(), QSize(7, 5));
    EXPECT_EQ(pictures[0].image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_DOUBLE_EQ(pictures[0].format.width(), 21);
    EXPECT_DOUBLE_EQ(pictures[0].format.height(), 15);

    // Writing what was read gives the same RTF again.
    EXPECT_EQ(richtext::toRtf(back), rtf);
}

TEST(RichText, ListItemsKeepTheirMarkers)
{
    QTextDocument doc;
    doc.setHtml("<ol><li>one</li><li>two</li></ol>");
    EXPECT_EQ(plainOf(richtext::toRtf(doc)), "1.\tone\n2.\ttwo");
}

// ---------------------------------------------------------------------------

TEST(RichText, RecognisesRtf)
{
    const struct
    {
        QByteArray data;
        bool rtf;
    } cases[] = {
        {"{\\rtf1\\ansi x}", true}, {"  \r\n{\\rtf1 x}", true}, {"\xEF\xBB\xBF{\\rtf1 x}", true},
        {"{\\rtf", true},           {"{\\rt", false},           {"", false},
        {"rtf1", false},            {"<p>{\\rtf1</p>", false},  {"x{\\rtf1}", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(richtext::isRtf(c.data), c.rtf) << c.data.toStdString();
}

TEST(RichText, ReadsPlainTextAndHtml)
{
    const struct
    {
        const char *name;
        QByteArray data;
        QString plain;
        int boldAt; // -1: nothing bold
    } cases[] = {
        {"UTF-8 plain text", QString::fromUtf8("第一行\n第二行").toUtf8(), QString::fromUtf8("第一行\n第二行"), -1},
        {"GBK plain text", QByteArray::fromHex("b5a5d1a1cce20ab4f0b0b8"), QString::fromUtf8("单选题\n答案"), -1},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + QString::fromUtf8("解析").toUtf8(), QString::fromUtf8("解析"), -1},
        {"trailing NUL bytes", QByteArray("abc\0\0", 5), "abc", -1},
        {"less-than inside plain text", "1<2 and 3>2", "1<2 and 3>2", -1},
        {"HTML", QString::fromUtf8("<p><b>粗</b>体</p>").toUtf8(), QString::fromUtf8("粗体"), 0},
        {"HTML after blanks", "  \n<b>x</b>y", "xy", 0},
        {"HTML without a leading tag", "text <b>bold</b>", "text bold", 5},
        {"empty", "", "", -1},
    };
    for (const auto &c : cases) {
        QTextDocument doc;
        richtext::readInto(doc, c.data);
        EXPECT_EQ(doc.toPlainText(), c.plain) << c.name;
        if (c.boldAt >= 0) {
            EXPECT_GE(formatAt(doc, c.boldAt).fontWeight(), QFont::Bold) << c.name;
        }
        EXPECT_EQ(richtext::rtfToPlainText(c.data), c.plain) << c.name;
    }
}

TEST(RichText, ReadingReplacesContentAndPictures)
{
    QTextDocument doc;
    const QByteArray png = pngBytes(sampleImage(3, 3));
    richtext::readInto(doc, richEdit("{\\pict\\pngblip " + png.toHex() + "}"));
    ASSERT_EQ(picturesOf(doc).size(), 1u);
    const QString name = picturesOf(doc)[0].format.name();
    richtext::readInto(doc, "plain");
    EXPECT_EQ(doc.toPlainText(), "plain");
    EXPECT_FALSE(doc.resource(QTextDocument::ImageResource, QUrl(name)).isValid());
    richtext::readInto(doc, QByteArray());
    EXPECT_TRUE(doc.isEmpty());
}

TEST(RichText, Shorthands)
{
    const QByteArray rtf = richtext::plainTextToRtf(QString::fromUtf8("第一行\r\n{a}\\b\rc"));
    EXPECT_TRUE(richtext::isRtf(rtf));
    EXPECT_TRUE(sevenBit(rtf));
    EXPECT_EQ(richtext::rtfToPlainText(rtf), QString::fromUtf8("第一行\n{a}\\b\nc"));

    const QByteArray png = pngBytes(sampleImage(4, 4));
    const QString html = richtext::rtfToHtml(richEdit("\\b Bold\\b0  {\\pict\\pngblip " + png.toHex() + "}"));
    EXPECT_TRUE(html.contains("font-weight")) << html.toStdString();
    EXPECT_TRUE(html.contains("<img src=\"data:image/png;base64," + QString::fromLatin1(png.toBase64())))
        << "the picture travels inside the HTML";
    // The HTML reads back with its picture.
    QTextDocument doc;
    richtext::readInto(doc, html.toUtf8());
    EXPECT_TRUE(doc.toPlainText().startsWith("Bold "));
    QTextDocument again;
    richtext::readInto(again, richtext::toRtf(doc));
    ASSERT_EQ(picturesOf(again).size(), 1u);
    EXPECT_EQ(picturesOf(again)[0].image.size(), QSize(4, 4));
}

// ---------------------------------------------------------------------------

TEST(RichText, SurvivesDamagedRtf)
{
    const QByteArray deepOpen(10000, '{');
    const QByteArray deepClose(10000, '}');
    const struct
    {
        const char *name;
        QByteArray data;
        std::optional<QString> plain; // nullopt: anything, as long as it returns
    } cases[] = {
        {"extra closing braces", "{\\rtf1 ab}}cd}}", "abcd"},
        {"closing braces missing", "{\\rtf1{\\b ab{\\i cd", "abcd"},
        {"truncated hex at end", "{\\rtf1 ab\\'4", "ab"},
        {"hex without digits", "{\\rtf1 ab\\'zz}", "abzz"},
        {"backslash at end", "{\\rtf1 ab\\", "ab"},
        {"lead byte without trail byte", "{\\rtf1\\ansi\\ansicpg936 ab\\'b5}", std::nullopt},
        {"huge numbers", "{\\rtf1\\fs99999999999999999 big\\f-99999999999 \\u99999999999?x\\li-9999999999999 y}",
         std::nullopt},
        {"deep nesting closed", "{\\rtf1 " + deepOpen + "deep" + deepClose + "}", "deep"},
        {"deep nesting never closed", "{\\rtf1 " + deepOpen + "deep", "deep"},
        {"deep nesting in a skipped group", "{\\rtf1{\\*\\x " + deepOpen + "no" + deepClose + "}yes}", "yes"},
        {"\\bin longer than the data", "{\\rtf1{\\pict\\pngblip\\bin999999 abc}}", ""},
        {"\\bin with a negative length", "{\\rtf1 a\\bin-5 b}", "ab"},
        {"\\bin in text", "{\\rtf1 a\\bin3 }{\\ b}", "a b"},
        {"empty input", "", ""},
        {"only the header", "{\\rtf", ""},
        {"NUL bytes", QByteArray("{\\rtf1 a\0b}", 11), "ab"},
        {"very long control word", "{\\rtf1 a\\" + QByteArray(100000, 'x') + " b}", "ab"},
        {"odd number of hex digits", "{\\rtf1{\\pict\\pngblip 0}x}", "x"},
        {"fallback running past the end", "{\\rtf1\\uc5\\u21333", QString::fromUtf8("单")},
        {"unterminated font table", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce", ""},
        {"unterminated picture", "{\\rtf1 a{\\pict\\pngblip 8950", "a"},
        {"destinations outside every group", "{\\rtf1 a}\\*\\foo b\\pict c\\fonttbl d", "abcd"},
        {"control characters from hex and \\u", "{\\rtf1 a\\'0d\\'0ab\\u10?c\\u8233?d}", QString("abc") + QChar(QChar::LineSeparator) + "d"},
    };
    for (const auto &c : cases) {
        QTextDocument doc;
        richtext::readInto(doc, c.data);
        if (c.plain) {
            EXPECT_EQ(doc.toRawText(), *c.plain) << c.name;
        }
        // Whatever was read can be written and read back the same.
        EXPECT_EQ(richtext::rtfToPlainText(richtext::toRtf(doc)), doc.toPlainText()) << c.name;
    }

    QTextDocument doc;
    richtext::readInto(doc, "{\\rtf1\\fs99999999999999999 big}");
    EXPECT_LE(formatAt(doc, 0).fontPointSize(), 1638.0);
}

// Random mixtures of RTF pieces: every document read from them is written and
// read back to the same text.
TEST(RichText, RandomTokenSoupIsReadAndWrittenConsistently)
{
    const char *const pieces[] = {
        "{",        "}",        "\\'",      "\\'b5",     "\\'a5",    "\\'4",      "\\u-5",      "\\u21333?",
        "\\uc2 ",   "\\bin3 ",  "\\bin",    "\\pict",    "\\*",      "\\par ",    "\\line ",    "\\fonttbl",
        "\\colortbl", "\\f0 ",  "\\f1 ",    "\\fs30 ",   "\\b ",     "\\b0 ",     "\\cf1 ",     "\\red9",
        ";",        "x",        "\xB5\xA5", " ",         "\\\\",     "\\{",       "\\pngblip ", "89",
        "\\qc ",    "\\pard ",  "\\plain ", "\\v ",      "\\fcharset134 ", "\\ansicpg936 ", "\\",  "\r\n",
    };
    QRandomGenerator random(20240607);
    for (int round = 0; round < 300; ++round) {
        QByteArray data = "{\\rtf1 ";
        const int n = random.bounded(1, 200);
        for (int i = 0; i < n; ++i)
            data += pieces[random.bounded(int(std::size(pieces)))];
        QTextDocument doc;
        richtext::readInto(doc, data);
        const QByteArray rtf = richtext::toRtf(doc);
        ASSERT_TRUE(sevenBit(rtf)) << data.toStdString();
        ASSERT_EQ(richtext::rtfToPlainText(rtf), doc.toPlainText()) << data.toStdString();
    }
}

// A question body is read on every question change.
TEST(RichText, ReadsTenKilobytesQuickly)
{
    QByteArray body;
    while (body.size() < 10 * 1024)
        body += "\\'cf\\'c2\\'c1\\'d0\\'cb\\'b5\\'b7\\'a8\\'d5\\'fd\\'c8\\'b7\\'b5\\'c4\\'ca\\'c7 "
                "A.\\b\\'b5\\'a5\\'d1\\'a1\\b0 text \\cf1 red\\cf0\\par\r\n";
    const QByteArray rtf = richEdit(body);
    ASSERT_GE(rtf.size(), 10 * 1024);

    QTextDocument doc;
    richtext::readInto(doc, rtf); // warm up codecs and keyword table
    const int rounds = 50;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        richtext::readInto(doc, rtf);
    const double msPerRead = double(timer.nsecsElapsed()) / 1e6 / rounds;
    RecordProperty("ms_per_read", QByteArray::number(msPerRead, 'f', 3).toStdString());
    // Generous for a loaded build machine; typical is far below.
    EXPECT_LT(msPerRead, 5.0);
    EXPECT_TRUE(doc.toPlainText().startsWith(QString::fromUtf8("下列说法正确的是 A.单选text red\n")));

    // Time grows with the input, not faster: a hundred times the text.
    QByteArray big = body.repeated(100);
    timer.restart();
    richtext::readInto(doc, richEdit(big));
    EXPECT_LT(timer.elapsed(), 2000);
}

} // namespace
