// Paper records: list, figures and deletion.
#include "exam/PaperRecords.h"

#include "common/CommonRoutines.h"
#include "store/dm.h"

#include <QSqlQuery>

namespace exam {

QVector<PaperRecord> listPaperRecords(TDM1 &dm)
{
    QVector<PaperRecord> out;
    QSqlQuery q = dm.exec(QStringLiteral("select A1, A3, A6, D2, A3_1 from tab_cj order by A3_1 DESC"));
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2), q.value(3).toString(), q.value(4).toInt()});
    q.finish();
    return out;
}

RecordFigures recordFigures(TDM1 &dm, int totalScore)
{
    RecordFigures f;
    f.exams = dm.scalar(QStringLiteral("select count(*) from tab_cj")).toInt();
    if (f.exams == 0)
        return f;
    f.passed = dm.scalar(QStringLiteral("select count(*) from tab_cj where A6 >= ?"), {passMark(totalScore)}).toInt();
    const QVariant avg = dm.scalar(QStringLiteral("select avg(A6) as avg_fs from tab_cj"));
    f.average = avg.isNull() ? 0 : int(roundHalfEven(avg.toDouble()));
    return f;
}

QString leastMarkNotice(int leastMark)
{
    return QStringLiteral("[提示]：成绩少于 ") + QString::number(leastMark) + QStringLiteral(" 分的试卷，不被保留。");
}

void deletePaper(TDM1 &dm, const QString &tableName)
{
    DropExamTable(dm, tableName);
    dm.exec(QStringLiteral("delete from tab_cj where A1=?"), {tableName});
}

} // namespace exam
