// Numbering and saving new user questions.
#include "authoring/QuestionEntry.h"

#include "common/CommonRoutines.h"
#include "store/DbError.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QSqlQuery>
#include <algorithm>

namespace authoring {

QVector<Ttx> loadTypeTable(TDM1 &dm, int subject)
{
    if (subject == 0)
        subject = 1;
    dm.setTypeTable(subject);
    QVector<Ttx> out;
    QSqlQuery q = dm.execText(QStringLiteral("select A1, B1 from ") + dm.typeTable() + QStringLiteral(" order by A1 ASC"));
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    q.finish();
    return out;
}

const QStringList &subjectiveTypeNames()
{
    static const QStringList names{QStringLiteral("简答"), QStringLiteral("主观"), QStringLiteral("论述"),
                                   QStringLiteral("案例分析"), QStringLiteral("名词解释"), QStringLiteral("查找错误"),
                                   QStringLiteral("综合"), QStringLiteral("计算")};
    return names;
}

bool isSubjectiveType(const QString &typeName) { return subjectiveTypeNames().contains(typeName); }

QString answerRefusal(const QString &answer, int optionCount, int typeCode, bool subjective)
{
    const QString key = answer.trimmed().toUpper();
    if (key.isEmpty())
        return QStringLiteral("请填写试题答案！");
    const int page = TypeToPage(typeCode);
    if (subjective || page == 4 || page == 99)
        return {};
    if (page == 3)
        return key == QLatin1String("A") || key == QLatin1String("B") ? QString() : QStringLiteral("判断题的答案只能是A（对）或B（错）！");
    // The answer pages have six option buttons.
    const QChar last(u'A' + std::clamp(optionCount, 1, 6) - 1);
    for (QChar c : key)
        if (c < QLatin1Char('A') || c > last)
            return QStringLiteral("试题答案只能使用A到%1的字母！").arg(last);
    if (page == 0 && key.size() > 1)
        return QStringLiteral("单选题的答案只能是一个字母！");
    return {};
}

int nextSequenceNumber(TDM1 &dm)
{
    // Ids whose first letter is "U", in either case as the bank compares
    // ids: the prefix match is served by the id's own index instead of
    // reading every question.
    const QVariant r4m = dm.scalar(QStringLiteral(
        "select MAX(CAST(substr(A1,-4) AS INTEGER)) as r4m from tab_answ where A1 like 'U%'"));
    return (r4m.isNull() ? 0 : r4m.toInt()) + 1;
}

QString sequenceText(int n)
{
    const QString digits = QString::number(n);
    switch (digits.size()) {
    case 1: return QStringLiteral("0000") + digits;
    case 2: return QStringLiteral("000") + digits;
    case 3: return QStringLiteral("00") + digits;
    default: return digits;
    }
}

QString questionId(const QString &chapter, const QString &typeCode, int optionCount, const QString &sequence)
{
    return QStringLiteral("US") + chapter + typeCode + QString::number(optionCount) + sequence;
}

BoundStatement answInsert(const QString &id, const NewQuestion &q)
{
    BoundStatement s;
    s.sql = QStringLiteral("insert into tab_answ (a1,a2,a2_1,a10,a13");
    for (int i = 0; i < q.keyPoints.size(); ++i)
        s.sql += QStringLiteral(",k") + QString::number(i + 3);
    s.sql += QStringLiteral(",f1) values (?,?,?,?,?");
    for (int i = 0; i < q.keyPoints.size(); ++i)
        s.sql += QStringLiteral(",?");
    s.sql += QStringLiteral(",2)");
    s.binds << id << q.answer << q.optionText << q.chapter << q.typeCode.toInt();
    for (const QString &k : q.keyPoints)
        s.binds << k;
    return s;
}

BoundStatement exerInsert(const QString &id, const NewQuestion &q)
{
    BoundStatement s;
    s.sql = QStringLiteral("insert into tab_exer (a1,a15") + (q.hasExplanation ? QStringLiteral(",jx") : QString())
            + QStringLiteral(") values(?,?") + (q.hasExplanation ? QStringLiteral(",?") : QString()) + QStringLiteral(")");
    s.binds << id << q.body;
    if (q.hasExplanation)
        s.binds << q.explanation;
    return s;
}

QVector<BoundStatement> counterUpdates(const NewQuestion &q)
{
    QVector<BoundStatement> out;
    out.append({QStringLiteral("update tab_kmmc set c3=c3+1 where (C1 = ?) or (C1 = ?) or (C1 = ?) or (C1 = ?)"),
                {q.chapter, q.chapter.left(4), q.chapter.left(2), q.chapter.left(1)}});
    if (q.keyPoints.isEmpty())
        return out;
    QVariantList full, groups, headings;
    for (const QString &k : q.keyPoints) {
        full << k;
        groups << k.left(6);
        headings << k.left(1);
    }
    const QString in = sqltext::placeholders(int(q.keyPoints.size()));
    out.append({QStringLiteral("update tab_rule set q=q+1 where ftid in ") + in, full});
    out.append({QStringLiteral("update tab_fgmc set q=q+1 where id in ") + in, groups});
    out.append({QStringLiteral("update tab_fgmc set q=q+1 where id in ") + in, headings});
    return out;
}

void writeNewQuestion(TDM1 &dm, const QString &id, const NewQuestion &q)
{
    const BoundStatement answ = answInsert(id, q);
    dm.run(answ.sql, answ.binds);
    const BoundStatement exer = exerInsert(id, q);
    dm.run(exer.sql, exer.binds);
    for (const BoundStatement &u : counterUpdates(q))
        dm.run(u.sql, u.binds);
}

EntryOutcome saveNewQuestion(TDM1 &dm, const NewQuestion &q)
{
    EntryOutcome out;
    try {
        const int n = nextSequenceNumber(dm);
        if (n > MaxSequence) {
            out.result = EntryOutcome::TooMany;
            return out;
        }
        const QString id = questionId(q.chapter, q.typeCode, q.optionCount, sequenceText(n));
        DbTransaction tx(dm);
        writeNewQuestion(dm, id, q);
        tx.commit();
        out.result = EntryOutcome::Saved;
        out.id = id;
    } catch (const store::DbError &e) {
        out.result = EntryOutcome::Failed;
        out.error = e.text();
    }
    return out;
}

} // namespace authoring
