// Common routines shared by the windows.
#include "common/CommonRoutines.h"

#include "store/dm.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <cmath>

int TypeToPage(int typeCode)
{
    switch (typeCode) {
    case 61:
    case 62:
        return 0;
    case 65:
        return 1;
    case 71:
        return 3;
    case 73:
        return 5;
    // Case analysis (64) is self-assessed like the other subjective types.
    case 64:
    case 74:
    case 75:
    case 76:
    case 77:
        return 4;
    default:
        return 99;
    }
}

long long roundHalfEven(double v) { return static_cast<long long>(std::nearbyint(v)); }

int PaperTotalScore(TDM1 &dm)
{
    // Type table names come only from setTypeTable ("tab_tx" + a number).
    QSqlQuery q = dm.execText(QStringLiteral("select B2, B3 from ") + dm.typeTable());
    long long total = 0;
    while (q.next())
        total += roundHalfEven(q.value(0).toDouble()) * roundHalfEven(q.value(1).toDouble());
    return int(total);
}

bool IsPaperTableName(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^tab_exam[0-9]+$"), QRegularExpression::CaseInsensitiveOption);
    return re.match(name).hasMatch();
}

void DropExamTable(TDM1 &dm, const QString &name)
{
    // Only paper tables may be dropped: a tampered record naming any other
    // table (tab_answ, say) drops nothing and keeps its record.
    if (!IsPaperTableName(name))
        return;
    try {
        const QVariant found = dm.scalar(
            QStringLiteral("select name from sqlite_master where type='table' and name = ? collate nocase"), {name});
        if (!found.isValid())
            return;
        DbTransaction tx(dm);
        dm.execText(QStringLiteral("drop table ") + found.toString());
        dm.exec(QStringLiteral("delete from tab_cj where A1=?"), {name});
        tx.commit();
    } catch (...) {
    }
}
