// Marking of mock papers and the result record.
#include "exam/Marking.h"

#include "common/CommonRoutines.h"
#include "store/dm.h"

#include <QSqlQuery>

namespace exam {

int UnansweredCount(TDM1 &dm, const QString &tableName)
{
    QSqlQuery q = dm.execText(QStringLiteral("select A1 from ") + tableName
                              + QStringLiteral(" where E2_1 = '' or E2_1 is null"));
    int n = 0;
    while (q.next())
        ++n;
    return n;
}

QString submitQuestionText(int unanswered)
{
    if (unanswered == 0)
        return QStringLiteral("恭喜你已经做完试卷，确定要交卷吗？");
    return QStringLiteral("你还有") + QString::number(unanswered) + QStringLiteral("道题未做，确定要交卷吗？");
}

QString scoreStatement(int subject, const QString &tableName)
{
    const QString tx = QStringLiteral("tab_tx") + QString::number(subject);
    const QString &t = tableName;
    return QStringLiteral("select sum(") + tx + QStringLiteral(".B3) as ZFS from ") + t + QLatin1Char(',') + tx
           + QStringLiteral(" where ") + t + QStringLiteral(".A13 = ") + tx + QStringLiteral(".A1 and ") + t
           + QStringLiteral(".A2 = ") + t + QStringLiteral(".E2_1");
}

double PaperScore(TDM1 &dm, int subject, const QString &tableName)
{
    QSqlQuery q = dm.execText(scoreStatement(subject, tableName));
    const double score = q.next() ? q.value(0).toDouble() : 0.0;
    q.finish();
    return score;
}

int readLeastMark(TDM1 &dm)
{
    return dm.scalar(QStringLiteral("select LeastMark from tab_plan order by rowid limit 1")).toInt();
}

MarkResult MarkPaper(TDM1 &dm, int subject, const QString &tableName, const QString &timeUsed)
{
    if (!IsPaperTableName(tableName))
        throw store::DbError(QStringLiteral("not a paper table: ") + tableName);
    DbTransaction tx(dm);
    MarkResult r;
    r.score = PaperScore(dm, subject, tableName);
    r.belowLeastMark = BelowLeastMark(readLeastMark(dm), r.score);
    // The first record of that name, as locating it finds it.
    dm.exec(QStringLiteral("update tab_cj set A6=?, D2=? where rowid = "
                           "(select rowid from tab_cj where A1=? order by rowid limit 1)"),
            {r.score, timeUsed, tableName});
    dm.AddStudyTime(timeUsed);
    tx.commit();
    return r;
}

void voidPaper(TDM1 &dm, const QString &tableName, int unanswered, const QString &timeUsed)
{
    DropExamTable(dm, tableName);
    if (voidingAddsStudyTime(unanswered))
        dm.AddStudyTime(timeUsed);
}

} // namespace exam
