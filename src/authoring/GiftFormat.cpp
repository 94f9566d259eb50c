// Reading and writing GIFT question files.
#include "authoring/GiftFormat.h"

#include <QRegularExpression>

namespace authoring {

namespace {

bool isSpecial(QChar c)
{
    return c == u'~' || c == u'=' || c == u'#' || c == u'{' || c == u'}' || c == u':' || c == u'\\';
}

QString unescape(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar n = s[i + 1];
            if (isSpecial(n)) {
                out += n;
                ++i;
                continue;
            }
            if (n == u'n') {
                out += u'\n';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out.trimmed();
}

// Position of the first unescaped character c at or after from, or -1.
qsizetype findUnescaped(const QString &s, QChar c, qsizetype from = 0)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        if (s[i] == u'\\') {
            ++i;
            continue;
        }
        if (s[i] == c)
            return i;
    }
    return -1;
}

// Splits the answer part at unescaped "~" and "=" (keeping the marks) and
// takes off a trailing "####general feedback".
QStringList splitAnswers(const QString &part, QString &general)
{
    QStringList items;
    qsizetype start = 0;   // where the item being read begins
    qsizetype i = 0;
    auto take = [&](qsizetype end) {
        const QStringView item = QStringView(part).mid(start, end - start);
        if (!item.trimmed().isEmpty())
            items << item.toString();
    };
    for (; i < part.size(); ++i) {
        const QChar c = part[i];
        if (c == u'\\' && i + 1 < part.size()) {
            ++i;
            continue;
        }
        if (c == u'#' && QStringView(part).mid(i, 4) == QLatin1String("####")) {
            general = unescape(part.mid(i + 4));
            break;
        }
        if (c == u'~' || c == u'=') {
            take(i);
            start = i;
        }
    }
    take(i);
    return items;
}

// Whether a weight ("50", "-100", "33.33333") gives credit; number tells
// whether it is a number at all.  Plain decimals are read by sight, the
// rest as Qt reads numbers.
bool weightGivesCredit(QStringView w, bool *number)
{
    qsizetype i = w.startsWith(u'-') ? 1 : 0;
    bool digits = false, nonZero = false, point = false, plain = i < w.size();
    for (; i < w.size() && plain; ++i) {
        const QChar c = w[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
            nonZero = nonZero || c != u'0';
        } else if (c == u'.' && !point && digits) {
            point = true;
        } else {
            plain = false;
        }
    }
    if (plain && digits && !w.endsWith(u'.')) {
        *number = true;
        return nonZero && !w.startsWith(u'-');
    }
    return w.toString().toDouble(number) > 0;
}

struct Block {
    int line = 0;
    QString text;
    QStringList tags;
    QString category;
};

void parseBlock(const Block &b, ParsedFile &out)
{
    ImportedQuestion q;
    q.line = b.line;
    q.category = b.category;
    for (const QString &t : b.tags) {
        if (t.startsWith(QLatin1String("KP-")))
            q.keyPoints << t.mid(3);
        else if (t.startsWith(QLatin1String("TX-")))
            q.typeCode = t.mid(3);
    }
    QString s = b.text.trimmed();
    if (s.startsWith(QLatin1String("::"))) {
        const qsizetype end = s.indexOf(QLatin1String("::"), 2);
        if (end < 0) {
            out.problems.append({b.line, QStringLiteral("题名“::”没有结束。")});
            return;
        }
        q.title = unescape(s.mid(2, end - 2));
        s = s.mid(end + 2).trimmed();
    }
    if (s.startsWith(u'[')) {
        for (const auto &[name, format] : {std::pair{QLatin1String("[html]"), TextFormat::Html},
                                           std::pair{QLatin1String("[markdown]"), TextFormat::Markdown},
                                           std::pair{QLatin1String("[plain]"), TextFormat::Plain},
                                           std::pair{QLatin1String("[moodle]"), TextFormat::Plain}})
            if (s.startsWith(name)) {
                q.format = format;
                s = s.mid(name.size());
                break;
            }
    }
    const qsizetype open = findUnescaped(s, u'{');
    if (open < 0) {
        // Text without an answer part is a description between questions.
        ++out.skipped;
        return;
    }
    const qsizetype close = findUnescaped(s, u'}', open + 1);
    if (close < 0) {
        out.problems.append({b.line, QStringLiteral("答案部分“{”没有对应的“}”。")});
        return;
    }
    const QString before = unescape(s.left(open));
    const QString after = unescape(s.mid(close + 1));
    // A blank in mid-sentence ("missing word") keeps its place.
    q.body = after.isEmpty() ? before : before + QStringLiteral(" ____ ") + after;
    QString part = s.mid(open + 1, close - open - 1).trimmed();
    if (part.startsWith(u'#') && !part.startsWith(QLatin1String("####"))) {
        out.problems.append({b.line, QStringLiteral("数值题不能导入。")});
        return;
    }
    QString general;
    const QStringList items = splitAnswers(part, general);
    q.explanation = general;
    if (items.isEmpty()) {
        q.kind = ImportKind::Subjective;
        q.answer = QStringLiteral("1");
        out.questions.append(std::move(q));
        return;
    }
    if (items.size() == 1) {
        // {T}, {TRUE}, {F}, {FALSE}, each perhaps with "#feedback".
        QString word = items.first().trimmed();
        if (const qsizetype fb = findUnescaped(word, u'#'); fb >= 0)
            word = word.left(fb).trimmed();
        if (word == QLatin1String("T") || word == QLatin1String("TRUE") || word == QLatin1String("F")
            || word == QLatin1String("FALSE")) {
            q.kind = ImportKind::TrueFalse;
            q.options = {QStringLiteral("对"), QStringLiteral("错")};
            q.answer = word.startsWith(u'T') ? QStringLiteral("A") : QStringLiteral("B");
            out.questions.append(std::move(q));
            return;
        }
    }
    bool anyWrong = false;
    bool matching = false;
    for (const QString &it : items) {
        if (it.startsWith(u'~'))
            anyWrong = true;
        else if (it.startsWith(u'=') && it.contains(QLatin1String("->")))
            matching = true;
        else if (!it.startsWith(u'='))
            return out.problems.append({b.line, QStringLiteral("看不懂的答案：") + it.trimmed()});
    }
    if (matching) {
        QVector<QPair<QString, QString>> pairs;
        for (const QString &it : items) {
            const QString body = it.mid(1);
            const qsizetype arrow = body.indexOf(QLatin1String("->"));
            if (arrow < 0)
                return out.problems.append({b.line, QStringLiteral("配对题的一项没有“->”：") + it.trimmed()});
            pairs.append({unescape(body.left(arrow)), unescape(body.mid(arrow + 2))});
        }
        return addMatchingQuestions(q, pairs, out);
    }
    if (!anyWrong) {
        out.problems.append({b.line, QStringLiteral("填空题（只有“=”答案）不能导入。")});
        return;
    }
    // With an "=" answer the question takes one answer, and weights of "~"
    // answers are partial credit, not right answers; without one, every
    // answer weighted above 0 is one of several right answers.
    bool single = false;
    for (const QString &it : items)
        single = single || it.startsWith(u'=');
    QString answer;
    for (const QString &it : items) {
        QString t = it.mid(1).trimmed();
        bool right = it.startsWith(u'=');
        // A weight "%50%" before the text.
        if (t.startsWith(u'%')) {
            const qsizetype end = t.indexOf(u'%', 1);
            bool number = false;
            const bool credit = end > 0 && weightGivesCredit(QStringView(t).mid(1, end - 1), &number);
            if (number) {
                if (!single)
                    right = credit;
                t = t.mid(end + 1);
            }
        }
        const qsizetype fb = findUnescaped(t, u'#');
        if (fb >= 0)
            t = t.left(fb);
        if (right)
            answer += optionLetter(int(q.options.size()));
        q.options << unescape(t);
    }
    q.kind = !single && answer.size() > 1 ? ImportKind::Multiple : ImportKind::Single;
    q.answer = answer;
    out.questions.append(std::move(q));
}

} // namespace

ParsedFile parseGift(const QString &text)
{
    ParsedFile out;
    static const QRegularExpression tagRe(QStringLiteral("\\[tag:([^\\]]*)\\]"));
    Block cur;
    QStringList pendingTags;
    QString category;
    bool inBraces = false;
    auto flush = [&]() {
        if (!QStringView(cur.text).trimmed().isEmpty())
            parseBlock(cur, out);
        cur = Block();
    };
    // Line by line, each line a view of the text.
    const QStringView all(text);
    int lineNo = 0;
    for (qsizetype pos = 0; pos <= all.size();) {
        qsizetype next = all.indexOf(u'\n', pos);
        if (next < 0)
            next = all.size();
        QStringView line = all.mid(pos, next - pos);
        pos = next + 1;
        ++lineNo;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView t = line.trimmed();
        if (!inBraces && t.startsWith(QLatin1String("//"))) {
            for (auto it = tagRe.globalMatch(t.toString()); it.hasNext();)
                pendingTags << it.next().captured(1).trimmed();
            continue;
        }
        if (t.isEmpty() && !inBraces) {
            flush();
            continue;
        }
        if (!inBraces && cur.text.isEmpty() && t.startsWith(QLatin1String("$CATEGORY:"))) {
            category = t.mid(10).trimmed().toString();
            ++out.skipped;
            continue;
        }
        if (cur.text.isEmpty()) {
            cur.line = lineNo;
            cur.tags = pendingTags;
            cur.category = category;
            pendingTags.clear();
        }
        cur.text.append(line);
        cur.text.append(u'\n');
        // A blank line inside the braces does not end the question.
        for (qsizetype k = 0; k < line.size(); ++k) {
            if (line[k] == u'\\')
                ++k;
            else if (line[k] == u'{')
                inBraces = true;
            else if (line[k] == u'}')
                inBraces = false;
        }
    }
    flush();
    return out;
}

QString giftEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (isSpecial(c))
            out += u'\\';
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c != u'\r')
            out += c;
    }
    return out;
}

QString writeGift(const QVector<ImportedQuestion> &questions)
{
    QString out;
    QString category;
    for (const ImportedQuestion &q : questions) {
        if (!q.category.isEmpty() && q.category != category) {
            category = q.category;
            out += QStringLiteral("$CATEGORY: ") + category + QStringLiteral("\n\n");
        }
        QStringList tags;
        if (!q.typeCode.isEmpty())
            tags << QStringLiteral("[tag:TX-") + q.typeCode + u']';
        for (const QString &k : q.keyPoints)
            tags << QStringLiteral("[tag:KP-") + k + u']';
        if (!tags.isEmpty())
            out += QStringLiteral("// ") + tags.join(u' ') + u'\n';
        if (!q.title.isEmpty())
            out += QStringLiteral("::") + giftEscape(q.title) + QStringLiteral("::");
        out += giftEscape(q.body) + QStringLiteral(" {");
        switch (q.kind) {
        case ImportKind::TrueFalse:
            out += q.answer == QLatin1String("A") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            break;
        case ImportKind::Subjective:
            break;
        case ImportKind::Single:
        case ImportKind::Multiple: {
            const int right = int(q.answer.size());
            for (int i = 0; i < q.options.size(); ++i) {
                const bool isRight = q.answer.contains(optionLetter(i));
                out += QStringLiteral("\n\t");
                if (q.kind == ImportKind::Single)
                    out += isRight ? u'=' : u'~';
                else
                    out += isRight ? QStringLiteral("~%") + QString::number(100.0 / right, 'g', 6) + u'%'
                                   : QStringLiteral("~%-100%");
                out += giftEscape(q.options[i]);
            }
            out += u'\n';
            break;
        }
        }
        if (!q.explanation.isEmpty())
            out += QStringLiteral("####") + giftEscape(q.explanation) + u'\n';
        out += QStringLiteral("}\n\n");
    }
    return out;
}

} // namespace authoring
