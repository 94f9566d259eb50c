// Small banks for the mock exam tests: a subject's type table and enough
// questions for every line of its paper composition.
#pragma once

#include "exam/PaperDraw.h"
#include "support/TestBank.h"

#include <QMap>

namespace examfixture {

inline QString typeName(int code)
{
    switch (code) {
    case 61:
    case 62:
        return QStringLiteral("单项选择题");
    case 64:
        return QStringLiteral("案例分析题");
    case 65:
        return QStringLiteral("多项选择题");
    case 71:
        return QStringLiteral("判断题");
    case 73:
        return QStringLiteral("综合分析题");
    default:
        return QStringLiteral("主观题");
    }
}

inline double typeScore(int code)
{
    switch (code) {
    case 61:
        return 0.5;
    case 65:
        return 1;
    case 71:
        return 0.5;
    case 73:
        return 2;
    default:
        return 1;
    }
}

// Writes tab_tx<s> with one row per type of the composition (B2 = the
// number the paper draws) and, for each line of the composition, count +
// extra questions in section prefix + "0101", ids "<prefix><type><8 digits>".
// Returns the number of questions the paper should hold.
inline int fillSubject(TestBank &b, int subject, int extra = 3)
{
    QMap<int, int> perType;
    QList<int> order;
    for (const exam::DrawGroup &g : exam::paperComposition(subject)) {
        if (!perType.contains(g.typeCode))
            order << g.typeCode;
        perType[g.typeCode] += g.count;
    }
    const QString tx = QStringLiteral("tab_tx") + QString::number(subject);
    for (int code : order)
        b.run(QStringLiteral("insert into ") + tx + QStringLiteral(" (A1,B1,B2,B3,time) values (?,?,?,?,1)"),
              {code, typeName(code), perType.value(code), typeScore(code)});
    int total = 0;
    for (const exam::DrawGroup &g : exam::paperComposition(subject)) {
        const QString section = g.prefix + QStringLiteral("0101");
        if (b.value(QStringLiteral("select count(*) from tab_kmmc where C1=?"), {section}).toInt() == 0)
            b.addChapter(section);
        for (int i = 0; i < g.count + extra; ++i) {
            const QString id = g.prefix + QString::number(g.typeCode) + QString::number(i).rightJustified(8, QLatin1Char('0'));
            b.addQuestion(id, QStringLiteral("A"), g.typeCode, section);
        }
        total += g.count;
    }
    return total;
}

} // namespace examfixture
