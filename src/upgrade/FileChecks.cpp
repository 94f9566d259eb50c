// Checks of an upgrade file's rows before the merge.
//
// The merge appends whole tables, so a file that repeats a chapter code
// would leave the chapter window with two rows of one chapter (one of them
// empty) and split its key-point counters; a word in a counter would make
// the next "+1" start again from 1.  Both are cheaper to refuse than to
// mend afterwards.
#include "upgrade/FileChecks.h"

#include "store/DbError.h"
#include "store/LongWork.h"
#include "store/dm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace upgrade {

namespace {

QString errorText(const QSqlError &e)
{
    const QString d = e.databaseText();
    return d.isEmpty() ? e.text() : d;
}

QString identifier(const QString &name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

// A value the bank's INTEGER column turns into a whole number: an integer,
// a real without a fraction, or text that reads back as the same integer.
// NULL passes: the bank's NOT NULL constraints report it themselves.  The
// order keys (bh) only need to be numbers: rows placed between two others
// carry fractions.
QString wrongKind(const QString &column)
{
    const QString c = identifier(column);
    if (column.compare(QLatin1String("bh"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("typeof(%1) not in ('integer','real','null')").arg(c);
    return QStringLiteral("not (typeof(%1) in ('integer','null')"
                          " or (typeof(%1)='real' and %1 = cast(%1 as integer))"
                          " or (typeof(%1)='text' and cast(%1 as text) = cast(cast(%1 as integer) as text)))")
        .arg(c);
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

QString wrongKindOfValue(TDM1 &dm, const QSqlDatabase &file, const QStringList &tables)
{
    try {
        for (const QString &table : tables) {
            // The bank's own declaration says which columns hold numbers.
            QStringList cases, values, conditions;
            QSqlQuery info = dm.execText(QStringLiteral("select name from pragma_table_info('%1') "
                                                        "where upper(type) like 'INTEGER%'")
                                             .arg(table));
            while (info.next()) {
                const QString column = info.value(0).toString();
                const QString bad = wrongKind(column);
                cases << QStringLiteral("when %1 then '%2'").arg(bad, column);
                values << QStringLiteral("when %1 then quote(%2)").arg(bad, identifier(column));
                conditions << bad;
            }
            info.finish();
            if (conditions.isEmpty())
                continue;
            QSqlQuery q = onFile(file, QStringLiteral("select case %1 end, case %2 end from %3 where %4 limit 1")
                                           .arg(cases.join(QLatin1Char(' ')), values.join(QLatin1Char(' ')), identifier(table),
                                                conditions.join(QStringLiteral(" or "))));
            if (q.next())
                return QStringLiteral("%1.%2 holds %3, not a number of its kind").arg(table, q.value(0).toString(), q.value(1).toString());
        }
    } catch (const store::DbError &e) {
        return e.text();
    }
    return {};
}

// Reading a large file through takes a while: the waiting window says the
// file is being checked and keeps painting meanwhile.
static QString checkingStage() { return QStringLiteral("正在检查升级文件，请等待..."); }

QString checkUpgradeRows(TDM1 &dm, const QSqlDatabase &file, const QStringList &tables)
{
    store::LongWork work(store::handleOf(file), checkingStage(), store::LongWork::ReadOnly{});
    QString why = duplicateCode(dm, file);
    if (why.isEmpty())
        why = wrongKindOfValue(dm, file, tables);
    return why;
}

QString damagedPages(const QSqlDatabase &file)
{
    // A damaged page would otherwise surface in the middle of reading the
    // stamps or of the merge, as the engine's English text.
    // The engine checks the whole file in one step of its own, with no
    // word to the waiting window: the check runs aside.
    if (sqlite3 *h = store::handleOf(file)) {
        store::LongWork work(h, checkingStage(), store::LongWork::ReadOnly{});
        QString first, error;
        work.aside([&] {
            sqlite3_stmt *s = nullptr;
            if (sqlite3_prepare_v2(h, "PRAGMA quick_check(1)", -1, &s, nullptr) == SQLITE_OK) {
                if (sqlite3_step(s) == SQLITE_ROW)
                    first = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
                else
                    error = QString::fromUtf8(sqlite3_errmsg(h));
            } else {
                error = QString::fromUtf8(sqlite3_errmsg(h));
            }
            sqlite3_finalize(s);
        });
        if (!error.isEmpty())
            return error;
        return first == QLatin1String("ok") ? QString() : QStringLiteral("database disk image is malformed: ") + first;
    }
    QSqlQuery q(file);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")))
        return errorText(q.lastError());
    if (!q.next())
        return errorText(q.lastError());
    const QString first = q.value(0).toString();
    return first == QLatin1String("ok") ? QString() : QStringLiteral("database disk image is malformed: ") + first;
}

} // namespace upgrade
