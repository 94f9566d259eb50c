// Reads the RTF that Windows rich-edit controls write (question bodies,
// materials, explanations and key-point texts of the bank) into a
// QTextDocument: text in the code page of its font (GBK for Chinese),
// \uN characters, fonts, sizes, colours, bold/italic/underline, paragraph
// alignment and indents, line breaks and PNG/JPEG pictures.  Everything else
// is skipped.  The reader walks the bytes once, keeps group states on an
// explicit stack and never recurses, so damaged or hostile input cannot
// crash it or make it loop.
#include "platform/RtfEngine.h"

#include <QBuffer>
#include <QtEndian>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace richtext::rtf {

namespace {

// Groups nested deeper than this share the state of the deepest kept group;
// real documents stay far below it.
constexpr int kMaxDepth = 256;
// Limits that keep absurd values from reaching the layout.
constexpr int kMaxHalfPoints = 3276; // 1638 pt, the largest size rich edit offers
constexpr int kMaxTwips = 31680;     // 22 inches
constexpr double kTwipsPerPixel = 15.0; // 1440 twips per inch at 96 pixels per inch
constexpr double kMaxPictureSide = 20000.0;

enum class Dest : quint8 { Text, Skip, FontTable, ColorTable, Picture };

enum class Kw : quint8 {
    Unknown,
    // destinations
    FontTable, ColorTable, Pict, SkipGroup, Keep,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U,
    // font table
    F, FCharset, Cpg,
    // colour table
    Red, Green, Blue,
    // character formatting
    Plain, Fs, B, I, Ul, UlNone, Strike, Cf, Cb, Super, Sub, NoSuperSub, Hidden,
    // paragraph formatting
    Pard, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa,
    // breaks and special characters
    Par, Line, Tab, Char,
    // pictures
    PngBlip, JpegBlip, DibBlip, OtherBlip, PicWGoal, PicHGoal, PicScaleX, PicScaleY,
};

struct KwInfo
{
    Kw kw = Kw::Unknown;
    char16_t ch = 0;
};

using KeywordMap = std::unordered_map<std::string_view, KwInfo>;

const KeywordMap &keywords()
{
    static const KeywordMap map = [] {
        KeywordMap m;
        auto add = [&m](std::initializer_list<const char *> words, Kw kw, char16_t ch = 0) {
            for (const char *w : words)
                m.emplace(std::string_view(w), KwInfo{kw, ch});
        };
        add({"fonttbl"}, Kw::FontTable);
        add({"colortbl"}, Kw::ColorTable);
        add({"pict"}, Kw::Pict);
        // Groups whose text is shown although a \* may precede them: the
        // picture holder of newer writers, field results, list markers.
        // An embedded object shows its \result, the picture it was last drawn as.
        add({"rtf", "shppict", "field", "fldrslt", "pntext", "listtext", "upr", "object", "result"},
            Kw::Keep);
        // Groups that never show text in this program.
        add({"stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer",
             "footerl", "footerr", "footerf", "footnote", "annotation", "atnauthor", "atnid",
             "atndate", "atnref", "atrfstart", "atrfend", "pn", "pnseclvl", "pntxta", "pntxtb",
             "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl",
             "mmathPr", "themedata", "colorschememapping", "latentstyles", "datastore",
             "fldinst", "objdata", "objclass", "objname", "objalias", "objsect", "objtime", "nonshppict",
             "bkmkstart", "bkmkend", "template", "filetbl", "private", "pgdsctbl", "txe", "xe",
             "tc", "tcn", "comment", "title", "subject", "author", "operator", "keywords",
             "doccomm", "company", "category", "manager", "hlinkbase", "userprops", "docvar",
             "shpinst", "shptxt", "sp", "sn", "sv", "do", "ftnsep", "ftnsepc", "ftncn",
             "aftnsep", "aftnsepc", "aftncn", "blipuid", "picprop", "fchars", "lchars", "pgp",
             "ud", "panose", "falt", "listpicture", "nonesttables", "wgrffmtfilter",
             "passwordhash", "protusertbl", "fontemb", "fontfile", "fldtype", "formfield"},
            Kw::SkipGroup);
        add({"ansi"}, Kw::Ansi);
        add({"mac"}, Kw::Mac);
        add({"pc"}, Kw::Pc);
        add({"pca"}, Kw::Pca);
        add({"ansicpg"}, Kw::AnsiCpg);
        add({"deff"}, Kw::Deff);
        add({"uc"}, Kw::Uc);
        add({"u"}, Kw::U);
        add({"f"}, Kw::F);
        add({"fcharset"}, Kw::FCharset);
        add({"cpg"}, Kw::Cpg);
        add({"red"}, Kw::Red);
        add({"green"}, Kw::Green);
        add({"blue"}, Kw::Blue);
        add({"plain"}, Kw::Plain);
        add({"fs"}, Kw::Fs);
        add({"b"}, Kw::B);
        add({"i"}, Kw::I);
        add({"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
             "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave",
             "ulw", "ulwave"},
            Kw::Ul);
        add({"ulnone"}, Kw::UlNone);
        add({"strike", "striked"}, Kw::Strike);
        add({"cf"}, Kw::Cf);
        add({"cb", "highlight", "chcbpat"}, Kw::Cb);
        add({"super"}, Kw::Super);
        add({"sub"}, Kw::Sub);
        add({"nosupersub"}, Kw::NoSuperSub);
        add({"v"}, Kw::Hidden);
        add({"pard"}, Kw::Pard);
        add({"ql"}, Kw::Ql);
        add({"qc"}, Kw::Qc);
        add({"qr"}, Kw::Qr);
        add({"qj", "qd"}, Kw::Qj);
        add({"li", "lin"}, Kw::Li);
        add({"ri", "rin"}, Kw::Ri);
        add({"fi"}, Kw::Fi);
        add({"sb"}, Kw::Sb);
        add({"sa"}, Kw::Sa);
        // Tables are not laid out: a row ends a paragraph, cells are
        // separated by tabs.  Page and section breaks end a paragraph.
        add({"par", "row", "nestrow", "page", "sect"}, Kw::Par);
        add({"line", "softline"}, Kw::Line);
        add({"tab", "cell", "nestcell"}, Kw::Tab);
        add({"emdash"}, Kw::Char, u'\u2014');
        add({"endash"}, Kw::Char, u'\u2013');
        add({"emspace"}, Kw::Char, u'\u2003');
        add({"enspace"}, Kw::Char, u'\u2002');
        add({"qmspace"}, Kw::Char, u'\u2005');
        add({"bullet"}, Kw::Char, u'\u2022');
        add({"lquote"}, Kw::Char, u'\u2018');
        add({"rquote"}, Kw::Char, u'\u2019');
        add({"ldblquote"}, Kw::Char, u'\u201C');
        add({"rdblquote"}, Kw::Char, u'\u201D');
        add({"zwj"}, Kw::Char, u'\u200D');
        add({"zwnj"}, Kw::Char, u'\u200C');
        add({"zwbo"}, Kw::Char, u'\u200B');
        add({"ltrmark"}, Kw::Char, u'\u200E');
        add({"rtlmark"}, Kw::Char, u'\u200F');
        add({"pngblip"}, Kw::PngBlip);
        add({"jpegblip"}, Kw::JpegBlip);
        add({"dibitmap"}, Kw::DibBlip);
        add({"emfblip", "wmetafile", "macpict", "pmmetafile", "wbitmap"}, Kw::OtherBlip);
        add({"picwgoal"}, Kw::PicWGoal);
        add({"pichgoal"}, Kw::PicHGoal);
        add({"picscalex"}, Kw::PicScaleX);
        add({"picscaley"}, Kw::PicScaleY);
        return m;
    }();
    return map;
}

struct CharProps
{
    int font = -1;       // \fN; -1: none named, the text keeps the document's font
    int halfPoints = -1; // \fsN; -1: none named
    int fg = -1;         // \cfN; -1: none named (entry 0 is usually "auto")
    int bg = -1;         // \highlightN / \cbN
    qint8 valign = 0;    // 1 superscript, -1 subscript
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharProps &) const = default;
};

struct ParaProps
{
    int align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    bool operator==(const ParaProps &) const = default;
};

struct State
{
    Dest dest = Dest::Text;
    int uc = 1; // fallback characters after \uN
    CharProps chr;
    ParaProps para;
};

struct FontEntry
{
    QString name;
    int charset = -1;
    int codePage = 0; // \cpgN
};

struct ColorEntry
{
    QColor color;
    bool automatic = true;
};

enum class PictKind { Unknown, Png, Jpeg, Dib, Other };

struct Picture
{
    QByteArray data;
    PictKind kind = PictKind::Unknown;
    int goalW = 0, goalH = 0;       // twips
    int scaleX = 100, scaleY = 100; // percent
    int nibble = -1;                // first half of a hex byte still waiting
};

inline bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A device-independent bitmap as rich edit stores pasted pictures is a BMP
// file without its 14-byte file header; with the header put back, Qt's BMP
// reader takes it.  Returns nothing when the bitmap header does not add up.
QByteArray bmpFromDib(const QByteArray &dib)
{
    const auto *d = reinterpret_cast<const uchar *>(dib.constData());
    const qint64 size = dib.size();
    if (size < 12)
        return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(d);
    if (headerSize < 12 || headerSize > size)
        return {};
    qint64 palette = 0;
    if (headerSize == 12) { // OS/2 header: three-byte palette entries
        const int bits = qFromLittleEndian<quint16>(d + 10);
        palette = bits <= 8 ? (qint64(1) << bits) * 3 : 0;
    } else {
        if (headerSize < 36)
            return {};
        const int bits = qFromLittleEndian<quint16>(d + 14);
        const quint32 compression = qFromLittleEndian<quint32>(d + 16);
        const quint32 used = qFromLittleEndian<quint32>(d + 32);
        palette = (used ? qint64(used) : bits <= 8 ? (qint64(1) << bits) : 0) * 4;
        if (headerSize == 40 && (compression == 3 || compression == 6)) // colour masks follow
            palette += compression == 3 ? 12 : 16;
    }
    const qint64 offset = 14 + qint64(headerSize) + palette;
    if (offset > 14 + size)
        return {};
    QByteArray bmp(14, '\0');
    auto *h = reinterpret_cast<uchar *>(bmp.data());
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + size), h + 2);
    qToLittleEndian<quint32>(quint32(offset), h + 10);
    return bmp + dib;
}

// Bytes that end a run of plain text.
inline bool isSpecial(char c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0'; }

class Reader
{
public:
    Reader(QTextDocument &doc, const ReadOptions &options)
        : doc_(doc), cursor_(&doc), options_(options)
    {
        stack_.reserve(32);
        stack_.emplace_back();
    }

    void run(const QByteArray &data);

private:
    State &top() { return stack_.back(); }

    const char *escape(const char *p, const char *end);
    const char *binary(const char *p, const char *end, int length);
    void openGroup();
    bool closeGroup();
    void popState();
    void controlWord(std::string_view word, bool hasParam, int param);
    void textWord(const KwInfo &info, bool hasParam, int param);
    void controlSymbol(char c);
    void textBytes(const char *p, qsizetype n);
    void addBytes(const char *p, qsizetype n);
    void finish();

    int codePageOfFont(int font) const;
    QStringDecoder &decoder(const char *codec);
    void flushBytes();
    void appendText(QStringView text);
    void appendChar(char16_t c);
    void materializeParagraph();
    void flushRun();
    void endParagraph();
    QTextCharFormat charFormat(const CharProps &c) const;
    static QTextBlockFormat blockFormat(const ParaProps &p);

    void finishFontName();
    void finishPicture();

    QTextDocument &doc_;
    QTextCursor cursor_;
    ReadOptions options_;

    std::vector<State> stack_;
    int skipDepth_ = 0;     // groups opened inside a skipped group
    int overflowDepth_ = 0; // groups opened beyond kMaxDepth
    int ucPending_ = 0;     // fallback characters of the last \uN still to drop
    bool starPending_ = false;

    int ansiCodePage_ = 1252;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    int currentFont_ = -1;
    QByteArray fontNameBytes_;
    QString fontNameText_;
    std::vector<ColorEntry> colors_;
    ColorEntry currentColor_;
    Picture picture_;
    int pictureCount_ = 0;

    QByteArray pendingBytes_;
    const char *pendingCodec_ = nullptr;
    std::vector<std::pair<const char *, QStringDecoder>> decoders_;

    QString run_;
    CharProps runProps_;
    bool pendingParagraph_ = false;
    bool textSinceParagraph_ = false;
    ParaProps lastTextPara_;
};

void Reader::run(const QByteArray &data)
{
    const char *p = data.constData();
    const char *const end = p + data.size();
    while (p < end) {
        switch (*p) {
        case '{':
            ++p;
            openGroup();
            break;
        case '}':
            ++p;
            if (closeGroup()) {
                // The document's group is closed; rich edit appends line
                // ends and a NUL.  Anything else after it is still read.
                const char *q = p;
                while (q < end && (*q == '\r' || *q == '\n' || *q == ' ' || *q == '\t' || *q == '\0'))
                    ++q;
                if (q == end)
                    p = end;
            }
            break;
        case '\\':
            p = escape(p + 1, end);
            break;
        case '\r':
        case '\n':
        case '\0':
            ++p;
            break;
        default: {
            const char *q = p + 1;
            while (q < end && !isSpecial(*q))
                ++q;
            textBytes(p, q - p);
            p = q;
            break;
        }
        }
    }
    finish();
}

const char *Reader::escape(const char *p, const char *end)
{
    if (p >= end)
        return end;
    const char c = *p;
    if (isAlpha(c)) {
        const char *w = p;
        while (p < end && isAlpha(*p))
            ++p;
        // Keywords are short; a longer one is unknown whatever it says.
        const std::string_view word = (p - w) <= 32 ? std::string_view(w, size_t(p - w)) : std::string_view();
        bool negative = false;
        bool hasParam = false;
        qint64 value = 0;
        if (p + 1 < end && *p == '-' && isDigit(p[1])) {
            negative = true;
            ++p;
        }
        while (p < end && isDigit(*p)) {
            hasParam = true;
            if (value < 10000000000LL)
                value = value * 10 + (*p - '0');
            ++p;
        }
        if (p < end && *p == ' ')
            ++p;
        value = std::min<qint64>(value, 2147483647);
        const int param = int(negative ? -value : value);
        if (word == "bin")
            return binary(p, end, hasParam ? param : 0);
        controlWord(word, hasParam, param);
        return p;
    }
    if (c == '\'') {
        ++p;
        const int hi = p < end ? hexValue(*p) : -1;
        if (hi < 0)
            return p; // "\'" without a hex digit: nothing to read
        ++p;
        const int lo = p < end ? hexValue(*p) : -1;
        if (lo < 0)
            return p; // half a byte: dropped
        ++p;
        if (top().dest == Dest::Skip)
            return p;
        starPending_ = false;
        if (ucPending_ > 0) {
            --ucPending_;
            return p;
        }
        const char byte = char(hi * 16 + lo);
        addBytes(&byte, 1);
        return p;
    }
    controlSymbol(c);
    return p + 1;
}

// \binN: N raw bytes follow, whatever they look like.
const char *Reader::binary(const char *p, const char *end, int length)
{
    const qsizetype n = std::clamp<qsizetype>(length, 0, end - p);
    if (top().dest == Dest::Picture) {
        picture_.data.append(p, n);
        picture_.nibble = -1;
    }
    starPending_ = false;
    return p + n;
}

void Reader::openGroup()
{
    flushBytes();
    ucPending_ = 0;
    starPending_ = false;
    if (top().dest == Dest::Skip) {
        ++skipDepth_;
        return;
    }
    if (int(stack_.size()) >= kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.push_back(stack_.back());
}

// Returns true when the group of the whole document has just closed.
bool Reader::closeGroup()
{
    flushBytes();
    ucPending_ = 0;
    starPending_ = false;
    if (skipDepth_ > 0) {
        --skipDepth_;
        return false;
    }
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return false;
    }
    if (stack_.size() <= 1)
        return false; // a '}' without its '{' is ignored
    popState();
    return stack_.size() == 1;
}

void Reader::popState()
{
    const Dest closed = stack_.back().dest;
    stack_.pop_back();
    const Dest now = stack_.back().dest;
    if (closed == Dest::FontTable)
        finishFontName();
    else if (closed == Dest::Picture && now != Dest::Picture)
        finishPicture();
}

void Reader::controlWord(std::string_view word, bool hasParam, int param)
{
    State &s = top();
    if (s.dest == Dest::Skip)
        return;
    const bool star = std::exchange(starPending_, false);
    if (ucPending_ > 0) {
        --ucPending_;
        return;
    }
    const KeywordMap &map = keywords();
    const auto it = map.find(word);
    const KwInfo info = it == map.end() ? KwInfo{} : it->second;

    // Destinations belong to a group; outside every group (damaged input)
    // they would swallow the rest of the text.
    const bool destination = info.kw == Kw::FontTable || info.kw == Kw::ColorTable || info.kw == Kw::Pict
                             || info.kw == Kw::SkipGroup || (star && info.kw != Kw::Keep);
    if (destination && stack_.size() <= 1)
        return;
    // "{\*\name ...}": a group that readers who do not know "name" skip.
    if (star && info.kw != Kw::Keep && info.kw != Kw::FontTable && info.kw != Kw::ColorTable
        && info.kw != Kw::Pict) {
        flushBytes();
        s.dest = Dest::Skip;
        return;
    }

    switch (info.kw) {
    case Kw::Unknown:
        return;
    case Kw::FontTable:
        flushBytes();
        s.dest = Dest::FontTable;
        currentFont_ = -1;
        fontNameBytes_.clear();
        fontNameText_.clear();
        return;
    case Kw::ColorTable:
        flushBytes();
        s.dest = Dest::ColorTable;
        colors_.clear();
        currentColor_ = ColorEntry{};
        return;
    case Kw::Pict:
        flushBytes();
        s.dest = Dest::Picture;
        picture_ = Picture{};
        return;
    case Kw::SkipGroup:
        flushBytes();
        s.dest = Dest::Skip;
        return;
    case Kw::Keep:
        return;
    case Kw::Ansi: ansiCodePage_ = 1252; return;
    case Kw::Mac: ansiCodePage_ = 10000; return;
    case Kw::Pc: ansiCodePage_ = 437; return;
    case Kw::Pca: ansiCodePage_ = 850; return;
    case Kw::AnsiCpg:
        if (hasParam)
            ansiCodePage_ = param;
        return;
    case Kw::Deff:
        if (hasParam)
            defaultFont_ = param;
        return;
    case Kw::Uc:
        s.uc = std::clamp(hasParam ? param : 1, 0, 16);
        return;
    default:
        break;
    }

    switch (s.dest) {
    case Dest::Text:
        textWord(info, hasParam, param);
        return;
    case Dest::FontTable:
        switch (info.kw) {
        case Kw::F:
            finishFontName();
            currentFont_ = hasParam ? param : 0;
            fonts_[currentFont_];
            return;
        case Kw::FCharset:
            if (currentFont_ >= 0)
                fonts_[currentFont_].charset = param;
            return;
        case Kw::Cpg:
            if (currentFont_ >= 0)
                fonts_[currentFont_].codePage = param;
            return;
        case Kw::U:
            if (hasParam) {
                // The bytes before it are in the font's code page; decode
                // them now so the order is kept.
                const FontEntry *font = fonts_.count(currentFont_) ? &fonts_[currentFont_] : nullptr;
                int cp = font ? (font->codePage ? font->codePage : codePageForCharset(font->charset)) : 0;
                if (!fontNameBytes_.isEmpty())
                    fontNameText_ += decoder(codecForCodePage(cp ? cp : ansiCodePage_)).decode(fontNameBytes_);
                fontNameBytes_.clear();
                if (param >= -32768 && param <= 65535)
                    fontNameText_ += QChar(char16_t(param < 0 ? param + 65536 : param));
                ucPending_ = s.uc;
            }
            return;
        default:
            return;
        }
    case Dest::ColorTable:
        switch (info.kw) {
        case Kw::Red:
            currentColor_.color.setRed(std::clamp(param, 0, 255));
            currentColor_.automatic = false;
            return;
        case Kw::Green:
            currentColor_.color.setGreen(std::clamp(param, 0, 255));
            currentColor_.automatic = false;
            return;
        case Kw::Blue:
            currentColor_.color.setBlue(std::clamp(param, 0, 255));
            currentColor_.automatic = false;
            return;
        default:
            return;
        }
    case Dest::Picture:
        switch (info.kw) {
        case Kw::PngBlip: picture_.kind = PictKind::Png; return;
        case Kw::JpegBlip: picture_.kind = PictKind::Jpeg; return;
        case Kw::DibBlip: picture_.kind = PictKind::Dib; return;
        case Kw::OtherBlip: picture_.kind = PictKind::Other; return;
        case Kw::PicWGoal: picture_.goalW = std::clamp(param, 0, kMaxTwips * 20); return;
        case Kw::PicHGoal: picture_.goalH = std::clamp(param, 0, kMaxTwips * 20); return;
        case Kw::PicScaleX: picture_.scaleX = std::clamp(param, 1, 10000); return;
        case Kw::PicScaleY: picture_.scaleY = std::clamp(param, 1, 10000); return;
        case Kw::U: ucPending_ = s.uc; return;
        default: return;
        }
    case Dest::Skip:
        return;
    }
}

// A control word met in shown text.
void Reader::textWord(const KwInfo &info, bool hasParam, int param)
{
    State &s = top();
    // Bytes collected so far belong to the formatting before this word.
    flushBytes();
    const bool on = !hasParam || param != 0;
    CharProps &c = s.chr;
    ParaProps &p = s.para;
    switch (info.kw) {
    case Kw::U:
        if (hasParam) {
            // A value outside 16 bits is damage: no character, but its
            // fallback is still skipped.
            if (param >= -32768 && param <= 65535)
                appendChar(char16_t(param < 0 ? param + 65536 : param));
            ucPending_ = s.uc;
        }
        return;
    case Kw::Plain: c = CharProps{}; return;
    case Kw::F: c.font = hasParam ? param : 0; return;
    case Kw::Fs: c.halfPoints = hasParam && param > 0 ? std::min(param, kMaxHalfPoints) : -1; return;
    case Kw::B: c.bold = on; return;
    case Kw::I: c.italic = on; return;
    case Kw::Ul: c.underline = on; return;
    case Kw::UlNone: c.underline = false; return;
    case Kw::Strike: c.strike = on; return;
    case Kw::Cf: c.fg = hasParam ? std::max(param, 0) : 0; return;
    case Kw::Cb: c.bg = hasParam ? std::max(param, 0) : 0; return;
    case Kw::Super: c.valign = on ? 1 : 0; return;
    case Kw::Sub: c.valign = on ? -1 : 0; return;
    case Kw::NoSuperSub: c.valign = 0; return;
    case Kw::Hidden: c.hidden = on; return;
    case Kw::Pard: p = ParaProps{}; return;
    case Kw::Ql: p.align = 0; return;
    case Kw::Qc: p.align = 1; return;
    case Kw::Qr: p.align = 2; return;
    case Kw::Qj: p.align = 3; return;
    case Kw::Li: p.left = std::clamp(param, -kMaxTwips, kMaxTwips); return;
    case Kw::Ri: p.right = std::clamp(param, -kMaxTwips, kMaxTwips); return;
    case Kw::Fi: p.first = std::clamp(param, -kMaxTwips, kMaxTwips); return;
    case Kw::Sb: p.before = std::clamp(param, 0, kMaxTwips); return;
    case Kw::Sa: p.after = std::clamp(param, 0, kMaxTwips); return;
    case Kw::Par: endParagraph(); return;
    case Kw::Line: appendChar(QChar::LineSeparator); return;
    case Kw::Tab: appendChar(u'\t'); return;
    case Kw::Char: appendChar(info.ch); return;
    default: return;
    }
}

void Reader::controlSymbol(char c)
{
    if (top().dest == Dest::Skip)
        return;
    if (c == '*') {
        starPending_ = true;
        return;
    }
    starPending_ = false;
    if (ucPending_ > 0) {
        --ucPending_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        addBytes(&c, 1);
        return;
    default:
        break;
    }
    if (top().dest != Dest::Text)
        return;
    switch (c) {
    case '~': appendChar(u'\u00A0'); return;
    case '-': appendChar(u'\u00AD'); return;
    case '_': appendChar(u'\u2011'); return;
    case '\t': appendChar(u'\t'); return;
    case '\r':
    case '\n':
        // A backslash before a line end is an old way of writing \par.
        flushBytes();
        endParagraph();
        return;
    default:
        return; // \: \| and unknown symbols
    }
}

// Plain bytes of the RTF: text, font names, colour separators or picture hex.
void Reader::textBytes(const char *p, qsizetype n)
{
    const Dest dest = top().dest;
    if (dest == Dest::Skip)
        return;
    starPending_ = false;
    if (ucPending_ > 0) {
        const qsizetype dropped = std::min<qsizetype>(ucPending_, n);
        ucPending_ -= int(dropped);
        p += dropped;
        n -= dropped;
        if (n == 0)
            return;
    }
    switch (dest) {
    case Dest::FontTable:
        for (qsizetype i = 0; i < n; ++i) {
            if (p[i] == ';')
                finishFontName();
            else
                fontNameBytes_.append(p[i]);
        }
        return;
    case Dest::ColorTable:
        for (qsizetype i = 0; i < n; ++i) {
            if (p[i] == ';') {
                colors_.push_back(currentColor_);
                currentColor_ = ColorEntry{};
            }
        }
        return;
    case Dest::Picture:
        for (qsizetype i = 0; i < n; ++i) {
            const int v = hexValue(p[i]);
            if (v < 0)
                continue;
            if (picture_.nibble < 0) {
                picture_.nibble = v;
            } else {
                picture_.data.append(char(picture_.nibble * 16 + v));
                picture_.nibble = -1;
            }
        }
        return;
    default:
        addBytes(p, n);
        return;
    }
}

// Bytes of text in the current font's code page (plain or written as \'hh).
void Reader::addBytes(const char *p, qsizetype n)
{
    switch (top().dest) {
    case Dest::Text: {
        if (top().chr.hidden)
            return;
        const char *codec = codecForCodePage(codePageOfFont(top().chr.font));
        if (codec != pendingCodec_ && !pendingBytes_.isEmpty())
            flushBytes();
        pendingCodec_ = codec;
        pendingBytes_.append(p, n);
        return;
    }
    case Dest::FontTable:
        fontNameBytes_.append(p, n);
        return;
    default:
        return;
    }
}

int Reader::codePageOfFont(int font) const
{
    auto it = fonts_.find(font >= 0 ? font : defaultFont_);
    if (it != fonts_.end()) {
        if (it->second.codePage > 0)
            return it->second.codePage;
        if (const int cp = codePageForCharset(it->second.charset))
            return cp;
    }
    return ansiCodePage_;
}

QStringDecoder &Reader::decoder(const char *codec)
{
    for (auto &d : decoders_)
        if (d.first == codec)
            return d.second;
    decoders_.emplace_back(codec, QStringDecoder(codec, QStringConverter::Flag::Stateless));
    return decoders_.back().second;
}

void Reader::flushBytes()
{
    if (pendingBytes_.isEmpty())
        return;
    const QString text = decoder(pendingCodec_).decode(pendingBytes_);
    pendingBytes_.clear();
    appendText(text);
}

void Reader::appendText(QStringView text)
{
    if (top().chr.hidden || text.isEmpty())
        return;
    // Control characters and paragraph separators from \'hh or \uN would
    // split blocks behind the reader's back.
    const bool clean = std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x20 || c == u'\t') && c != QChar::ParagraphSeparator;
    });
    QString cleaned;
    if (!clean) {
        cleaned.reserve(text.size());
        for (QChar c : text) {
            if (c == QChar::ParagraphSeparator)
                cleaned += QChar(QChar::LineSeparator);
            else if (c.unicode() >= 0x20 || c == u'\t')
                cleaned += c;
        }
        text = cleaned;
        if (text.isEmpty())
            return;
    }
    materializeParagraph();
    if (run_.isEmpty()) {
        runProps_ = top().chr;
    } else if (!(runProps_ == top().chr)) {
        flushRun();
        runProps_ = top().chr;
    }
    run_ += text;
    textSinceParagraph_ = true;
    lastTextPara_ = top().para;
}

void Reader::appendChar(char16_t c)
{
    flushBytes();
    appendText(QStringView(&c, 1));
}

// A \par is only turned into a new block when something follows it: the
// paragraph mark that ends a rich-edit text does not add an empty line.
void Reader::materializeParagraph()
{
    if (!pendingParagraph_)
        return;
    flushRun();
    cursor_.insertBlock();
    pendingParagraph_ = false;
}

void Reader::flushRun()
{
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, charFormat(runProps_));
    run_.clear();
}

void Reader::endParagraph()
{
    materializeParagraph();
    flushRun();
    cursor_.setBlockFormat(blockFormat(top().para));
    // An empty line keeps its font so it is as high as it was written.
    if (cursor_.block().length() <= 1)
        cursor_.setBlockCharFormat(charFormat(top().chr));
    pendingParagraph_ = true;
    textSinceParagraph_ = false;
}

QTextCharFormat Reader::charFormat(const CharProps &c) const
{
    QTextCharFormat f;
    if (c.font >= 0) {
        const auto it = fonts_.find(c.font);
        if (it != fonts_.end() && !it->second.name.isEmpty())
            f.setFontFamilies(QStringList{it->second.name});
    }
    if (c.halfPoints > 0)
        f.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        f.setFontWeight(QFont::Bold);
    if (c.italic)
        f.setFontItalic(true);
    if (c.underline)
        f.setFontUnderline(true);
    if (c.strike)
        f.setFontStrikeOut(true);
    if (c.valign > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.valign < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (c.fg >= 0 && size_t(c.fg) < colors_.size() && !colors_[size_t(c.fg)].automatic)
        f.setForeground(colors_[size_t(c.fg)].color);
    if (c.bg >= 0 && size_t(c.bg) < colors_.size() && !colors_[size_t(c.bg)].automatic)
        f.setBackground(colors_[size_t(c.bg)].color);
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaProps &p)
{
    QTextBlockFormat f;
    switch (p.align) {
    case 1: f.setAlignment(Qt::AlignHCenter); break;
    case 2: f.setAlignment(Qt::AlignRight); break;
    case 3: f.setAlignment(Qt::AlignJustify); break;
    default: break;
    }
    if (p.left)
        f.setLeftMargin(p.left / kTwipsPerPixel);
    if (p.right)
        f.setRightMargin(p.right / kTwipsPerPixel);
    if (p.first)
        f.setTextIndent(p.first / kTwipsPerPixel);
    if (p.before)
        f.setTopMargin(p.before / kTwipsPerPixel);
    if (p.after)
        f.setBottomMargin(p.after / kTwipsPerPixel);
    return f;
}

void Reader::finishFontName()
{
    if (currentFont_ >= 0 && (!fontNameBytes_.isEmpty() || !fontNameText_.isEmpty())) {
        FontEntry &font = fonts_[currentFont_];
        const int cp = font.codePage ? font.codePage : codePageForCharset(font.charset);
        QString name = fontNameText_;
        if (!fontNameBytes_.isEmpty())
            name += decoder(codecForCodePage(cp ? cp : ansiCodePage_)).decode(fontNameBytes_);
        name = name.trimmed();
        if (!name.isEmpty())
            font.name = name;
    }
    fontNameBytes_.clear();
    fontNameText_.clear();
}

void Reader::finishPicture()
{
    Picture picture = std::exchange(picture_, Picture{});
    if (picture.data.isEmpty() || top().dest != Dest::Text || top().chr.hidden)
        return;
    // Metafiles have no reader here; such a picture is left out rather than
    // shown broken.
    if (picture.kind == PictKind::Dib)
        picture.data = bmpFromDib(picture.data);
    const QImage image = QImage::fromData(picture.data);
    if (image.isNull())
        return;

    QString name;
    if (options_.pictureDataUrls) {
        const bool png = picture.data.startsWith("\x89PNG");
        const bool jpeg = picture.data.startsWith("\xFF\xD8\xFF");
        QByteArray bytes = picture.data;
        if (!png && !jpeg) {
            bytes.clear();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
        name = QStringLiteral("data:image/") + (jpeg ? QStringLiteral("jpeg") : QStringLiteral("png"))
               + QStringLiteral(";base64,") + QString::fromLatin1(bytes.toBase64());
    } else {
        name = QStringLiteral("rtfpict%1").arg(++pictureCount_);
    }
    doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);

    QTextImageFormat format;
    format.setName(name);
    const bool sized = picture.goalW > 0 || picture.goalH > 0 || picture.scaleX != 100
                       || picture.scaleY != 100;
    if (sized) {
        double w = picture.goalW > 0 ? picture.goalW / kTwipsPerPixel : image.width();
        double h = picture.goalH > 0 ? picture.goalH / kTwipsPerPixel : image.height();
        w = std::min(w * picture.scaleX / 100.0, kMaxPictureSide);
        h = std::min(h * picture.scaleY / 100.0, kMaxPictureSide);
        format.setWidth(w);
        format.setHeight(h);
    }
    materializeParagraph();
    flushRun();
    cursor_.insertImage(format);
    textSinceParagraph_ = true;
    lastTextPara_ = top().para;
}

void Reader::finish()
{
    flushBytes();
    // The last paragraph often has no \par; it keeps the paragraph format its
    // text was written in (the group holding it may be closed by now).
    const ParaProps lastPara = textSinceParagraph_ ? lastTextPara_ : top().para;
    // A document cut short: close what is open, so a picture or font name
    // that was complete so far is still used.
    while (stack_.size() > 1)
        popState();
    if (top().dest == Dest::Picture)
        finishPicture();
    flushRun();
    // A \par still pending was the closing paragraph mark: no empty block.
    if (!pendingParagraph_)
        cursor_.setBlockFormat(blockFormat(lastPara));
}

} // namespace

void read(QTextDocument &doc, const QByteArray &data, const ReadOptions &options)
{
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        Reader reader(doc, options);
        QTextCursor batch(&doc);
        batch.beginEditBlock();
        reader.run(data);
        batch.endEditBlock();
    }
    doc.setUndoRedoEnabled(undo);
}

} // namespace richtext::rtf
