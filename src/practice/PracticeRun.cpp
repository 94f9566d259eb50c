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

namespace practice {

namespace {

enum Field { A1, A2, A2_1, K3, A10 = K3 + 10, A13, A14, E1, E2, E2_1, E3, E4, F1, XX, CSBS, ECOUNT, FieldCount };

const char *const FieldNames[FieldCount] = {"a1", "a2", "a2_1", "k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10", "k11", "k12",
                                            "a10", "a13", "a14", "e1", "e2", "e2_1", "e3", "e4", "f1", "xx", "csbs", "ecount"};

// Texts that recur across the rows of a list (chapter codes, keys, key
// points, dates, marks) are kept once and shared by every row that holds
// them; ids and notes are read as they are.
class SharedTexts {
public:
    // The text of a field of the current row.  The rows of a list come by
    // type and chapter, so a field often holds what it held in the row
    // before: that text is given again without looking it up.
    QString get(int field, const char *utf8, int bytes)
    {
        if (bytes <= 0)
            return QString();
        Last &last = m_last[size_t(field)];
        if (last.key.size() == bytes && std::memcmp(last.key.data(), utf8, size_t(bytes)) == 0)
            return last.text;
        const QByteArrayView key(utf8, bytes);
        auto it = m_texts.constFind(key);
        if (it == m_texts.constEnd()) {
            m_keys.emplace_back(utf8, bytes);
            it = m_texts.insert(QByteArrayView(m_keys.back()), QString::fromUtf8(utf8, bytes));
        }
        last.key = it.key();
        last.text = it.value();
        return last.text;
    }

private:
    struct Last {
        QByteArrayView key;   // points into m_keys
        QString text;
    };
    std::deque<QByteArray> m_keys;   // owns the bytes the views point at
    QHash<QByteArrayView, QString> m_texts;
    std::array<Last, FieldCount> m_last;
};

} // namespace

bool PracticeRun::load(const QString &selection)
{
    m_rows.clear();
    m_view.clear();
    clearRunAnswers(m_dm);
    loadRows(selection);
    return !m_rows.isEmpty();
}

void PracticeRun::loadRows(const QString &selection)
{
    // The list of a large chapter runs to tens of thousands of rows: the
    // selection is stepped forward once on the engine's handle and each row
    // keeps only what the window uses, with recurring texts shared.
    m_rows.clear();
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
    SharedTexts shared;
    auto bytes = [&](int f, const char *&text) {
        if (col[f] < 0) {
            text = nullptr;
            return 0;
        }
        text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col[f]));
        return sqlite3_column_bytes(stmt, col[f]);
    };
    auto sharedText = [&](int f) {
        const char *t;
        const int n = bytes(f, t);
        return shared.get(f, t, n);
    };
    auto ownText = [&](int f) {
        const char *t;
        const int n = bytes(f, t);
        return n > 0 ? QString::fromUtf8(t, n) : QString();
    };
    auto number = [&](int f) { return col[f] < 0 ? 0 : sqlite3_column_int(stmt, col[f]); };
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QuestionRow r;
        r.id = ownText(A1);
        r.key = sharedText(A2);
        r.optionCount = number(A2_1);
        // Trailing empty key-point fields are not kept: value(k) reads them
        // as empty all the same.
        int last = -1;
        QString k[10];
        for (int i = 0; i < 10; ++i) {
            k[i] = sharedText(K3 + i);
            if (!k[i].isEmpty())
                last = i;
        }
        r.keyPoints.reserve(last + 1);
        for (int i = 0; i <= last; ++i)
            r.keyPoints << k[i];
        r.chapter = sharedText(A10);
        r.type = number(A13);
        r.noteIsNull = col[A14] < 0 || sqlite3_column_type(stmt, col[A14]) == SQLITE_NULL;
        r.note = ownText(A14);
        r.lastDate = sharedText(E1);
        r.lastAnswer = sharedText(E2);
        r.runAnswer = sharedText(E2_1);
        r.attempts = number(E3);
        r.wrongScore = number(E4);
        r.status = number(F1);
        r.order = number(XX);
        r.timedOut = sharedText(CSBS);
        r.editCount = number(ECOUNT);
        m_rows.append(std::move(r));
    }
    if (rc != SQLITE_DONE)
        throw store::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    // The list is not squeezed to its size: that would copy every row into a
    // new block while the old one is still held, costing more time and a
    // higher peak than the spare room it gives back.
    setTypeFilter(m_filter);
}

int PracticeRun::typeCount(int typeCode) const
{
    int n = 0;
    for (const QuestionRow &r : m_rows)
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

const QuestionRow &PracticeRun::row(int record) const
{
    if (!valid(record))
        throw std::out_of_range("question record out of range");
    return m_rows.at(m_view.at(record - 1));
}

QuestionRow &PracticeRun::row(int record)
{
    if (!valid(record))
        throw std::out_of_range("question record out of range");
    return m_rows[m_view.at(record - 1)];
}

JudgeOutcome PracticeRun::judge(int record, const QString &answer)
{
    QuestionRow &r = row(record);
    const JudgeOutcome out = applyJudgedAnswer(m_dm, r, answer);
    static_cast<QuestionState &>(r) = out.after;
    return out;
}

void PracticeRun::setVoided(int record, bool voided)
{
    QuestionRow &r = row(record);
    if (voided) {
        m_dm.exec(QStringLiteral("update tab_answ set f1=1, e2='zero' where A1=?"), {r.id});
        r.status = 1;
        r.lastAnswer = QStringLiteral("zero");
    } else {
        m_dm.exec(QStringLiteral("update tab_answ set f1=0 where A1=?"), {r.id});
        r.status = 0;
    }
}

void PracticeRun::markTimedOut(int record)
{
    QuestionRow &r = row(record);
    m_dm.exec(QStringLiteral("update tab_answ set csbs='Y' where A1=?"), {r.id});
    r.timedOut = QStringLiteral("Y");
}

void PracticeRun::setNote(int record, const QString &note, bool isNull)
{
    QuestionRow &r = row(record);
    m_dm.exec(QStringLiteral("update tab_answ set A14=? where A1=?"), {isNull ? QVariant() : QVariant(note), r.id});
    r.note = note;
    r.noteIsNull = isNull;
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
    if (run.valid(next)) {
        const QString id = run.row(next).id;
        fillQuestionBody(loadQuestionContent(run.dm(), id), upper, lower);
    }
    return out;
}

} // namespace practice
