// The question list of a practice run and the content of its questions.
#include "practice/PracticeRun.h"

#include "platform/RichText.h"
#include "practice/PracticeSelection.h"
#include "store/dm.h"

#include "store/DbError.h"

#include <QByteArrayView>
#include <QHash>
#include <QSqlQuery>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace practice {

namespace {

enum Field { A1, A2, A2_1, K3, A10 = K3 + 10, A13, A14, E1, E2, E2_1, E3, E4, F1, XX, CSBS, ECOUNT, FieldCount };

const char *const FieldNames[FieldCount] = {"a1", "a2", "a2_1", "k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10", "k11", "k12",
                                            "a10", "a13", "a14", "e1", "e2", "e2_1", "e3", "e4", "f1", "xx", "csbs", "ecount"};

} // namespace

// Reads the rows of a selection into the run's packed list.  Texts that
// recur across the rows of a list (chapter codes, keys, key points, dates,
// marks) are numbered once; the rows of a list come by type and chapter, so
// a field often holds what it held in the row before, and that number is
// given again without looking the text up.
class RowPacker {
public:
    explicit RowPacker(PracticeRun &run) : m_run(run) {}

    quint32 number(int field, const char *utf8, int bytes)
    {
        if (bytes <= 0)
            return 0;
        Last &last = m_last[size_t(field)];
        if (last.number != 0 && last.key.size() == bytes && std::memcmp(last.key.data(), utf8, size_t(bytes)) == 0)
            return last.number;
        const Slot &slot = find(utf8, bytes);
        last.key = slot.key;
        last.number = slot.number;
        return last.number;
    }

private:
    // The texts seen so far in an open-addressing table with a cheap hash
    // (the texts are short codes, dates and keys): this look-up runs for
    // nearly every field of every row, where a general hash table costs as
    // much as the engine's reading of the row.
    struct Slot {
        QByteArrayView key;   // points into m_keys; empty = free
        quint32 hash = 0;
        quint32 number = 0;
    };
    static quint32 hashOf(const char *p, int n)
    {
        quint32 h = 2166136261u;
        for (int i = 0; i < n; ++i)
            h = (h ^ quint8(p[i])) * 16777619u;
        return h;
    }
    const Slot &find(const char *utf8, int bytes)
    {
        const quint32 h = hashOf(utf8, bytes);
        size_t mask = m_slots.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            Slot &s = m_slots[i];
            if (s.key.isNull())
                break;
            if (s.hash == h && s.key.size() == bytes && std::memcmp(s.key.data(), utf8, size_t(bytes)) == 0)
                return s;
        }
        if (2 * (m_used + 1) > m_slots.size()) {
            grow();
            mask = m_slots.size() - 1;
        }
        m_keys.emplace_back(utf8, bytes);
        size_t i = h & mask;
        while (!m_slots[i].key.isNull())
            i = (i + 1) & mask;
        m_slots[i] = {QByteArrayView(m_keys.back()), h, m_run.textNumber(QString::fromUtf8(utf8, bytes))};
        ++m_used;
        return m_slots[i];
    }
    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (const Slot &s : old) {
            if (s.key.isNull())
                continue;
            size_t i = s.hash & mask;
            while (!m_slots[i].key.isNull())
                i = (i + 1) & mask;
            m_slots[i] = s;
        }
    }
    struct Last {
        QByteArrayView key;   // points into m_keys
        quint32 number = 0;
    };
    PracticeRun &m_run;
    std::deque<QByteArray> m_keys;   // owns the bytes the views point at
    std::vector<Slot> m_slots = std::vector<Slot>(256);
    size_t m_used = 0;
    std::array<Last, FieldCount> m_last;
};

bool PracticeRun::load(const QString &selection)
{
    clearRows();
    clearRunAnswers(m_dm);
    loadRows(selection);
    return !m_rows.isEmpty();
}

void PracticeRun::clearRows()
{
    m_rows.clear();
    m_view.clear();
    m_idBytes.clear();
    m_keyPointTexts.clear();
    m_texts = {QString()};
    m_textNumbers.clear();
}

quint32 PracticeRun::textNumber(const QString &text)
{
    if (text.isEmpty())
        return 0;
    auto it = m_textNumbers.constFind(text);
    if (it != m_textNumbers.constEnd())
        return it.value();
    const auto n = quint32(m_texts.size());
    m_texts.append(text);
    m_textNumbers.insert(text, n);
    return n;
}

void PracticeRun::loadRows(const QString &selection)
{
    // The list of a large chapter runs to tens of thousands of rows: the
    // selection is stepped forward once on the engine's handle and each row
    // is packed as it comes, with no string of its own but the id's bytes.
    clearRows();
    sqlite3 *db = m_dm.handle();
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = selection.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        const QString err = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        throw store::DbError(err);
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
    // Fields are found by name; the key-point selection has no xx and no ecount.
    int col[FieldCount];
    std::fill(std::begin(col), std::end(col), -1);
    for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
        const QByteArray name = QByteArray(sqlite3_column_name(stmt, c)).toLower();
        for (int f = 0; f < FieldCount; ++f)
            if (col[f] < 0 && name == FieldNames[f])
                col[f] = c;
    }
    RowPacker packer(*this);
    auto bytes = [&](int f, const char *&text) {
        if (col[f] < 0) {
            text = nullptr;
            return 0;
        }
        text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col[f]));
        return sqlite3_column_bytes(stmt, col[f]);
    };
    // Most text fields of a row are NULL or empty (the key points after the
    // first few, and the study fields of a question never answered): the
    // text's first byte says so, and its length is asked only for a text
    // that is kept.  A text whose first byte is NUL reads as empty.
    auto text = [&](int f) -> quint32 {
        if (col[f] < 0)
            return 0;
        const char *t = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col[f]));
        if (!t || !*t)
            return 0;
        return packer.number(f, t, sqlite3_column_bytes(stmt, col[f]));
    };
    auto number = [&](int f) { return col[f] < 0 ? 0 : sqlite3_column_int(stmt, col[f]); };
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        StoredRow s;
        const char *id;
        const int idSize = bytes(A1, id);
        s.idAt = quint32(m_idBytes.size());
        s.idSize = quint16(std::max(0, idSize));
        if (idSize > 0)
            m_idBytes.append(id, s.idSize);
        s.key = text(A2);
        s.optionCount = qint8(number(A2_1));
        // Trailing empty key-point fields are not kept: a row reads them as
        // empty all the same.
        quint32 k[10];
        int kept = 0;
        for (int i = 0; i < 10; ++i)
            if ((k[i] = text(K3 + i)) != 0)
                kept = i + 1;
        s.keyPointsAt = quint32(m_keyPointTexts.size());
        s.keyPointCount = quint8(kept);
        for (int i = 0; i < kept; ++i)
            m_keyPointTexts.append(k[i]);
        s.chapter = text(A10);
        s.type = qint16(number(A13));
        s.noteIsNull = col[A14] < 0 || sqlite3_column_type(stmt, col[A14]) == SQLITE_NULL;
        s.note = text(A14);
        s.lastDate = text(E1);
        s.lastAnswer = text(E2);
        s.runAnswer = text(E2_1);
        s.attempts = number(E3);
        s.wrongScore = number(E4);
        s.status = qint8(number(F1));
        s.order = number(XX);
        s.timedOut = text(CSBS);
        s.editCount = qint16(number(ECOUNT));
        m_rows.append(s);
    }
    if (rc != SQLITE_DONE)
        throw store::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    setTypeFilter(m_filter);
}

int PracticeRun::typeCount(int typeCode) const
{
    int n = 0;
    for (const StoredRow &r : m_rows)
        if (r.type == typeCode)
            ++n;
    return n;
}

void PracticeRun::setTypeFilter(int typeCode)
{
    m_filter = typeCode;
    m_view.clear();
    for (int i = 0; i < m_rows.size(); ++i)
        if (typeCode == 0 || m_rows.at(i).type == typeCode)
            m_view << i;
}

const PracticeRun::StoredRow &PracticeRun::stored(int record) const
{
    if (!valid(record))
        throw std::out_of_range("question record out of range");
    return m_rows.at(m_view.at(record - 1));
}

QString PracticeRun::id(int record) const
{
    const StoredRow &s = stored(record);
    return QString::fromUtf8(m_idBytes.constData() + s.idAt, s.idSize);
}

QuestionRow PracticeRun::row(int record) const
{
    const StoredRow &s = stored(record);
    QuestionRow r;
    r.id = QString::fromUtf8(m_idBytes.constData() + s.idAt, s.idSize);
    r.key = m_texts.at(s.key);
    r.chapter = m_texts.at(s.chapter);
    r.keyPoints.reserve(s.keyPointCount);
    for (int i = 0; i < s.keyPointCount; ++i)
        r.keyPoints << m_texts.at(m_keyPointTexts.at(s.keyPointsAt + i));
    r.lastDate = m_texts.at(s.lastDate);
    r.lastAnswer = m_texts.at(s.lastAnswer);
    r.runAnswer = m_texts.at(s.runAnswer);
    r.attempts = s.attempts;
    r.wrongScore = s.wrongScore;
    r.optionCount = s.optionCount;
    r.type = s.type;
    r.note = m_texts.at(s.note);
    r.noteIsNull = s.noteIsNull;
    r.status = s.status;
    r.order = s.order;
    r.timedOut = m_texts.at(s.timedOut);
    r.editCount = s.editCount;
    return r;
}

void PracticeRun::pack(StoredRow &s, const QuestionRow &r)
{
    const QByteArray id = r.id.toUtf8();
    if (QByteArrayView(m_idBytes.constData() + s.idAt, s.idSize) != QByteArrayView(id)) {
        s.idAt = quint32(m_idBytes.size());
        s.idSize = quint16(id.size());
        m_idBytes.append(id);
    }
    s.key = textNumber(r.key);
    s.chapter = textNumber(r.chapter);
    // The key points as far as the last one given; a changed list takes a
    // new stretch (edits are few, the old stretch is simply left).
    int kept = 0;
    for (int i = 0; i < r.keyPoints.size() && i < 10; ++i)
        if (!r.keyPoints.at(i).isEmpty())
            kept = i + 1;
    bool same = kept == s.keyPointCount;
    for (int i = 0; same && i < kept; ++i)
        same = m_texts.at(m_keyPointTexts.at(s.keyPointsAt + i)) == r.keyPoints.at(i);
    if (!same) {
        s.keyPointsAt = quint32(m_keyPointTexts.size());
        s.keyPointCount = quint8(kept);
        for (int i = 0; i < kept; ++i)
            m_keyPointTexts.append(textNumber(r.keyPoints.at(i)));
    }
    s.lastDate = textNumber(r.lastDate);
    s.lastAnswer = textNumber(r.lastAnswer);
    s.runAnswer = textNumber(r.runAnswer);
    s.attempts = r.attempts;
    s.wrongScore = r.wrongScore;
    s.optionCount = qint8(r.optionCount);
    s.type = qint16(r.type);
    s.note = textNumber(r.note);
    s.noteIsNull = r.noteIsNull;
    s.status = qint8(r.status);
    s.order = r.order;
    s.timedOut = textNumber(r.timedOut);
    s.editCount = qint16(r.editCount);
}

void PracticeRun::setRow(int record, const QuestionRow &row)
{
    stored(record);   // throws for a record outside the list
    pack(m_rows[m_view.at(record - 1)], row);
}

JudgeOutcome PracticeRun::judge(int record, const QString &answer)
{
    QuestionRow r = row(record);
    const JudgeOutcome out = applyJudgedAnswer(m_dm, r, answer);
    static_cast<QuestionState &>(r) = out.after;
    setRow(record, r);
    return out;
}

void PracticeRun::setVoided(int record, bool voided)
{
    QuestionRow r = row(record);
    if (voided) {
        m_dm.exec(QStringLiteral("update tab_answ set f1=1, e2='zero' where A1=?"), {r.id});
        r.status = 1;
        r.lastAnswer = QStringLiteral("zero");
    } else {
        m_dm.exec(QStringLiteral("update tab_answ set f1=0 where A1=?"), {r.id});
        r.status = 0;
    }
    setRow(record, r);
}

void PracticeRun::markTimedOut(int record)
{
    QuestionRow r = row(record);
    m_dm.exec(QStringLiteral("update tab_answ set csbs='Y' where A1=?"), {r.id});
    r.timedOut = QStringLiteral("Y");
    setRow(record, r);
}

void PracticeRun::setNote(int record, const QString &note, bool isNull)
{
    QuestionRow r = row(record);
    m_dm.exec(QStringLiteral("update tab_answ set A14=? where A1=?"), {isNull ? QVariant() : QVariant(note), r.id});
    r.note = note;
    r.noteIsNull = isNull;
    setRow(record, r);
}

QuestionContent loadQuestionContent(TDM1 &dm, const QString &id)
{
    QuestionContent c;
    {
        QSqlQuery q = dm.exec(QStringLiteral("select A15, jx from tab_exer where A1=?"), {id});
        if (q.next()) {
            c.found = true;
            c.body = q.value(0).toByteArray();
            c.hasExplanation = !q.value(1).isNull();
            c.explanation = q.value(1).toByteArray();
        }
        q.finish();
    }
    c.isSubQuestion = id.contains(QLatin1Char('-'));
    if (c.isSubQuestion) {
        QSqlQuery q = dm.exec(QStringLiteral("select A15 from tab_title where A1=?"), {materialId(id)});
        if (q.next())
            c.material = q.value(0).toByteArray();
        q.finish();
    }
    return c;
}

bool fillQuestionBody(const QuestionContent &content, QTextDocument &upper, QTextDocument &lower)
{
    if (content.isSubQuestion) {
        richtext::readInto(upper, content.material);
        richtext::readInto(lower, content.body);
    } else {
        richtext::readInto(upper, content.body);
        lower.clear();
    }
    return content.found;
}

JudgeOutcome judgeAndShowNext(PracticeRun &run, int record, const QString &answer, int next, QTextDocument &upper,
                              QTextDocument &lower)
{
    JudgeOutcome out;
    if (run.valid(record))
        out = run.judge(record, answer);
    if (run.valid(next))
        fillQuestionBody(loadQuestionContent(run.dm(), run.id(next)), upper, lower);
    return out;
}

} // namespace practice
