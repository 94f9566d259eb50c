// Reading and writing Moodle XML question files.
#include "authoring/MoodleXmlFormat.h"

#include "authoring/ImportXml.h"

#include <QXmlStreamWriter>
#include <algorithm>

namespace authoring {

namespace {

using Node = XmlElement;

// The text of <n><text>..</text></n>.
QString textOf(const Node &e, QLatin1String n)
{
    const Node *c = e.child(n);
    const Node *t = c ? c->child(QLatin1String("text")) : nullptr;
    return t ? t->text.trimmed() : QString();
}

// The text of <n>..</n>.
QString childText(const Node &e, QLatin1String n)
{
    const Node *c = e.child(n);
    return c ? c->text.trimmed() : QString();
}

TextFormat formatOf(const Node *n)
{
    const QString f = n ? n->attr(QLatin1String("format")) : QString();
    if (f == QLatin1String("markdown"))
        return TextFormat::Markdown;
    if (f == QLatin1String("plain_text") || f == QLatin1String("moodle_auto_format"))
        return TextFormat::Plain;
    return TextFormat::Html;   // Moodle's default
}

void collectFiles(const Node &n, QHash<QString, QByteArray> &files)
{
    for (const Node &c : n.children) {
        if (c.name == QLatin1String("file") && c.attr(QLatin1String("encoding")) == QLatin1String("base64"))
            files.insert(c.attr(QLatin1String("name")), QByteArray::fromBase64(c.text.trimmed().toLatin1()));
        collectFiles(c, files);
    }
}

// A text in the question's own format: plain answers of an HTML question
// are escaped so that they read the same.
QString asFormat(const Node *textParent, TextFormat target)
{
    const Node *t = textParent ? textParent->child(QLatin1String("text")) : nullptr;
    const QString s = t ? t->text.trimmed() : QString();
    if (target == TextFormat::Html && formatOf(textParent) != TextFormat::Html)
        return s.toHtmlEscaped();
    return s;
}

void readQuestion(const Node &n, int line, QString &category, ParsedFile &out)
{
    const QString type = n.attr(QLatin1String("type"));
    if (type == QLatin1String("category")) {
        category = textOf(n, QLatin1String("category"));
        ++out.skipped;
        return;
    }
    if (type == QLatin1String("description")) {
        ++out.skipped;
        return;
    }
    ImportedQuestion q;
    q.line = line;
    q.category = category;
    q.title = textOf(n, QLatin1String("name"));
    const Node *qt = n.child(QLatin1String("questiontext"));
    q.format = formatOf(qt);
    q.body = asFormat(qt, q.format);
    q.explanation = asFormat(n.child(QLatin1String("generalfeedback")), q.format);
    collectFiles(n, q.pictures);
    if (const Node *tags = n.child(QLatin1String("tags"))) {
        for (const Node &t : tags->children) {
            const QString tag = childText(t, QLatin1String("text"));
            if (tag.startsWith(QLatin1String("KP-")))
                q.keyPoints << tag.mid(3);
            else if (tag.startsWith(QLatin1String("TX-")))
                q.typeCode = tag.mid(3);
        }
    }
    if (type == QLatin1String("essay")) {
        q.kind = ImportKind::Subjective;
        q.answer = QStringLiteral("1");
    } else if (type == QLatin1String("truefalse")) {
        q.kind = ImportKind::TrueFalse;
        q.options = {QStringLiteral("对"), QStringLiteral("错")};
        for (const Node &c : n.children)
            if (c.name == QLatin1String("answer") && c.attr(QLatin1String("fraction")).toDouble() > 0)
                q.answer = childText(c, QLatin1String("text")).toLower() == QLatin1String("true") ? QStringLiteral("A")
                                                                                                  : QStringLiteral("B");
    } else if (type == QLatin1String("multichoice")) {
        // <single> absent is one answer; "false", "0" or nothing is several.
        const QString single = n.child(QLatin1String("single")) ? childText(n, QLatin1String("single"))
                                                                : QStringLiteral("true");
        q.kind = single.isEmpty() || single == QLatin1String("false") || single == QLatin1String("0")
                     ? ImportKind::Multiple
                     : ImportKind::Single;
        QVector<double> fractions;
        for (const Node &c : n.children) {
            if (c.name != QLatin1String("answer"))
                continue;
            fractions << c.attr(QLatin1String("fraction")).toDouble();
            q.options << asFormat(&c, q.format);
        }
        // With one answer the right one has the full (largest) fraction and
        // the others are partial credit at most; with several, every answer
        // above 0 is one of the right ones.
        const double best = fractions.isEmpty() ? 0 : *std::max_element(fractions.cbegin(), fractions.cend());
        for (int i = 0; i < fractions.size(); ++i)
            if (fractions[i] > 0 && (q.kind == ImportKind::Multiple || fractions[i] >= best))
                q.answer += optionLetter(i);
    } else if (type == QLatin1String("matching") || type == QLatin1String("match")) {
        // "match" is how older files name it.
        QVector<QPair<QString, QString>> pairs;
        for (const Node &c : n.children)
            if (c.name == QLatin1String("subquestion"))
                pairs.append({asFormat(&c, q.format), textOf(c, QLatin1String("answer"))});
        return addMatchingQuestions(q, pairs, out);
    } else {
        out.problems.append({line, QStringLiteral("题型“%1”不能导入。").arg(type)});
        return;
    }
    out.questions.append(std::move(q));
}

} // namespace

ParsedFile parseMoodleXml(const QString &text)
{
    ParsedFile out;
    // Nothing outside the file is ever read, and no entity is expanded.
    XmlReader r(text, MaxXmlDepth);
    QString category;
    QString error;
    if (r.readRoot()) {
        if (r.rootName() != QLatin1String("quiz")) {
            error = QStringLiteral("这不是 Moodle XML 题库文件（没有<quiz>）。");
        } else {
            Node e;
            while (r.readChild(e)) {
                if (e.name == QLatin1String("question"))
                    readQuestion(e, e.line, category, out);
                else
                    out.problems.append({e.line, QStringLiteral("看不懂的元素<%1>。").arg(e.name)});
            }
            if (r.atEnd())
                r.readEpilogue();
        }
    }
    switch (r.failure()) {
    case XmlReader::None: break;
    case XmlReader::DocumentType: error = QStringLiteral("XML 含有文档类型声明（DOCTYPE），不予读取。"); break;
    case XmlReader::Entity: error = QStringLiteral("XML 含有未声明的实体“%1”。").arg(r.detail()); break;
    case XmlReader::TooDeep: error = QStringLiteral("XML 嵌套过深（超过%1层）。").arg(MaxXmlDepth); break;
    case XmlReader::Malformed: error = QStringLiteral("XML 格式错误：") + r.detail(); break;
    }
    if (!error.isEmpty()) {
        out = ParsedFile();
        out.refusal = QStringLiteral("第%1行：").arg(r.line()) + error;
    }
    return out;
}

QString writeMoodleXml(const QVector<ImportedQuestion> &questions)
{
    QString out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("quiz"));
    auto text = [&w](const QString &element, const QString &value, bool withFormat = true) {
        w.writeStartElement(element);
        if (withFormat)
            w.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
        w.writeTextElement(QStringLiteral("text"), value);
        w.writeEndElement();
    };
    QString category;
    for (const ImportedQuestion &q : questions) {
        if (!q.category.isEmpty() && q.category != category) {
            category = q.category;
            w.writeStartElement(QStringLiteral("question"));
            w.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
            text(QStringLiteral("category"), category, false);
            w.writeEndElement();
        }
        w.writeStartElement(QStringLiteral("question"));
        const char *type = q.kind == ImportKind::TrueFalse    ? "truefalse"
                           : q.kind == ImportKind::Subjective ? "essay"
                                                              : "multichoice";
        w.writeAttribute(QStringLiteral("type"), QString::fromLatin1(type));
        text(QStringLiteral("name"), q.title, false);
        text(QStringLiteral("questiontext"), q.body);
        if (!q.explanation.isEmpty())
            text(QStringLiteral("generalfeedback"), q.explanation);
        if (q.kind == ImportKind::TrueFalse) {
            for (const char *v : {"true", "false"}) {
                const bool right = (q.answer == QLatin1String("A")) == (QLatin1String(v) == QLatin1String("true"));
                w.writeStartElement(QStringLiteral("answer"));
                w.writeAttribute(QStringLiteral("fraction"), right ? QStringLiteral("100") : QStringLiteral("0"));
                w.writeTextElement(QStringLiteral("text"), QString::fromLatin1(v));
                w.writeEndElement();
            }
        } else if (q.kind != ImportKind::Subjective) {
            w.writeTextElement(QStringLiteral("single"),
                               q.kind == ImportKind::Single ? QStringLiteral("true") : QStringLiteral("false"));
            w.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("0"));
            w.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("ABCD"));
            for (int i = 0; i < q.options.size(); ++i) {
                const bool right = q.answer.contains(optionLetter(i));
                w.writeStartElement(QStringLiteral("answer"));
                w.writeAttribute(QStringLiteral("fraction"),
                                 right ? QString::number(100.0 / q.answer.size(), 'g', 7) : QStringLiteral("0"));
                w.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
                w.writeTextElement(QStringLiteral("text"), q.options[i]);
                w.writeEndElement();
            }
        }
        QStringList tags;
        if (!q.typeCode.isEmpty())
            tags << QStringLiteral("TX-") + q.typeCode;
        for (const QString &k : q.keyPoints)
            tags << QStringLiteral("KP-") + k;
        if (!tags.isEmpty()) {
            w.writeStartElement(QStringLiteral("tags"));
            for (const QString &t : tags) {
                w.writeStartElement(QStringLiteral("tag"));
                w.writeTextElement(QStringLiteral("text"), t);
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

} // namespace authoring
