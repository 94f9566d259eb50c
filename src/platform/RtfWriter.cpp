// Writes a QTextDocument as the RTF that Windows rich-edit controls write and
// the bank stores: 7-bit text, \ansicpg936 with Chinese as GBK bytes in
// \'hh form, other characters as \uN? and pictures as PNG (\pngblip).
// Character formatting is written as changes from run to run, paragraph
// formatting after a \pard at the start of every paragraph.
#include "platform/RtfEngine.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace richtext::rtf {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxTwips = 31680;

struct RunProps
{
    int font = -1;       // index in the font table; -1: the document's font
    int halfPoints = -1; // -1: the document's size
    int fg = 0;          // index in the colour table; 0: automatic
    int bg = 0;
    qint8 valign = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunProps &) const = default;
};

QString familyOf(const QTextCharFormat &f)
{
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    if (f.hasProperty(QTextFormat::OldFontFamily))
        return f.property(QTextFormat::OldFontFamily).toString();
    return {};
}

bool hasBrush(const QTextCharFormat &f, QTextFormat::Property p)
{
    return f.hasProperty(p) && f.brushProperty(p).style() != Qt::NoBrush;
}

int twips(double pixels) { return std::clamp(int(std::lround(pixels * kTwipsPerPixel)), -kMaxTwips, kMaxTwips); }

class Writer
{
public:
    explicit Writer(const QTextDocument &doc)
        : doc_(doc), encoder_(gbkCodec(), QStringConverter::Flag::Stateless),
          decoder_(gbkCodec(), QStringConverter::Flag::Stateless)
    {
    }

    QByteArray run();

private:
    void collectTables();
    RunProps propsOf(const QTextCharFormat &f) const;
    void switchTo(const RunProps &target);
    void paragraphStart(const QTextBlock &block);
    void text(QStringView text);
    void picture(const QTextImageFormat &format);

    void word(const char *w);
    void word(const char *w, int n);
    void hexByte(uchar b);
    void unicode(char16_t c);
    QByteArray gbkBytes(char16_t c);

    const QTextDocument &doc_;
    QByteArray out_;
    bool delimit_ = false; // a control word was written last: text needs a space first
    QStringList fonts_;
    QList<QRgb> colors_; // entry i is colour table index i + 1
    RunProps current_;
    QStringEncoder encoder_;
    QStringDecoder decoder_;
    QHash<char16_t, QByteArray> gbkCache_;
};

QByteArray Writer::run()
{
    collectTables();
    out_.reserve(256 + doc_.characterCount() * 4);
    out_ += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        out_ += "{";
        word("f", int(i));
        word("fnil");
        word("fcharset", 134);
        // A ';' would end the entry early; as a byte it stays part of the name.
        const QStringList parts = fonts_.at(i).split(QLatin1Char(';'));
        for (qsizetype k = 0; k < parts.size(); ++k) {
            if (k)
                hexByte(';');
            text(parts.at(k));
        }
        out_ += ";}";
        delimit_ = false;
    }
    out_ += "}\r\n";
    if (!colors_.isEmpty()) {
        out_ += "{\\colortbl ;";
        for (QRgb c : colors_) {
            word("red", qRed(c));
            word("green", qGreen(c));
            word("blue", qBlue(c));
            out_ += ';';
            delimit_ = false;
        }
        out_ += "}\r\n";
    }
    word("viewkind", 4);
    word("uc", 1);

    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        paragraphStart(block);
        if (block.length() <= 1)
            switchTo(propsOf(block.charFormat())); // an empty line keeps its height
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const QString t = fragment.text();
            if (format.isImageFormat()) {
                for (QChar c : t)
                    if (c == QChar::ObjectReplacementCharacter)
                        picture(format.toImageFormat());
                continue;
            }
            switchTo(propsOf(format));
            text(t);
        }
        // Every paragraph ends in \par, the last one too, as rich edit does.
        word("par");
        out_ += "\r\n";
        delimit_ = false;
    }
    out_ += "}\r\n";
    return out_;
}

void Writer::collectTables()
{
    auto addFont = [this](const QString &family) {
        if (!family.isEmpty() && !fonts_.contains(family))
            fonts_.append(family);
    };
    auto addColor = [this](const QTextCharFormat &f, QTextFormat::Property p) {
        if (hasBrush(f, p)) {
            const QRgb c = f.brushProperty(p).color().rgb();
            if (!colors_.contains(c))
                colors_.append(c);
        }
    };
    auto scan = [&](const QTextCharFormat &f) {
        addFont(familyOf(f));
        addColor(f, QTextFormat::ForegroundBrush);
        addColor(f, QTextFormat::BackgroundBrush);
    };
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1)
            scan(block.charFormat());
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid() && !it.fragment().charFormat().isImageFormat())
                scan(it.fragment().charFormat());
    }
    // \deff0 needs an entry; the document's own font is the natural one.
    if (fonts_.isEmpty()) {
        const QString family = doc_.defaultFont().family();
        fonts_.append(family.isEmpty() ? QStringLiteral("宋体") : family);
    }
}

RunProps Writer::propsOf(const QTextCharFormat &f) const
{
    RunProps p;
    const QString family = familyOf(f);
    if (!family.isEmpty())
        p.font = int(fonts_.indexOf(family));
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        p.halfPoints = std::clamp(int(std::lround(f.fontPointSize() * 2)), 1, kMaxHalfPoints);
    else if (f.hasProperty(QTextFormat::FontPixelSize) && f.intProperty(QTextFormat::FontPixelSize) > 0)
        p.halfPoints = std::clamp(int(std::lround(f.intProperty(QTextFormat::FontPixelSize) * 1.5)), 1,
                                  kMaxHalfPoints); // 96 pixels per 72 points
    p.bold = f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold;
    p.italic = f.fontItalic();
    p.underline = f.fontUnderline();
    p.strike = f.fontStrikeOut();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p.valign = 1;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p.valign = -1;
    if (hasBrush(f, QTextFormat::ForegroundBrush))
        p.fg = int(colors_.indexOf(f.foreground().color().rgb())) + 1;
    if (hasBrush(f, QTextFormat::BackgroundBrush))
        p.bg = int(colors_.indexOf(f.background().color().rgb())) + 1;
    return p;
}

void Writer::switchTo(const RunProps &t)
{
    RunProps &c = current_;
    if (t == c)
        return;
    // Going back to the document's font or size has no word of its own.
    if ((c.font >= 0 && t.font < 0) || (c.halfPoints > 0 && t.halfPoints < 0)) {
        word("plain");
        c = RunProps{};
    }
    if (t.font != c.font)
        word("f", t.font);
    if (t.halfPoints != c.halfPoints)
        word("fs", t.halfPoints);
    if (t.bold != c.bold)
        word(t.bold ? "b" : "b0");
    if (t.italic != c.italic)
        word(t.italic ? "i" : "i0");
    if (t.underline != c.underline)
        word(t.underline ? "ul" : "ulnone");
    if (t.strike != c.strike)
        word(t.strike ? "strike" : "strike0");
    if (t.valign != c.valign)
        word(t.valign > 0 ? "super" : t.valign < 0 ? "sub" : "nosupersub");
    if (t.fg != c.fg)
        word("cf", t.fg);
    if (t.bg != c.bg)
        word("highlight", t.bg);
    c = t;
}

void Writer::paragraphStart(const QTextBlock &block)
{
    const QTextBlockFormat f = block.blockFormat();
    word("pard");
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        word("qc");
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        word("qr");
    else if (align & Qt::AlignJustify)
        word("qj");
    const double left = f.leftMargin() + f.indent() * doc_.indentWidth();
    if (const int v = twips(left))
        word("li", v);
    if (const int v = twips(f.rightMargin()))
        word("ri", v);
    if (const int v = twips(f.textIndent()))
        word("fi", v);
    if (const int v = std::max(0, twips(f.topMargin())))
        word("sb", v);
    if (const int v = std::max(0, twips(f.bottomMargin())))
        word("sa", v);
    // A list item keeps its marker as text, the way rich edit writes it for
    // readers without lists.
    if (QTextList *list = block.textList()) {
        QString marker = list->itemText(block);
        if (marker.isEmpty())
            marker = QString(QChar(0x2022));
        out_ += "{";
        word("pntext");
        text(marker);
        word("tab");
        out_ += "}";
        delimit_ = false;
    }
}

void Writer::text(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x80) {
            switch (c) {
            case '\\':
            case '{':
            case '}':
                out_ += '\\';
                out_ += char(c);
                delimit_ = false;
                continue;
            case '\t':
                word("tab");
                continue;
            case '\n':
            case '\r':
                word("line");
                continue;
            default:
                if (c < 0x20)
                    continue; // control characters have no place in the text
                if (delimit_)
                    out_ += ' ';
                out_ += char(c);
                delimit_ = false;
                continue;
            }
        }
        switch (c) {
        case 0x2028:
        case 0x2029:
            word("line");
            continue;
        case 0x00A0: out_ += "\\~"; delimit_ = false; continue;
        case 0x00AD: out_ += "\\-"; delimit_ = false; continue;
        case 0x2011: out_ += "\\_"; delimit_ = false; continue;
        default: break;
        }
        if (QChar::isSurrogate(c)) {
            unicode(c); // each half of a pair on its own, as rich edit does
            continue;
        }
        const QByteArray bytes = gbkBytes(c);
        if (bytes.isEmpty()) {
            unicode(c);
        } else {
            for (char b : bytes)
                hexByte(uchar(b));
        }
    }
}

void Writer::picture(const QTextImageFormat &format)
{
    const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    QByteArray png;
    switch (resource.typeId()) {
    case QMetaType::QImage:
        image = resource.value<QImage>();
        break;
    case QMetaType::QPixmap:
        image = resource.value<QPixmap>().toImage();
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = resource.toByteArray();
        image = QImage::fromData(bytes);
        if (bytes.startsWith("\x89PNG"))
            png = bytes;
        break;
    }
    default:
        break;
    }
    if (image.isNull())
        return; // nothing to show, nothing to write
    if (png.isEmpty()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }

    // The shown size: the format's, else the picture's own.
    double w = format.hasProperty(QTextFormat::ImageWidth) ? format.width() : 0;
    double h = format.hasProperty(QTextFormat::ImageHeight) ? format.height() : 0;
    if (w <= 0 && h <= 0) {
        w = image.width();
        h = image.height();
    } else if (w <= 0) {
        w = h * image.width() / std::max(1, image.height());
    } else if (h <= 0) {
        h = w * image.height() / std::max(1, image.width());
    }

    out_ += "{";
    word("pict");
    word("pngblip");
    word("picw", image.width());
    word("pich", image.height());
    word("picwgoal", std::max(1, int(std::lround(w * kTwipsPerPixel))));
    word("pichgoal", std::max(1, int(std::lround(h * kTwipsPerPixel))));
    out_ += "\r\n";
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < png.size(); ++i) {
        const uchar b = uchar(png[i]);
        out_ += digits[b >> 4];
        out_ += digits[b & 15];
        if (i % 64 == 63)
            out_ += "\r\n";
    }
    out_ += "}";
    delimit_ = false;
}

void Writer::word(const char *w)
{
    out_ += '\\';
    out_ += w;
    delimit_ = true;
}

void Writer::word(const char *w, int n)
{
    out_ += '\\';
    out_ += w;
    out_ += QByteArray::number(n);
    delimit_ = true;
}

void Writer::hexByte(uchar b)
{
    static const char digits[] = "0123456789abcdef";
    out_ += "\\'";
    out_ += digits[b >> 4];
    out_ += digits[b & 15];
    delimit_ = false;
}

// \uN with "?" for readers that do not know it (\uc1 is in force).
void Writer::unicode(char16_t c)
{
    out_ += "\\u";
    out_ += QByteArray::number(int(c) > 32767 ? int(c) - 65536 : int(c));
    out_ += '?';
    delimit_ = false;
}

// The GBK bytes of a character, or nothing when GBK has none that read back
// as the same character.
QByteArray Writer::gbkBytes(char16_t c)
{
    const auto cached = gbkCache_.constFind(c);
    if (cached != gbkCache_.constEnd())
        return *cached;
    const QChar ch(c);
    encoder_.resetState();
    QByteArray bytes = encoder_.encode(QStringView(&ch, 1));
    bool ok = !encoder_.hasError() && !bytes.isEmpty();
    if (ok) {
        decoder_.resetState();
        const QString back = decoder_.decode(bytes);
        ok = !decoder_.hasError() && back.size() == 1 && back.at(0) == ch;
    }
    if (!ok)
        bytes.clear();
    gbkCache_.insert(c, bytes);
    return bytes;
}

} // namespace

QByteArray write(const QTextDocument &doc)
{
    return Writer(doc).run();
}

} // namespace richtext::rtf
