// Windows code pages and RTF character sets as the text codecs Qt offers.
// Stored rich text is Chinese (GBK); other code pages turn up in text pasted
// from elsewhere and are read as well as the installed codecs allow.
#include "platform/RtfEngine.h"

#include <QStringConverter>

#include <vector>

namespace richtext::rtf {

namespace {

bool codecAvailable(const char *name)
{
    return QStringDecoder(name).isValid() && QStringEncoder(name).isValid();
}

} // namespace

const char *gbkCodec()
{
    // Qt converts GBK through ICU; a build without it may still know GB18030,
    // which is a superset.  Latin-1 is the last resort: wrong characters
    // rather than none.
    static const char *const name = codecAvailable("GBK")       ? "GBK"
                                    : codecAvailable("GB18030") ? "GB18030"
                                                                : "ISO-8859-1";
    return name;
}

const char *codecForCodePage(int codePage)
{
    struct Entry
    {
        int codePage;
        const char *name;
    };
    static const Entry wanted[] = {
        {950, "Big5"},          {932, "Shift_JIS"},     {949, "windows-949"},
        {874, "windows-874"},   {1250, "windows-1250"}, {1251, "windows-1251"},
        {1252, "windows-1252"}, {1253, "windows-1253"}, {1254, "windows-1254"},
        {1255, "windows-1255"}, {1256, "windows-1256"}, {1257, "windows-1257"},
        {1258, "windows-1258"}, {437, "IBM437"},        {850, "IBM850"},
        {10000, "macintosh"},
    };
    // Which of them the installed Qt converts is asked once.
    static const std::vector<Entry> available = [] {
        std::vector<Entry> list;
        for (const Entry &e : wanted)
            if (codecAvailable(e.name))
                list.push_back(e);
        return list;
    }();
    static const char *const western = codecAvailable("windows-1252") ? "windows-1252" : "ISO-8859-1";

    if (codePage == 936)
        return gbkCodec();
    for (const Entry &e : available)
        if (e.codePage == codePage)
            return e.name;
    // Code pages Qt cannot convert are read as the Western one: at least the
    // ASCII part comes out right.
    return western;
}

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;    // ANSI
    case 77: return 10000;  // Mac Roman
    case 128: return 932;   // Shift-JIS
    case 129: return 949;   // Hangul
    case 134: return 936;   // GB2312 / GBK
    case 136: return 950;   // Big5
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 163: return 1258;  // Vietnamese
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Cyrillic
    case 222: return 874;   // Thai
    case 238: return 1250;  // Eastern European
    case 255: return 437;   // OEM
    default: return 0;      // default (1), symbol (2) and unknown sets
    }
}

} // namespace richtext::rtf
