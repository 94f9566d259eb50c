// Turning imported texts into the bank's rich text.
#include "authoring/ImportText.h"

#include "platform/RichText.h"

#include <QImage>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextDocument>
#include <QUrl>

#include <cctype>
#include <cstring>
#include <vector>

namespace authoring {

namespace {

const QRegularExpression &scriptRe()
{
    static const QRegularExpression re(QStringLiteral("<script\\b.*?(</script\\s*>|$)"),
                                       QRegularExpression::CaseInsensitiveOption
                                           | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

bool neutralise(QString &html)
{
    bool found = false;
    QString out;
    qsizetype at = 0;
    for (auto it = scriptRe().globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        found = true;
        out += QStringView(html).mid(at, m.capturedStart() - at);
        out += QStringLiteral("<pre>") + m.captured(0).toHtmlEscaped() + QStringLiteral("</pre>");
        at = m.capturedEnd();
    }
    if (found)
        html = out + html.mid(at);
    return found;
}

// An option of an HTML question without the paragraph around it.
QString inlineHtml(QString s)
{
    s = s.trimmed();
    static const QRegularExpression para(QStringLiteral("^<p[^>]*>(.*)</p>$"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = para.match(s); m.hasMatch() && !m.captured(1).contains(QLatin1String("<p"), Qt::CaseInsensitive))
        return m.captured(1);
    return s;
}

// Pictures named "@@PLUGINFILE@@/name" in the HTML become resources of the
// document, so that they are stored with the text.
QString attachPictures(QTextDocument &doc, QString html, const QHash<QString, QByteArray> &pictures)
{
    int n = 0;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        QImage image;
        if (!image.loadFromData(it.value()))
            continue;
        const QString url = QStringLiteral("importpic%1.png").arg(++n);
        doc.addResource(QTextDocument::ImageResource, QUrl(url), image);
        for (const QString &name : {it.key(), QString::fromLatin1(QUrl::toPercentEncoding(it.key(), "/"))})
            html.replace(QStringLiteral("@@PLUGINFILE@@/") + name, url);
    }
    return html;
}

// The GBK bytes of a character when they read back as the same character,
// as the bank's RTF writes it (none when it has none).  Looked up once per
// character in a flat table: a file repeats its characters thousands of
// times.
struct GbkBytes {
    char bytes[4];
    quint8 size;   // 0: no bytes; Unknown: not looked up yet
    static constexpr quint8 Unknown = 0xFF;
};

const GbkBytes &gbkBytes(char16_t c)
{
    static const char *const codec = QStringEncoder("GBK").isValid() && QStringDecoder("GBK").isValid() ? "GBK"
                                                                                                        : "GB18030";
    static std::vector<GbkBytes> table(0x10000, GbkBytes{{0, 0, 0, 0}, GbkBytes::Unknown});
    GbkBytes &e = table[c];
    if (e.size != GbkBytes::Unknown)
        return e;
    // Fresh converters each time: a failed conversion leaves them in error.
    QStringEncoder encoder(codec, QStringConverter::Flag::Stateless);
    QStringDecoder decoder(codec, QStringConverter::Flag::Stateless);
    const QChar ch(c);
    const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
    bool ok = !encoder.hasError() && !bytes.isEmpty() && bytes.size() <= 4;
    if (ok) {
        const QString back = decoder.decode(bytes);
        ok = !decoder.hasError() && back.size() == 1 && back.at(0) == ch;
    }
    e.size = ok ? quint8(bytes.size()) : 0;
    for (qsizetype i = 0; ok && i < bytes.size(); ++i)
        e.bytes[i] = bytes[i];
    return e;
}

// Rich text of a text in its format; plain receives what a reader sees.
QByteArray toStored(const QString &text, TextFormat format, const QHash<QString, QByteArray> &pictures,
                    QString *plain)
{
    if (format == TextFormat::Plain) {
        if (plain)
            *plain = text;
        return plainRtf(text);
    }
    QTextDocument doc;
    if (format == TextFormat::Markdown)
        doc.setMarkdown(text);
    else
        doc.setHtml(attachPictures(doc, text, pictures));
    if (plain)
        *plain = doc.toPlainText();
    return richtext::toRtf(doc);
}

} // namespace

QString visibleText(const QString &text, TextFormat format)
{
    if (format == TextFormat::Plain)
        return text.trimmed();
    static const QRegularExpression tags(QStringLiteral("<(?!img)[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    QString s = text;
    s.remove(tags);
    s.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    return s.trimmed();
}

bool neutraliseScripts(ImportedQuestion &q)
{
    if (q.format != TextFormat::Html)
        return false;
    bool found = neutralise(q.body);
    found = neutralise(q.explanation) || found;
    for (QString &o : q.options)
        found = neutralise(o) || found;
    return found;
}

NewQuestion composeQuestion(const ImportedQuestion &q, const QString &typeCode, const QString &chapter, QString *plain)
{
    NewQuestion n;
    n.chapter = chapter;
    n.typeCode = typeCode;
    n.answer = q.answer;
    n.keyPoints = q.keyPoints;
    const bool choice = q.kind == ImportKind::Single || q.kind == ImportKind::Multiple;
    n.optionCount = choice ? int(q.options.size()) : q.kind == ImportKind::TrueFalse ? 2 : 1;
    n.optionText = QString::number(n.optionCount);
    QString body = q.body;
    if (choice) {
        for (int i = 0; i < q.options.size(); ++i) {
            if (q.format == TextFormat::Html)
                body += QStringLiteral("<p>") + optionLetter(i) + QStringLiteral(". ") + inlineHtml(q.options[i])
                        + QStringLiteral("</p>");
            else
                body += (q.format == TextFormat::Markdown ? QStringLiteral("\n\n") : QStringLiteral("\n"))
                        + optionLetter(i) + QStringLiteral(". ") + q.options[i];
        }
    }
    n.body = toStored(body, q.format, q.pictures, plain);
    n.hasExplanation = !visibleText(q.explanation, q.format).isEmpty();
    if (n.hasExplanation)
        n.explanation = toStored(q.explanation, q.format, q.pictures, nullptr);
    return n;
}

QByteArray plainRtf(const QString &text)
{
    // Characters that the document would turn into paragraphs or frames of
    // its own take the document's road.
    for (QChar c : text)
        if (c == u'\r' || c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1)
            return richtext::plainTextToRtf(text);
    static const QByteArray head = [] {
        const QByteArray probe = richtext::plainTextToRtf(QStringLiteral("x"));
        return probe.left(probe.indexOf("\\pard"));
    }();
    // Written straight into a buffer large enough for the longest form of
    // every character ("\\'xx" four times, or a paragraph's end and start).
    QByteArray out(head.size() + text.size() * 16 + 32, Qt::Uninitialized);
    char *w = out.data();
    std::memcpy(w, head.constData(), size_t(head.size()));
    w += head.size();
    bool delimit = false;   // a control word was written last
    auto put = [&]<size_t N>(const char (&s)[N]) {
        std::memcpy(w, s, N - 1);
        w += N - 1;
    };
    static const char digits[] = "0123456789abcdef";
    put("\\pard");
    delimit = true;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\n') {
            put("\\par\r\n\\pard");
            delimit = true;
            continue;
        }
        if (c < 0x80) {
            if (c == u'\\' || c == u'{' || c == u'}') {
                *w++ = '\\';
                *w++ = char(c);
                delimit = false;
            } else if (c == u'\t') {
                put("\\tab");
                delimit = true;
            } else if (c >= 0x20) {
                if (delimit)
                    *w++ = ' ';
                *w++ = char(c);
                delimit = false;
            }
            continue;
        }
        switch (c) {
        case 0x2028: put("\\line"); delimit = true; continue;
        case 0x00A0: put("\\~"); delimit = false; continue;
        case 0x00AD: put("\\-"); delimit = false; continue;
        case 0x2011: put("\\_"); delimit = false; continue;
        default: break;
        }
        if (QChar::isSurrogate(c))
            return richtext::plainTextToRtf(text);
        // A character without GBK bytes: the document's road, which writes
        // it, and what follows it, its own way.
        const GbkBytes &g = gbkBytes(c);
        if (g.size == 0)
            return richtext::plainTextToRtf(text);
        for (int i = 0; i < g.size; ++i) {
            const uchar b = uchar(g.bytes[i]);
            *w++ = '\\';
            *w++ = '\'';
            *w++ = digits[b >> 4];
            *w++ = digits[b & 15];
        }
        delimit = false;
    }
    put("\\par\r\n}\r\n");
    out.truncate(w - out.constData());
    return out;
}

QString storedVisibleText(const QByteArray &stored)
{
    if (!richtext::isRtf(stored))
        return storedPlainText(stored);
    static const char *const codec = QStringDecoder("GBK").isValid() ? "GBK" : "GB18030";
    QString out;
    QByteArray run;   // text bytes not decoded yet
    auto flush = [&] {
        if (run.isEmpty())
            return;
        QStringDecoder d(codec, QStringConverter::Flag::Stateless);
        out += d.decode(run);
        run.clear();
    };
    // Groups whose content is not text: tables, pictures, "\*" destinations.
    std::vector<bool> skipping{false};
    int pendingSkip = 0;   // characters after \uN
    const qsizetype n = stored.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = stored[i];
        if (c == '{') {
            skipping.push_back(skipping.back());
            continue;
        }
        if (c == '}') {
            if (skipping.size() > 1)
                skipping.pop_back();
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        const bool skip = skipping.back();
        if (c != '\\') {
            if (pendingSkip > 0)
                --pendingSkip;
            else if (!skip)
                run += c;
            continue;
        }
        if (i + 1 >= n)
            break;
        const char k = stored[++i];
        if (k == '\'') {
            if (i + 2 < n) {
                const bool hexOk = !skip && pendingSkip == 0;
                if (hexOk)
                    run += char(QByteArray::fromHex(stored.mid(i + 1, 2)).at(0));
                else if (pendingSkip > 0)
                    --pendingSkip;
                i += 2;
            }
            continue;
        }
        if (!std::isalpha(uchar(k))) {
            if (k == '*') {
                skipping.back() = true;
            } else if (!skip && (k == '\\' || k == '{' || k == '}')) {
                run += k;
            } else if (!skip && (k == '~' || k == '-' || k == '_')) {
                flush();
                out += k == '~' ? QChar(0x00A0) : k == '-' ? QChar(0x00AD) : QChar(0x2011);
            }
            continue;
        }
        qsizetype j = i;
        while (j < n && std::isalpha(uchar(stored[j])))
            ++j;
        const QByteArray word = stored.mid(i, j - i);
        qsizetype numStart = j;
        if (j < n && stored[j] == '-')
            ++j;
        while (j < n && std::isdigit(uchar(stored[j])))
            ++j;
        const int param = stored.mid(numStart, j - numStart).toInt();
        if (j < n && stored[j] == ' ')
            ++j;
        i = j - 1;
        if (word == "pict" && !skip) {
            flush();
            out += QChar::ObjectReplacementCharacter;   // the picture's place in the text
        }
        if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" || word == "pict")
            skipping.back() = true;
        else if (skip)
            continue;
        else if (word == "par" || word == "line" || word == "tab") {
            flush();
            out += u'\n';
        } else if (word == "u") {
            flush();
            out += QChar(char16_t(param < 0 ? param + 65536 : param));
            pendingSkip = 1;
        }
    }
    flush();
    return out;
}

QString storedPlainText(const QByteArray &stored) { return richtext::rtfToPlainText(stored); }

bool splitOptions(const QString &plainBody, int optionCount, QString &stem, QStringList &options)
{
    static const QRegularExpression optionRe(QStringLiteral("^\\s*([A-G])\\s*[.．、)）]\\s?(.*)$"));
    QStringList lines = plainBody.split(QRegularExpression(QStringLiteral("[\\n\\x{2029}\\x{2028}]")));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (optionCount < 1 || lines.size() <= optionCount)
        return false;
    QStringList found;
    for (int i = 0; i < optionCount; ++i) {
        const auto m = optionRe.match(lines[lines.size() - optionCount + i]);
        if (!m.hasMatch() || m.captured(1) != optionLetter(i))
            return false;
        found << m.captured(2).trimmed();
    }
    options = found;
    lines.resize(lines.size() - optionCount);
    stem = lines.join(u'\n').trimmed();
    return true;
}

} // namespace authoring
