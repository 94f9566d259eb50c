// Checking, previewing and saving imported questions.
#include "authoring/QuestionImport.h"

#include "authoring/ImportText.h"
#include "common/CommonRoutines.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QSet>
#include <QSqlQuery>
#include <sqlite3.h>
#include <vector>

namespace authoring {

namespace {

// The answer page each kind is judged on.
bool kindShowsPage(ImportKind kind, int page)
{
    switch (kind) {
    case ImportKind::Single: return page == 0;
    case ImportKind::Multiple: return page == 1 || page == 5;
    case ImportKind::TrueFalse: return page == 3;
    case ImportKind::Subjective: return page == 4;
    }
    return false;
}

// One value of a save's statement, taken straight from the question.
struct Value {
    enum Kind { Text, Int, Blob } kind = Text;
    QStringView text;
    qint64 number = 0;
    QByteArrayView blob;
};
Value text(QStringView t) { return {Value::Text, t, 0, {}}; }

// The values of a new question's statements, in the order of entry's own
// statements (answInsert, exerInsert, counterUpdates), from views of the
// question: nothing is copied.
void questionValues(const QString &id, const NewQuestion &q, std::vector<std::vector<Value>> &out)
{
    const qsizetype n = q.keyPoints.size();
    out.resize(n > 0 ? 6 : 3);
    for (auto &v : out)
        v.clear();
    out[0] = {text(id), text(q.answer), text(q.optionText), text(q.chapter), {Value::Int, {}, q.typeCode.toInt(), {}}};
    out[1] = {text(id), {Value::Blob, {}, 0, q.body}};
    if (q.hasExplanation)
        out[1].push_back({Value::Blob, {}, 0, q.explanation});
    const QStringView c(q.chapter);
    out[2] = {text(c), text(c.left(4)), text(c.left(2)), text(c.left(1))};
    for (const QString &k : q.keyPoints) {
        out[0].push_back(text(k));
        out[3].push_back(text(k));
        out[4].push_back(text(QStringView(k).left(6)));
        out[5].push_back(text(QStringView(k).left(1)));
    }
}

// Whether entry binds the same values.
bool sameValues(const QVariantList &entry, const std::vector<Value> &ours)
{
    if (entry.size() != qsizetype(ours.size()))
        return false;
    for (qsizetype i = 0; i < entry.size(); ++i) {
        const QVariant &e = entry[i];
        const Value &v = ours[size_t(i)];
        const int type = e.typeId();
        const bool same = v.kind == Value::Text ? type == QMetaType::QString && e.toString() == v.text
                          : v.kind == Value::Int
                              ? (type == QMetaType::Int || type == QMetaType::LongLong) && e.toLongLong() == v.number
                              : type == QMetaType::QByteArray && e.toByteArray() == v.blob;
        if (!same)
            return false;
    }
    return true;
}

// The save's statements for each shape of question (how many key points,
// whether it has an explanation): entry's own statement texts, prepared
// once on the bank's connection and bound value by value, instead of
// building, looking up and binding every statement anew for thousands of
// questions.  A shape whose values do not match entry's for its first
// question is saved through entry's road.
class ImportWriter {
public:
    explicit ImportWriter(TDM1 &dm) : m_dm(dm) {}
    ~ImportWriter()
    {
        for (const Shape &s : std::as_const(m_shapes))
            for (sqlite3_stmt *st : s.statements)
                sqlite3_finalize(st);
    }
    ImportWriter(const ImportWriter &) = delete;
    ImportWriter &operator=(const ImportWriter &) = delete;

    void write(const QString &id, const NewQuestion &q)
    {
        questionValues(id, q, m_values);
        const int key = int(q.keyPoints.size()) * 2 + (q.hasExplanation ? 1 : 0);
        auto it = m_shapes.find(key);
        if (it == m_shapes.end())
            it = m_shapes.insert(key, prepare(id, q));
        if (it->statements.empty()) {
            writeNewQuestion(m_dm, id, q);
            return;
        }
        for (size_t i = 0; i < it->statements.size(); ++i)
            step(it->statements[i], m_values[i]);
    }

private:
    struct Shape {
        std::vector<sqlite3_stmt *> statements;   // empty: entry's road
    };

    Shape prepare(const QString &id, const NewQuestion &q)
    {
        QVector<BoundStatement> entry{answInsert(id, q), exerInsert(id, q)};
        entry += counterUpdates(q);
        Shape shape;
        if (entry.size() != qsizetype(m_values.size()))
            return shape;
        for (qsizetype i = 0; i < entry.size(); ++i)
            if (!sameValues(entry[i].binds, m_values[size_t(i)]))
                return shape;
        sqlite3 *db = m_dm.handle();
        for (const BoundStatement &b : std::as_const(entry)) {
            const QByteArray sql = b.sql.toUtf8();
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
                const QString err = QString::fromUtf8(sqlite3_errmsg(db));
                sqlite3_finalize(st);
                for (sqlite3_stmt *done : shape.statements)
                    sqlite3_finalize(done);
                throw store::DbError(err);
            }
            shape.statements.push_back(st);
        }
        return shape;
    }

    void step(sqlite3_stmt *st, const std::vector<Value> &values)
    {
        // The values outlive the step: bound without a copy.  Empty texts
        // and blobs are bound as empty, never as NULL.
        static const char16_t noText[] = u"";
        static const char noBytes[] = "";
        int rc = SQLITE_OK;
        for (size_t i = 0; i < values.size() && rc == SQLITE_OK; ++i) {
            const Value &v = values[i];
            const int at = int(i) + 1;
            switch (v.kind) {
            case Value::Text:
                rc = sqlite3_bind_text16(st, at, v.text.isNull() ? noText : v.text.utf16(),
                                         int(v.text.size() * qsizetype(sizeof(char16_t))), SQLITE_STATIC);
                break;
            case Value::Int: rc = sqlite3_bind_int64(st, at, v.number); break;
            case Value::Blob:
                rc = sqlite3_bind_blob(st, at, v.blob.isNull() ? noBytes : v.blob.data(), int(v.blob.size()),
                                       SQLITE_STATIC);
                break;
            }
        }
        if (rc == SQLITE_OK)
            rc = sqlite3_step(st);
        const QString err = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_dm.handle()));
        sqlite3_reset(st);
        if (!err.isEmpty())
            throw store::DbError(err);
    }

    TDM1 &m_dm;
    QHash<int, Shape> m_shapes;
    std::vector<std::vector<Value>> m_values;
};

constexpr int MaxOptions = 7;
constexpr int MaxKeyPoints = 10;
constexpr int MaxAnswerLength = 100;

} // namespace

QString ImportTypes::codeFor(const ImportedQuestion &q) const
{
    // A code the file names is kept when its page judges the answer: the
    // several-answers page also takes a single letter.
    const int page = q.typeCode.isEmpty() ? -1 : TypeToPage(q.typeCode.toInt());
    if (kindShowsPage(q.kind, page) || (q.kind == ImportKind::Single && page == 5))
        return q.typeCode;
    switch (q.kind) {
    case ImportKind::Single: return single;
    case ImportKind::Multiple: return multiple;
    case ImportKind::TrueFalse: return trueFalse;
    case ImportKind::Subjective: return subjective;
    }
    return single;
}

QString ImportTypes::nameOf(const QString &code) const
{
    // A code the subject's type table does not list is named by its page.
    const QString n = names.value(code);
    if (!n.isEmpty())
        return n;
    static const QHash<int, QString> pages{{0, QStringLiteral("单选")}, {1, QStringLiteral("多选")}, {3, QStringLiteral("判断")},
                                           {4, QStringLiteral("主观")}, {5, QStringLiteral("配伍")}};
    return pages.value(TypeToPage(code.toInt()), QStringLiteral("题型")) + QStringLiteral("（") + code + QStringLiteral("）");
}

ImportTypes importTypes(const QVector<Ttx> &table)
{
    ImportTypes t;
    bool found[4] = {false, false, false, false};
    QString *slot[4] = {&t.single, &t.multiple, &t.trueFalse, &t.subjective};
    const ImportKind kinds[4] = {ImportKind::Single, ImportKind::Multiple, ImportKind::TrueFalse, ImportKind::Subjective};
    for (const Ttx &x : table) {
        t.names.insert(x.code, x.name);
        for (int k = 0; k < 4; ++k)
            if (!found[k] && kindShowsPage(kinds[k], TypeToPage(x.code.toInt()))) {
                found[k] = true;
                *slot[k] = x.code;
            }
    }
    return t;
}

QString checkQuestion(ImportedQuestion &q)
{
    if (visibleText(q.body, q.format).isEmpty())
        return QStringLiteral("试题没有内容。");
    q.answer = q.answer.trimmed().toUpper();
    if (q.keyPoints.size() > MaxKeyPoints)
        return QStringLiteral("考点有%1个，最多%2个。").arg(q.keyPoints.size()).arg(MaxKeyPoints);
    switch (q.kind) {
    case ImportKind::Subjective:
        q.answer = QStringLiteral("1");
        return {};
    case ImportKind::TrueFalse:
        if (q.answer != QLatin1String("A") && q.answer != QLatin1String("B"))
            return QStringLiteral("判断题的答案只能是A（对）或B（错）。");
        return {};
    case ImportKind::Single:
    case ImportKind::Multiple: break;
    }
    const int n = int(q.options.size());
    if (n > MaxOptions)
        return QStringLiteral("选项有%1个，最多%2个。").arg(n).arg(MaxOptions);
    if (n < 2)
        return QStringLiteral("选择题至少要有两个选项。");
    for (int i = 0; i < n; ++i)
        if (visibleText(q.options[i], q.format).isEmpty())
            return QStringLiteral("选项%1是空的。").arg(optionLetter(i));
    if (q.answer.isEmpty())
        return QStringLiteral("试题没有正确答案。");
    if (q.answer.size() > MaxAnswerLength)
        return QStringLiteral("答案太长。");
    QString ordered;
    for (int i = 0; i < n; ++i)
        if (q.answer.contains(optionLetter(i)))
            ordered += optionLetter(i);
    for (QChar c : std::as_const(q.answer))
        if (c < u'A' || c >= QChar(u'A' + n) || q.answer.count(c) > 1)
            return QStringLiteral("答案“%1”不在%2个选项A～%3之内。").arg(q.answer).arg(n).arg(optionLetter(n - 1));
    if (q.kind == ImportKind::Single && ordered.size() != 1)
        return QStringLiteral("单选题只能有一个答案，这里是“%1”。").arg(q.answer);
    q.answer = ordered;
    return {};
}

QString duplicateKey(const QString &plainBody, const QString &answer)
{
    QString k;
    k.reserve(plainBody.size() + answer.size() + 1);
    for (QChar c : plainBody)
        if (!c.isSpace())
            k += c.toCaseFolded();
    return k + QChar(0x1F) + answer;
}

ImportPreview previewImport(TDM1 &dm, const ParsedFile &file, const QString &chapter, const ImportTypes &types)
{
    ImportPreview p;
    p.refusal = file.refusal;
    p.skipped = file.skipped;
    if (!p.refusal.isEmpty())
        return p;
    p.problems = file.problems;
    QSet<QString> keyPoints;
    dm.run(QStringLiteral("select ftid from tab_rule"), {},
           [&](const QVariantList &row) { keyPoints.insert(row.value(0).toString()); });
    QSet<QString> known;
    known.reserve(file.questions.size() + 256);
    // Stored bodies are read as the bytes they are.
    QSqlQuery stored = dm.exec(
        QStringLiteral("select e.A15, a.A2 from tab_answ a join tab_exer e on e.A1 = a.A1 where a.A10 = ?"), {chapter});
    while (stored.next())
        known.insert(duplicateKey(storedVisibleText(stored.value(0).toByteArray()), stored.value(1).toString()));
    stored.finish();
    QSet<QString> seenIds;
    QHash<QString, int> byCode;   // questions to save by type code
    p.ready.reserve(file.questions.size());
    for (ImportedQuestion q : file.questions) {
        if (const QString why = checkQuestion(q); !why.isEmpty()) {
            p.problems.append({q.line, why});
            continue;
        }
        if (neutraliseScripts(q))
            p.problems.append({q.line, QStringLiteral("含有脚本（<script>），脚本只作为文字保存，不会运行。")});
        QStringList kept;
        for (const QString &k : std::as_const(q.keyPoints)) {
            if (keyPoints.contains(k) && !kept.contains(k))
                kept << k;
            else if (!keyPoints.contains(k))
                p.problems.append({q.line, QStringLiteral("考点“%1”不在题库中，已去掉。").arg(k)});
        }
        q.keyPoints = kept;
        if (!q.sourceId.isEmpty()) {
            if (seenIds.contains(q.sourceId)
                || dm.scalar(QStringLiteral("select count(*) from tab_answ where A1 = ?"), {q.sourceId}).toInt() > 0) {
                ++p.alreadyThere;
                continue;
            }
            seenIds.insert(q.sourceId);
        }
        ReadyQuestion r;
        r.line = q.line;
        QString plain;
        r.q = composeQuestion(q, types.codeFor(q), chapter, &plain);
        // One look-up: the set grows unless the question is there already.
        const qsizetype knownBefore = known.size();
        known.insert(duplicateKey(plain, r.q.answer));
        if (known.size() == knownBefore) {
            ++p.alreadyThere;
            continue;
        }
        ++byCode[r.q.typeCode];
        p.ready.append(std::move(r));
    }
    for (auto it = byCode.cbegin(); it != byCode.cend(); ++it)
        p.countsByType[types.nameOf(it.key())] += it.value();
    std::stable_sort(p.problems.begin(), p.problems.end(),
                     [](const ImportProblem &a, const ImportProblem &b) { return a.line < b.line; });
    p.firstSequence = nextSequenceNumber(dm);
    const int room = MaxSequence - p.firstSequence + 1;
    if (p.ready.size() > room)
        p.refusal = QStringLiteral("最多只能录入9999道题！题库还能录入%1道，文件中有%2道新题。")
                        .arg(std::max(room, 0))
                        .arg(p.ready.size());
    return p;
}

ImportOutcome saveImport(TDM1 &dm, const ImportPreview &preview, const std::function<bool(int, int)> &progress)
{
    ImportOutcome out;
    const int total = int(preview.ready.size());
    try {
        DbTransaction tx(dm);
        const int first = nextSequenceNumber(dm);
        if (first - 1 + total > MaxSequence) {
            out.result = ImportOutcome::TooMany;
            return out;
        }
        ImportWriter writer(dm);
        for (int i = 0; i < total; ++i) {
            if (progress && i % 200 == 0 && !progress(i, total)) {
                out.result = ImportOutcome::Cancelled;
                return out;   // the transaction rolls back
            }
            const NewQuestion &q = preview.ready[i].q;
            writer.write(questionId(q.chapter, q.typeCode, q.optionCount, sequenceText(first + i)), q);
        }
        tx.commit();
        if (progress)
            progress(total, total);
        out.result = ImportOutcome::Saved;
        out.saved = total;
    } catch (const store::DbError &e) {
        out.result = ImportOutcome::Failed;
        out.error = e.text();
    }
    return out;
}

QString problemLine(const ImportProblem &p)
{
    return p.line > 0 ? QStringLiteral("第%1行：%2").arg(p.line).arg(p.text) : p.text;
}

QString previewSummary(const ImportPreview &p)
{
    QStringList byType;
    for (auto it = p.countsByType.cbegin(); it != p.countsByType.cend(); ++it)
        byType << QStringLiteral("%1 %2道").arg(it.key()).arg(it.value());
    QString s = QStringLiteral("可以导入的新题：%1道").arg(p.ready.size());
    if (!byType.isEmpty())
        s += QStringLiteral("（") + byType.join(QStringLiteral("，")) + QStringLiteral("）");
    s += QStringLiteral("\n本章已经有的题：%1道（不再导入）").arg(p.alreadyThere);
    if (p.skipped > 0)
        s += QStringLiteral("\n跳过的分类和说明：%1项").arg(p.skipped);
    s += QStringLiteral("\n发现的问题：%1处").arg(p.problems.size());
    return s;
}

QString importDoneText(const ImportOutcome &out, const ImportPreview &p)
{
    switch (out.result) {
    case ImportOutcome::Saved: {
        QString s = QStringLiteral("导入成功！共导入%1道题。").arg(out.saved);
        if (p.alreadyThere > 0)
            s += QStringLiteral("\r另有%1道题本章已经有了，没有重复导入。").arg(p.alreadyThere);
        return s;
    }
    case ImportOutcome::Cancelled: return QStringLiteral("导入已取消，题库没有改变。");
    case ImportOutcome::TooMany: return QStringLiteral("最多只能录入9999道题！");
    case ImportOutcome::Failed: break;
    }
    return QStringLiteral("导入试题出现错误，题库没有改变！\r") + out.error;
}

} // namespace authoring
