// Answer times per question type: loading and storing the type table's
// `time` column.
#include "common/AnswerTimes.h"

#include "common/ShellState.h"
#include "store/dm.h"

#include <algorithm>
#include <cmath>

namespace answertimes {

int subjectOf(int curSubject) { return curSubject == 0 ? 1 : curSubject; }

QVector<TypeRow> loadRows(TDM1 &dm)
{
    QVector<TypeRow> rows;
    dm.run(QStringLiteral("select A1, B1, time from ") + dm.typeTable() + QStringLiteral(" order by rowid"), {},
           [&rows](const QVariantList &r) {
               rows.push_back({r.at(0).toInt(), r.at(1).toString().trimmed(), r.at(2).toDouble()});
           });
    return rows;
}

double minutesToStore(double stored, double shown)
{
    const double kept = std::clamp(stored, kMinMinutes, kMaxMinutes);
    const double shownOfKept = std::round(kept * 10.0) / 10.0;
    return std::abs(shownOfKept - shown) < 1e-9 ? kept : shown;
}

QString saveRows(TDM1 &dm, int rowCount, const QVector<std::optional<Entry>> &entries, QVector<int> &times,
                 QVector<int> &codes)
{
    const QString table = dm.typeTable();
    times.resize(rowCount);
    codes.resize(rowCount);
    try {
        for (int i = 0; i < rowCount && i < entries.size(); ++i) {
            if (!entries.at(i))
                continue;
            const Entry &e = *entries.at(i);
            const QVariant row = dm.scalar(QStringLiteral("select rowid from ") + table
                                               + QStringLiteral(" where A1=? order by rowid limit 1"),
                                           {e.tag});
            if (!row.isValid())
                continue;
            dm.run(QStringLiteral("update ") + table + QStringLiteral(" set time=? where rowid=?"), {e.minutes, row});
            times[i] = typeTimeInterval(e.minutes);
            codes[i] = e.tag;
        }
    } catch (const store::DbError &ex) {
        return ex.text();
    }
    return QString();
}

} // namespace answertimes
