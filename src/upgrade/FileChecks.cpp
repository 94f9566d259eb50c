// Checks of an upgrade file's rows before the merge.
//
// The merge appends whole tables, so a file that repeats a chapter code
// would leave the chapter window with two rows of one chapter (one of them
// empty) and split its key-point counters; a word in a counter would make
// the next "+1" start again from 1.  Both are cheaper to refuse than to
// mend afterwards.
#include "upgrade/FileChecks.h"

#include "store/DbError.h"
#include "store/dm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

namespace upgrade {

namespace {

QString errorText(const QSqlError &e)
{
    const QString d = e.databaseText();
    return d.isEmpty() ? e.text() : d;
}

// Runs a query on the file; throws DbError with the engine's text.
QSqlQuery onFile(const QSqlDatabase &file, const QString &sql)
{
    QSqlQuery q(file);
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw store::DbError(errorText(q.lastError()));
    return q;
}

struct UniqueCode {
    const char *table;
    const char *column;
};
const UniqueCode UniqueCodes[] = {{"tab_kmmc", "C1"}, {"tab_rule", "ftid"}, {"tab_fgmc", "id"}};

} // namespace

QString duplicateCode(TDM1 &dm, const QSqlDatabase &file)
{
    try {
        for (const UniqueCode &u : UniqueCodes) {
            const QString table = QLatin1String(u.table);
            const QString column = QLatin1String(u.column);
            const QString name = table + QLatin1Char('.') + column;
            // Codes compare as the bank compares them: without regard to case.
            QSqlQuery twice = onFile(file, QStringLiteral("select %1 from %2 where %1 is not null group by %1 collate nocase "
                                                          "having count(*) > 1 limit 1")
                                               .arg(column, table));
            if (twice.next())
                return QStringLiteral("%1 '%2' occurs more than once in the upgrade file").arg(name, twice.value(0).toString());
            twice.finish();

            QJsonArray codes;
            QSqlQuery all = onFile(file, QStringLiteral("select distinct %1 from %2 where %1 is not null").arg(column, table));
            while (all.next())
                codes.append(all.value(0).toString());
            all.finish();
            if (codes.isEmpty())
                continue;
            const QVariant held = dm.scalar(QStringLiteral("select %1 from main.%2 where %1 in (select value from json_each(?)) limit 1")
                                                .arg(column, table),
                                            {QString::fromUtf8(QJsonDocument(codes).toJson(QJsonDocument::Compact))});
            if (held.isValid())
                return QStringLiteral("%1 '%2' is already in the bank").arg(name, held.toString());
        }
    } catch (const store::DbError &e) {
        return e.text();
    }
    return {};
}

QString checkUpgradeRows(TDM1 &dm, const QSqlDatabase &file, const QStringList &tables)
{
    Q_UNUSED(tables);
    return duplicateCode(dm, file);
}

} // namespace upgrade
