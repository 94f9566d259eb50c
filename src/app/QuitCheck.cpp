// The plan check of the "quit" command.
#include "app/QuitCheck.h"

#include "platform/Seams.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QSqlQuery>

QuitCheck checkStudyPlan(TDM1 &dm)
{
    QuitCheck r;
    int planMark = 0;
    qint64 planAmount = 0, planTime = 0;
    {
        QSqlQuery q = dm.exec(QStringLiteral("select PlanMark, PlanAmount, PlanTime from tab_plan limit 1"));
        if (q.next()) {
            planMark = q.value(0).toInt();
            planAmount = q.value(1).toLongLong();
            planTime = q.value(2).toLongLong();
        }
        q.finish();
    }
    qint64 doneAmount = 0, doneMinutes = 0;
    {
        QSqlQuery q = dm.exec(QStringLiteral("select A2, D1 from tab_rz where A1=?"), {sqltext::dateText(seams::clock().today())});
        if (q.next()) {
            doneAmount = q.value(0).toLongLong();
            const QString d1 = q.value(1).toString();
            q.finish();
            doneMinutes = TDM1::TimeToSeconds(d1) / 60;
        }
    }
    if (planMark == 0) {
        r.done = doneAmount;
        r.planned = planAmount;
    } else if (planMark == 1) {
        r.done = doneMinutes;
        r.planned = planTime;
    } else {
        return r;
    }
    r.outcome = r.done < r.planned ? QuitCheck::NotDone : (r.done == r.planned ? QuitCheck::Done : QuitCheck::Exceeded);
    return r;
}
