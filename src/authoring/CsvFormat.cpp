// Reading CSV question files.
#include "authoring/CsvFormat.h"

#include <QRegularExpression>

namespace authoring {

QVector<CsvRecord> splitCsv(const QString &text, ImportProblem *unterminated)
{
    QVector<CsvRecord> out;
    CsvRecord rec;
    QString field;
    bool quoted = false;
    int line = 1, quoteLine = 0;
    rec.line = 1;
    auto endRecord = [&]() {
        rec.fields << field;
        field.clear();
        bool blank = true;
        for (const QString &f : std::as_const(rec.fields))
            blank = blank && f.trimmed().isEmpty();
        if (!blank)
            out.append(rec);
        rec = CsvRecord();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                if (c != u'\r')
                    field += c;
            }
            continue;
        }
        if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
            quoteLine = line;
        } else if (c == u',') {
            rec.fields << field;
            field.clear();
        } else if (c == u'\n') {
            endRecord();
            rec.line = ++line;
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (quoted && unterminated)
        *unterminated = {quoteLine, QStringLiteral("引号没有结束，后面的内容不能读取。")};
    endRecord();
    return out;
}

namespace {

enum Column { Body, OptA, Answer = OptA + 7, Type, Explanation, KeyPoints, Id, Columns };

int columnOf(QString h)
{
    h = h.trimmed().toLower();
    h.remove(u' ');
    static const QRegularExpression opt(QStringLiteral("^(?:option|选项)?([a-g])$"));
    if (const auto m = opt.match(h); m.hasMatch())
        return OptA + (m.captured(1)[0].unicode() - u'a');
    const struct {
        const char16_t *name;
        int column;
    } names[] = {{u"body", Body},           {u"question", Body},     {u"题目", Body},        {u"题干", Body},
                 {u"试题内容", Body},       {u"answer", Answer},     {u"答案", Answer},      {u"试题答案", Answer},
                 {u"type", Type},           {u"题型", Type},         {u"explanation", Explanation},
                 {u"解析", Explanation},    {u"keypoints", KeyPoints}, {u"考点", KeyPoints},
                 {u"对应考点", KeyPoints},  {u"id", Id},             {u"编号", Id},          {u"试题编号", Id}};
    for (const auto &n : names)
        if (h == QString::fromUtf16(n.name))
            return n.column;
    return -1;
}

// "单选", "single", a type code ... ; empty when the answer decides.
bool kindOf(const QString &type, ImportKind &kind, QString &code)
{
    const QString t = type.trimmed().toLower();
    bool isNumber = false;
    const int n = t.toInt(&isNumber);
    if (isNumber) {
        code = t;
        if (n == 61 || n == 62)
            kind = ImportKind::Single;
        else if (n == 65 || n == 73)
            kind = ImportKind::Multiple;
        else if (n == 71)
            kind = ImportKind::TrueFalse;
        else if (n >= 74 && n <= 77)
            kind = ImportKind::Subjective;
        else
            return false;
        return true;
    }
    if (t.contains(QStringLiteral("单")) || t == QLatin1String("single"))
        kind = ImportKind::Single;
    else if (t.contains(QStringLiteral("多")) || t.contains(QStringLiteral("配伍")) || t == QLatin1String("multiple"))
        kind = ImportKind::Multiple;
    else if (t.contains(QStringLiteral("判断")) || t == QLatin1String("truefalse"))
        kind = ImportKind::TrueFalse;
    else if (t == QLatin1String("essay") || t.contains(QStringLiteral("主观")) || t.contains(QStringLiteral("简答"))
             || t.contains(QStringLiteral("论述")) || t.contains(QStringLiteral("计算")) || t.contains(QStringLiteral("综合"))
             || t.contains(QStringLiteral("案例")))
        kind = ImportKind::Subjective;
    else
        return false;
    return true;
}

} // namespace

ParsedFile parseCsv(const QString &text)
{
    ParsedFile out;
    ImportProblem open;
    const QVector<CsvRecord> records = splitCsv(text, &open);
    if (open.line > 0)
        out.problems.append(open);
    if (records.isEmpty()) {
        out.refusal = QStringLiteral("CSV 文件是空的。");
        return out;
    }
    int where[Columns];
    std::fill(std::begin(where), std::end(where), -1);
    for (int i = 0; i < records[0].fields.size(); ++i)
        if (const int c = columnOf(records[0].fields[i]); c >= 0 && where[c] < 0)
            where[c] = i;
    if (where[Body] < 0 || where[Answer] < 0) {
        out.refusal = QStringLiteral("CSV 第1行应是列名，至少要有“题目”和“答案”两列。");
        return out;
    }
    for (int r = 1; r < records.size(); ++r) {
        const CsvRecord &rec = records[r];
        auto field = [&](int c) { return where[c] >= 0 && where[c] < rec.fields.size() ? rec.fields[where[c]].trimmed() : QString(); };
        ImportedQuestion q;
        q.line = rec.line;
        q.body = field(Body);
        q.answer = field(Answer).toUpper();
        q.explanation = field(Explanation);
        q.sourceId = field(Id);
        for (const QString &k : field(KeyPoints).split(QRegularExpression(QStringLiteral("[;；,，\\s]+")), Qt::SkipEmptyParts))
            q.keyPoints << k;
        int last = -1;
        for (int o = 0; o < 7; ++o)
            if (!field(OptA + o).isEmpty())
                last = o;
        for (int o = 0; o <= last; ++o)
            q.options << field(OptA + o);
        const QString type = field(Type);
        if (!type.isEmpty()) {
            if (!kindOf(type, q.kind, q.typeCode)) {
                out.problems.append({rec.line, QStringLiteral("不认识的题型“%1”。").arg(type)});
                continue;
            }
        } else if (q.options.isEmpty()) {
            q.kind = ImportKind::Subjective;
        } else {
            q.kind = q.answer.size() > 1 ? ImportKind::Multiple : ImportKind::Single;
        }
        if (q.kind == ImportKind::Subjective)
            q.answer = QStringLiteral("1");
        if (q.kind == ImportKind::TrueFalse) {
            if (q.answer == QStringLiteral("对") || q.answer == QLatin1String("T") || q.answer == QLatin1String("TRUE"))
                q.answer = QStringLiteral("A");
            else if (q.answer == QStringLiteral("错") || q.answer == QLatin1String("F") || q.answer == QLatin1String("FALSE"))
                q.answer = QStringLiteral("B");
            q.options = {QStringLiteral("对"), QStringLiteral("错")};
        }
        out.questions.append(std::move(q));
    }
    return out;
}

} // namespace authoring
