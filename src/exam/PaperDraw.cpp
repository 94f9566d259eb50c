// The composition of the mock papers and the random draw of their questions.
#include "exam/PaperDraw.h"

#include "platform/Seams.h"

namespace exam {

QVector<DrawGroup> paperComposition(int subject)
{
    const QString p01 = QStringLiteral("01");
    const QString p02 = QStringLiteral("02");
    const QString p03 = QStringLiteral("03");
    const QString p04 = QStringLiteral("04");
    const QString p05 = QStringLiteral("05");
    switch (subject) {
    case 1:
        return {{61, p01, 25}, {61, p05, 15}, {65, p01, 9}, {65, p05, 6},
                {71, p01, 26}, {71, p05, 14}, {73, p01, 8}, {73, p05, 7}};
    case 2:
        return {{61, p02, 35}, {65, p02, 15}, {71, p02, 15}, {74, p02, 2}};
    case 3:
        return {{61, p03, 35}, {65, p03, 15}, {71, p03, 15}, {74, p03, 2}};
    case 4:
        return {{62, p04, 10}, {75, p04, 3}, {76, p04, 1}, {77, p04, 1}};
    case 5:
        return {{64, p05, 6}};
    default:
        return {};
    }
}

QVector<DrawGroup> compositionOfType(int subject, int typeCode)
{
    QVector<DrawGroup> out;
    for (const DrawGroup &g : paperComposition(subject))
        if (g.typeCode == typeCode)
            out.append(g);
    return out;
}

QString candidateChapterCondition(int subject)
{
    switch (subject) {
    case 1:
        return QStringLiteral("(substr(A10,1,2) = '01' or substr(A10,1,2) = '05') and");
    case 2:
        return QStringLiteral("(substr(A10,1,2) = '02') and");
    case 3:
        return QStringLiteral("(substr(A10,1,2) = '03') and");
    case 4:
        return QStringLiteral("(substr(A10,1,2) = '04') and");
    case 5:
        return QStringLiteral("(substr(A10,1,2) = '05') and");
    default:
        return QString();
    }
}

QString candidateSelection(int subject)
{
    return QStringLiteral("select * from tab_answ where ") + candidateChapterCondition(subject)
           + QStringLiteral(" (f1 <> 1) order by E3");
}

quint32 drawSeedFromClock() { return quint32(seams::clock().utcMsOfDay()); }

QVector<int> drawRows(DrawRandom &random, int n, int k)
{
    QVector<int> rows;
    if (n <= 0 || k <= 0)
        return rows;
    if (n < k) {
        // Not enough questions to draw from: the group gives what it has.
        for (int r = 1; r <= n; ++r)
            rows.append(r);
        return rows;
    }
    rows.reserve(k);
    for (int i = 0; i < k; ++i) {
        int r = int(random.below(quint32(n))) + 1;
        while (rows.contains(r))
            r = int(random.below(quint32(n))) + 1;
        rows.append(r);
    }
    return rows;
}

QString selectionCondition(const QStringList &idsInDrawOrder)
{
    if (idsInDrawOrder.isEmpty())
        return QString();
    // Each drawn id goes in front of the text built so far; the leading
    // "' or" is cut off at the end and the last literal closed.
    QString text;
    for (const QString &id : idsInDrawOrder) {
        QString literal = id;
        literal.replace(QLatin1Char('\''), QLatin1String("''"));
        text = QStringLiteral("' or a.A1='") + literal + text;
    }
    return text.mid(4) + QLatin1Char('\'');
}

QString DrawQuestions(const QVector<Candidate> &candidates, int typeCode, int count, const QString &prefix,
                      DrawRandom &random)
{
    // The rows that the filter "A13=t and a10 like 'p*' and f1<>1" lets
    // through, in the candidates' order (voided ones are not candidates).
    QVector<const Candidate *> passed;
    for (const Candidate &c : candidates)
        if (c.typeCode == typeCode && c.chapter.startsWith(prefix, Qt::CaseInsensitive))
            passed.append(&c);
    if (passed.isEmpty())
        return QString();
    QStringList ids;
    for (int r : drawRows(random, int(passed.size()), count))
        ids.append(passed.at(r - 1)->id);
    return selectionCondition(ids);
}

QString DrawQuestions(const QVector<Candidate> &candidates, int typeCode, int count, const QString &prefix)
{
    DrawRandom random(drawSeedFromClock());
    return DrawQuestions(candidates, typeCode, count, prefix, random);
}

} // namespace exam
