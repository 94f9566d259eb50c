// The question list of a practice run and the content of its questions.
#include "practice/PracticeRun.h"

#include "platform/RichText.h"
#include "practice/PracticeSelection.h"
#include "store/dm.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextDocument>
#include <stdexcept>

namespace practice {

namespace {

// Reads a field by name; the key-point selection has no xx and no ecount.
struct FieldReader {
    const QSqlQuery &q;
    QVector<int> idx;
    explicit FieldReader(const QSqlQuery &query, const QStringList &names) : q(query)
    {
        const QSqlRecord r = q.record();
        for (const QString &n : names)
            idx << r.indexOf(n);
    }
    QVariant at(int i) const { return idx[i] < 0 ? QVariant() : q.value(idx[i]); }
    QString text(int i) const { return at(i).toString(); }
    int number(int i) const { return at(i).toInt(); }
};

enum Field { A1, A2, A2_1, K3, A10 = K3 + 10, A13, A14, E1, E2, E2_1, E3, E4, F1, XX, CSBS, ECOUNT, FieldCount };

QStringList fieldNames()
{
    QStringList n{QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a2_1")};
    for (int k = 3; k <= 12; ++k)
        n << QStringLiteral("k%1").arg(k);
    n << QStringLiteral("a10") << QStringLiteral("a13") << QStringLiteral("a14") << QStringLiteral("e1") << QStringLiteral("e2")
      << QStringLiteral("e2_1") << QStringLiteral("e3") << QStringLiteral("e4") << QStringLiteral("f1") << QStringLiteral("xx")
      << QStringLiteral("csbs") << QStringLiteral("ecount");
    return n;
}

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
    m_rows.clear();
    QSqlQuery q = m_dm.execText(selection);
    const FieldReader f(q, fieldNames());
    while (q.next()) {
        QuestionRow r;
        r.id = f.text(A1);
        r.key = f.text(A2);
        r.optionCount = f.number(A2_1);
        for (int k = 0; k < 10; ++k)
            r.keyPoints << f.text(K3 + k);
        r.chapter = f.text(A10);
        r.type = f.number(A13);
        const QVariant note = f.at(A14);
        r.noteIsNull = note.isNull();
        r.note = note.toString();
        r.lastDate = f.text(E1);
        r.lastAnswer = f.text(E2);
        r.runAnswer = f.text(E2_1);
        r.attempts = f.number(E3);
        r.wrongScore = f.number(E4);
        r.status = f.number(F1);
        r.order = f.number(XX);
        r.timedOut = f.text(CSBS);
        r.editCount = f.number(ECOUNT);
        m_rows << r;
    }
    q.finish();
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
