// Reading the XML of question files.
#include "authoring/ImportXml.h"

#include <algorithm>

namespace authoring {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r'; }

bool isNameStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_' || u == u':' || u >= 0x80;
}

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return isNameStart(c) || (u >= u'0' && u <= u'9') || u == u'-' || u == u'.';
}

// Appends a stretch of text with its line ends made "\n", as XML reads them.
void appendText(QString &into, const QChar *from, const QChar *to)
{
    const QChar *cr = from;
    while (cr < to && *cr != u'\r')
        ++cr;
    if (cr == to) {
        into.append(from, to - from);
        return;
    }
    for (const QChar *p = from; p < to; ++p) {
        if (*p == u'\r') {
            into += u'\n';
            if (p + 1 < to && p[1] == u'\n')
                ++p;
        } else {
            into += *p;
        }
    }
}

bool startsWith(const QChar *p, const QChar *end, QLatin1String s)
{
    if (end - p < s.size())
        return false;
    for (qsizetype i = 0; i < s.size(); ++i)
        if (p[i] != QLatin1Char(s[i]))
            return false;
    return true;
}

// The first place of s at or after p, or null.
const QChar *find(const QChar *p, const QChar *end, QLatin1String s)
{
    const QChar first = QLatin1Char(s[0]);
    for (; p < end; ++p)
        if (*p == first && startsWith(p, end, s))
            return p;
    return nullptr;
}

} // namespace

const XmlElement *XmlElement::child(QLatin1String n) const
{
    for (const XmlElement &c : children)
        if (c.name == n)
            return &c;
    return nullptr;
}

QString XmlElement::attr(QLatin1String n) const
{
    for (const auto &[name, value] : attrs)
        if (name == n)
            return value;
    return {};
}

XmlReader::XmlReader(QStringView text, int maxDepth)
    : m_begin(text.data()), m_p(text.data()), m_end(text.data() + text.size()), m_maxDepth(maxDepth)
{
}

bool XmlReader::fail(Failure f, const QString &detail)
{
    if (m_failure == None) {
        m_failure = f;
        m_detail = detail;
    }
    return false;
}

int XmlReader::lineAt(qsizetype pos)
{
    const char16_t *from = reinterpret_cast<const char16_t *>(m_begin) + m_linePos;
    const char16_t *to = reinterpret_cast<const char16_t *>(m_begin) + pos;
    if (from < to) {
        if (std::find(from, to, u'\r') == to) {
            m_line += int(std::count(from, to, u'\n'));
        } else {
            // A CR ends a line unless an LF follows it.
            const char16_t *end = reinterpret_cast<const char16_t *>(m_end);
            for (const char16_t *c = from; c < to; ++c)
                if (*c == u'\n' || (*c == u'\r' && (c + 1 >= end || c[1] != u'\n')))
                    ++m_line;
        }
        m_linePos = pos;
    }
    return m_line;
}

int XmlReader::line() { return lineAt(m_p - m_begin); }

bool XmlReader::skipBlanks()
{
    while (m_p < m_end && isBlank(*m_p))
        ++m_p;
    return m_p < m_end;
}

bool XmlReader::skipMisc(bool prolog)
{
    while (skipBlanks()) {
        if (startsWith(m_p, m_end, QLatin1String("<?"))) {
            const QChar *e = find(m_p + 2, m_end, QLatin1String("?>"));
            if (!e)
                return fail(Malformed, QStringLiteral("处理指令“<?”没有结束。"));
            m_p = e + 2;
        } else if (startsWith(m_p, m_end, QLatin1String("<!--"))) {
            const QChar *e = find(m_p + 4, m_end, QLatin1String("-->"));
            if (!e)
                return fail(Malformed, QStringLiteral("注释“<!--”没有结束。"));
            m_p = e + 3;
        } else if (prolog && startsWith(m_p, m_end, QLatin1String("<!DOCTYPE"))) {
            return fail(DocumentType, QString());
        } else {
            break;
        }
    }
    return true;
}

bool XmlReader::readName(QStringView &name)
{
    const QChar *start = m_p;
    if (m_p >= m_end || !isNameStart(*m_p))
        return fail(Malformed, QStringLiteral("这里应当是名称。"));
    while (m_p < m_end && isNameChar(*m_p))
        ++m_p;
    name = QStringView(start, m_p - start);
    return true;
}

bool XmlReader::readEntity(QString &into)
{
    // m_p stands on '&'.
    const QChar *start = ++m_p;
    while (m_p < m_end && *m_p != u';' && m_p - start < 32)
        ++m_p;
    if (m_p >= m_end || *m_p != u';')
        return fail(Malformed, QStringLiteral("“&”后面没有以“;”结束的实体。"));
    const QStringView ref(start, m_p - start);
    ++m_p;
    if (ref.startsWith(u'#')) {
        bool ok = false;
        const uint code = ref.startsWith(QLatin1String("#x")) ? ref.mid(2).toUInt(&ok, 16) : ref.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return fail(Malformed, QStringLiteral("字符引用“&%1;”无效。").arg(ref));
        const char32_t c = code;
        into += QString::fromUcs4(&c, 1);
        return true;
    }
    if (ref == QLatin1String("lt"))
        into += u'<';
    else if (ref == QLatin1String("gt"))
        into += u'>';
    else if (ref == QLatin1String("amp"))
        into += u'&';
    else if (ref == QLatin1String("quot"))
        into += u'"';
    else if (ref == QLatin1String("apos"))
        into += u'\'';
    else
        return fail(Entity, ref.toString());
    return true;
}

bool XmlReader::readStartTag(XmlElement &e, bool &empty)
{
    // m_p stands on '<'.
    ++m_p;
    if (!readName(e.name))
        return false;
    for (;;) {
        const bool blank = m_p < m_end && isBlank(*m_p);
        if (!skipBlanks())
            return fail(Malformed, QStringLiteral("开始标签<%1>没有结束。").arg(e.name));
        if (*m_p == u'>') {
            ++m_p;
            empty = false;
            break;
        }
        if (*m_p == u'/') {
            if (m_p + 1 >= m_end || m_p[1] != u'>')
                return fail(Malformed, QStringLiteral("开始标签<%1>里有多余的“/”。").arg(e.name));
            m_p += 2;
            empty = true;
            break;
        }
        QStringView name;
        if (!blank || !readName(name))
            return fail(Malformed, QStringLiteral("开始标签<%1>的属性写错了。").arg(e.name));
        skipBlanks();
        if (m_p >= m_end || *m_p != u'=')
            return fail(Malformed, QStringLiteral("属性“%1”没有“=”。").arg(name));
        ++m_p;
        skipBlanks();
        if (m_p >= m_end || (*m_p != u'"' && *m_p != u'\''))
            return fail(Malformed, QStringLiteral("属性“%1”的值没有引号。").arg(name));
        const QChar quote = *m_p++;
        QString value;
        for (;;) {
            if (m_p >= m_end)
                return fail(Malformed, QStringLiteral("属性“%1”的值没有结束。").arg(name));
            const QChar c = *m_p;
            if (c == quote) {
                ++m_p;
                break;
            }
            if (c == u'<')
                return fail(Malformed, QStringLiteral("属性“%1”的值里有“<”。").arg(name));
            if (c == u'&') {
                if (!readEntity(value))
                    return false;
                continue;
            }
            // Line ends and tabs in a value read as blanks.
            if (c == u'\r' && m_p + 1 < m_end && m_p[1] == u'\n')
                ++m_p;
            value += isBlank(c) ? QChar(u' ') : c;
            ++m_p;
        }
        for (const auto &a : e.attrs)
            if (a.first == name)
                return fail(Malformed, QStringLiteral("属性“%1”出现了两次。").arg(name));
        e.attrs.emplace_back(name, std::move(value));
    }
    return true;
}

bool XmlReader::readEndTag(QStringView name)
{
    // m_p stands on "</".
    m_p += 2;
    QStringView closing;
    if (!readName(closing))
        return false;
    skipBlanks();
    if (m_p >= m_end || *m_p != u'>')
        return fail(Malformed, QStringLiteral("结束标签</%1>没有结束。").arg(closing));
    ++m_p;
    if (closing != name)
        return fail(Malformed, QStringLiteral("开始标签<%1>和结束标签</%2>不配对。").arg(name, closing));
    return true;
}

bool XmlReader::readContent(XmlElement *e, int depth)
{
    const QStringView name = e ? e->name : m_rootName;
    for (;;) {
        // A run of text up to the next markup: a stretch of the document,
        // taken into the element's text unless it is all blanks.
        const QChar *runStart = m_p;
        bool blank = true, plain = true;   // plain: no entity, no CR
        while (m_p < m_end && *m_p != u'<') {
            const QChar c = *m_p;
            if (c == u'&') {
                QString ignored;
                if (!readEntity(ignored))
                    return false;
                blank = plain = false;
                continue;
            }
            if (!isBlank(c))
                blank = false;
            else if (c == u'\r')
                plain = false;
            ++m_p;
        }
        if (e && !blank) {
            if (plain) {
                e->text.append(runStart, m_p - runStart);
            } else {
                for (const QChar *p = runStart; p < m_p;) {
                    const QChar *stop = p;
                    while (stop < m_p && *stop != u'&')
                        ++stop;
                    appendText(e->text, p, stop);
                    if (stop == m_p)
                        break;
                    const QChar *after = m_p;
                    m_p = stop;
                    readEntity(e->text);   // read once already: it is good
                    p = m_p;
                    m_p = after;
                }
            }
        }
        if (m_p >= m_end)
            return fail(Malformed, QStringLiteral("文件在</%1>之前就结束了。").arg(name));
        if (m_p + 1 < m_end && m_p[1] == u'/') {
            if (!readEndTag(name))
                return false;
            if (!e)
                m_rootClosed = true;
            return true;
        }
        if (startsWith(m_p, m_end, QLatin1String("<!--"))) {
            const QChar *end = find(m_p + 4, m_end, QLatin1String("-->"));
            if (!end)
                return fail(Malformed, QStringLiteral("注释“<!--”没有结束。"));
            m_p = end + 3;
        } else if (startsWith(m_p, m_end, QLatin1String("<![CDATA["))) {
            const QChar *start = m_p + 9;
            const QChar *end = find(start, m_end, QLatin1String("]]>"));
            if (!end)
                return fail(Malformed, QStringLiteral("CDATA 段没有结束。"));
            if (e)
                appendText(e->text, start, end);
            m_p = end + 3;
        } else if (startsWith(m_p, m_end, QLatin1String("<?"))) {
            const QChar *end = find(m_p + 2, m_end, QLatin1String("?>"));
            if (!end)
                return fail(Malformed, QStringLiteral("处理指令“<?”没有结束。"));
            m_p = end + 2;
        } else if (startsWith(m_p, m_end, QLatin1String("<!"))) {
            return fail(Malformed, QStringLiteral("元素<%1>里有不认识的“<!”。").arg(name));
        } else if (!e) {
            return true;   // a child of the root: the caller reads it
        } else {
            if (depth + 1 > m_maxDepth)
                return fail(TooDeep, QString());
            if (e->children.empty())
                e->children.reserve(depth <= 2 ? 16 : 2);
            e->children.emplace_back();
            if (!readElement(e->children.back(), depth + 1))
                return false;
        }
    }
}

bool XmlReader::readElement(XmlElement &e, int depth)
{
    bool empty = false;
    if (!readStartTag(e, empty))
        return false;
    if (depth <= 2)
        e.line = line();
    return empty || readContent(&e, depth);
}

bool XmlReader::readRoot()
{
    if (!skipMisc(true))
        return false;
    if (m_p >= m_end)
        return fail(Malformed, QStringLiteral("文件里没有元素。"));
    if (*m_p != u'<')
        return fail(Malformed, QStringLiteral("第一个元素之前有文字。"));
    XmlElement root;
    bool empty = false;
    if (!readStartTag(root, empty))
        return false;
    m_rootName = root.name;
    m_rootLine = line();
    m_rootClosed = empty;
    return true;
}

bool XmlReader::readChild(XmlElement &out)
{
    if (m_rootClosed || m_failure != None)
        return false;
    // Up to the next child's start tag, or the root's end.
    if (!readContent(nullptr, 1) || m_rootClosed)
        return false;
    out = XmlElement();
    if (2 > m_maxDepth)
        return fail(TooDeep, QString());
    return readElement(out, 2);
}

bool XmlReader::readEpilogue()
{
    if (!skipMisc(false))
        return false;
    if (m_p < m_end)
        return fail(Malformed, QStringLiteral("根元素</%1>之后还有内容。").arg(m_rootName));
    return true;
}

} // namespace authoring
