// Table definitions of the question bank.  Text columns compare without
// regard to letter case (COLLATE NOCASE), dates are yyyy-MM-dd text,
// durations h:mm:ss text, and every counter the program increments is
// NOT NULL DEFAULT 0 so that "x = x + 1" always counts.
#include "store/Schema.h"

#include "store/DbError.h"
#include "store/LongWork.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>
#include <utility>
#include <vector>

namespace store {

namespace {

struct Table {
    const char *name;
    std::vector<std::pair<const char *, const char *>> columns;
    const char *constraints = nullptr;
};

constexpr const char *Txt = "TEXT COLLATE NOCASE";
constexpr const char *Counter = "INTEGER NOT NULL DEFAULT 0";

std::vector<Table> tables()
{
    std::vector<Table> t;
    t.push_back({"tab_answ",
                 {{"A1", "TEXT COLLATE NOCASE NOT NULL PRIMARY KEY"},
                  {"A2", Txt},
                  {"A2_1", Counter},
                  {"K3", Txt}, {"K4", Txt}, {"K5", Txt}, {"K6", Txt}, {"K7", Txt},
                  {"K8", Txt}, {"K9", Txt}, {"K10", Txt}, {"K11", Txt}, {"K12", Txt},
                  {"A10", Txt},
                  {"A13", "INTEGER"},
                  {"A14", "TEXT"},
                  {"E1", "TEXT"},
                  {"E2", Txt},
                  {"E2_1", Txt},
                  {"E3", Counter},
                  {"E4", Counter},
                  // Voided = 1; a NULL status is tolerated (selections skip it).
                  {"F1", "INTEGER DEFAULT 0"},
                  {"xx", "INTEGER NOT NULL DEFAULT 0"},
                  {"csbs", Txt},
                  {"ecount", Counter}}});
    t.push_back({"tab_exer", {{"A1", "TEXT COLLATE NOCASE NOT NULL PRIMARY KEY"}, {"A15", "BLOB"}, {"jx", "BLOB"}}});
    t.push_back({"tab_title", {{"A1", "TEXT COLLATE NOCASE NOT NULL PRIMARY KEY"}, {"A15", "BLOB"}}});
    t.push_back({"tab_kmmc",
                 {{"bh", "INTEGER NOT NULL DEFAULT 0"},
                  {"C1", Txt},
                  {"C1_1", "TEXT"},
                  {"C2", "TEXT"},
                  {"C3", Counter},
                  {"C4", Counter},
                  {"C6", "TEXT"},
                  {"C7", "TEXT"},
                  {"D1", Counter},
                  {"D2", Counter},
                  {"jx", "BLOB"}}});
    t.push_back({"tab_fgmc",
                 {{"id", Txt}, {"bh", "INTEGER NOT NULL DEFAULT 0"}, {"n", "TEXT"},
                  {"q", Counter}, {"q1", Counter}, {"q2", Counter}, {"q4", Counter}}});
    t.push_back({"tab_rule",
                 {{"id", Txt}, {"ftid", Txt}, {"sn", "TEXT"}, {"n", "BLOB"},
                  {"q", Counter}, {"q1", Counter}, {"q2", Counter}, {"q4", Counter}}});
    for (const char *tx : {"tab_tx1", "tab_tx2", "tab_tx3", "tab_tx4", "tab_tx5"})
        t.push_back({tx,
                     {{"A1", "INTEGER NOT NULL"}, {"B1", "TEXT"}, {"B2", Counter},
                      {"B3", "REAL NOT NULL DEFAULT 0"}, {"time", "REAL NOT NULL DEFAULT 1"}}});
    t.push_back({"tab_plan",
                 {{"LeastMark", Counter}, {"ExamTime", Counter}, {"PlanMark", Counter},
                  {"PlanAmount", Counter}, {"PlanTime", Counter}, {"ExamDate", "TEXT"}}});
    t.push_back({"tab_cj",
                 {{"A1", Txt}, {"A3", "TEXT"}, {"A3_1", Counter}, {"D1", "TEXT"}, {"A6", "REAL"}, {"D2", "TEXT"}}});
    t.push_back({"tab_rz",
                 {{"A1", "TEXT NOT NULL PRIMARY KEY"},
                  {"A2", Counter}, {"A3", Counter}, {"B1", Counter}, {"B2", Counter},
                  {"D1", "TEXT"}, {"A4", "TEXT"}}});
    t.push_back({"tab_sj", {{"sjbs", Txt}, {"cpbs", Txt}}});
    return t;
}

const char *const Indexes[] = {
    "CREATE INDEX ix_answ_a10 ON tab_answ(A10)",
    // The chapter selections compare a prefix of A10 of the chapter's length
    // (2, 4 or 6 characters); these expression indexes serve them directly.
    // Practice runs on chapters (4) and sections (6): their new-question
    // selection is ordered by a13,a10,xx,a1, so those indexes carry the
    // same columns after the prefix and the rows come out in order without
    // a sort.  A1 is unique, so no two rows tie.  The subject prefix (2)
    // stays a plain expression index.
    "CREATE INDEX ix_answ_a10_2 ON tab_answ(substr(A10,1,2))",
    "CREATE INDEX ix_answ_a10_4 ON tab_answ(substr(A10,1,4), A13, A10, xx, A1)",
    "CREATE INDEX ix_answ_a10_6 ON tab_answ(substr(A10,1,6), A13, A10, xx, A1)",
    // Wrong questions and review come by a13,e3,e4,e1,xx,a1.  Each has an
    // index of its own holding only the rows it can select (the conditions
    // repeat the selections' own terms, so the engine sees they fit), in
    // that order after the prefix: the list is read without a sort and
    // without passing over the chapter's other questions.
    "CREATE INDEX ix_answ_a10_4_wrong ON tab_answ(substr(A10,1,4), A13, E3, E4, E1, xx, A1) WHERE (E4 < 0) AND (f1<>1)",
    "CREATE INDEX ix_answ_a10_6_wrong ON tab_answ(substr(A10,1,6), A13, E3, E4, E1, xx, A1) WHERE (E4 < 0) AND (f1<>1)",
    "CREATE INDEX ix_answ_a10_4_done ON tab_answ(substr(A10,1,4), A13, E3, E4, E1, xx, A1) WHERE E2 <> ''",
    "CREATE INDEX ix_answ_a10_6_done ON tab_answ(substr(A10,1,6), A13, E3, E4, E1, xx, A1) WHERE E2 <> ''",
    "CREATE INDEX ix_answ_a13 ON tab_answ(A13, A10)",
    // A mock paper draws each of its lines (subject prefix, type) from the
    // line's questions not voided, least practised first, ties in rowid
    // order.  This index holds just those rows in just that order (the rowid
    // ends every index key), so a line is read by stepping its entries and
    // the table is not touched.  "A13 IS NOT NULL" keeps it to statements
    // that name a type: the practice selections go on using the prefix
    // indexes above.
    "CREATE INDEX ix_answ_exam ON tab_answ(substr(A10,1,2), A13, E3) WHERE f1 <> 1 AND A13 IS NOT NULL",
    // The questions that cite a key point are found field by field, K3 to
    // K12 (counting a key point's questions after an edit, key-point
    // practice).  Most questions fill only the first few fields, so the
    // later indexes hold just the filled ones; the statements repeat the
    // "<> ''" that lets the engine use them.
    "CREATE INDEX ix_answ_k3 ON tab_answ(K3)",
    "CREATE INDEX ix_answ_k4 ON tab_answ(K4) WHERE K4 <> ''",
    "CREATE INDEX ix_answ_k5 ON tab_answ(K5) WHERE K5 <> ''",
    "CREATE INDEX ix_answ_k6 ON tab_answ(K6) WHERE K6 <> ''",
    "CREATE INDEX ix_answ_k7 ON tab_answ(K7) WHERE K7 <> ''",
    "CREATE INDEX ix_answ_k8 ON tab_answ(K8) WHERE K8 <> ''",
    "CREATE INDEX ix_answ_k9 ON tab_answ(K9) WHERE K9 <> ''",
    "CREATE INDEX ix_answ_k10 ON tab_answ(K10) WHERE K10 <> ''",
    "CREATE INDEX ix_answ_k11 ON tab_answ(K11) WHERE K11 <> ''",
    "CREATE INDEX ix_answ_k12 ON tab_answ(K12) WHERE K12 <> ''",
    // Starting a practice run empties E2_1 everywhere; only the rows that
    // still hold an answer need writing, and this index finds them.
    "CREATE INDEX ix_answ_e2_1 ON tab_answ(E2_1) WHERE E2_1 IS NOT ''",
    "CREATE INDEX ix_kmmc_c1 ON tab_kmmc(C1)",
    "CREATE INDEX ix_kmmc_bh ON tab_kmmc(bh)",
    "CREATE INDEX ix_fgmc_id ON tab_fgmc(id)",
    "CREATE INDEX ix_fgmc_bh ON tab_fgmc(bh)",
    "CREATE INDEX ix_rule_ftid ON tab_rule(ftid)",
    "CREATE INDEX ix_rule_id ON tab_rule(id)",
    "CREATE INDEX ix_cj_a1 ON tab_cj(A1)",
    "CREATE INDEX ix_cj_a3_1 ON tab_cj(A3_1)",
};

} // namespace

QStringList shippedTables()
{
    QStringList out;
    for (const Table &t : tables())
        out << QString::fromLatin1(t.name);
    return out;
}

QStringList tableColumns(const QString &table)
{
    for (const Table &t : tables()) {
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) {
            QStringList cols;
            for (const auto &c : t.columns)
                cols << QString::fromLatin1(c.first);
            return cols;
        }
    }
    return {};
}

QStringList schemaStatements()
{
    QStringList out;
    for (const Table &t : tables()) {
        QString sql = QStringLiteral("CREATE TABLE ") + QLatin1String(t.name) + QStringLiteral(" (");
        bool first = true;
        for (const auto &c : t.columns) {
            if (!first)
                sql += QLatin1Char(',');
            first = false;
            sql += QLatin1String(c.first) + QLatin1Char(' ') + QLatin1String(c.second);
        }
        sql += QLatin1Char(')');
        out << sql;
    }
    for (const char *ix : Indexes)
        out << QString::fromLatin1(ix);
    return out;
}

void refreshIndexes(QSqlDatabase &db)
{
    QSqlQuery q(db);
    QHash<QString, QString> stored;
    if (!q.exec(QStringLiteral("select name, sql from sqlite_master where type='index' and sql is not null")))
        throw DbError(q.lastError().text());
    while (q.next())
        stored.insert(q.value(0).toString().toLower(), q.value(1).toString());
    QStringList work;
    for (const char *ix : Indexes) {
        const QString sql = QString::fromLatin1(ix);
        const QString name = sql.section(QLatin1Char(' '), 2, 2).toLower();
        const auto it = stored.constFind(name);
        if (it != stored.constEnd() && it.value() == sql)
            continue;
        if (it != stored.constEnd())
            work << QStringLiteral("DROP INDEX ") + name;
        work << sql;
    }
    if (work.isEmpty())
        return;
    // Building an index on a large bank takes seconds: the waiting window
    // says so and keeps painting meanwhile.
    sqlite3 *handle = handleOf(db);
    const QString stage = QStringLiteral("正在整理题库，请等待...");
    LongWork longWork(handle, stage);
    if (!db.transaction())
        throw DbError(db.lastError().text());
    for (qsizetype i = 0; i < work.size(); ++i) {
        const QString &s = work.at(i);
        longWork.step(stage, int(i * 100 / work.size()));
        if (!q.exec(s)) {
            const QString err = q.lastError().text();
            q.finish();
            db.rollback();
            throw DbError(err);
        }
    }
    q.finish();
    if (handle ? !longWork.commitAside(stage, 98) : !db.commit()) {
        const QString err = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : db.lastError().text();
        db.rollback();
        throw DbError(err);
    }
    longWork.finish(stage, 99);
}

void createSchema(QSqlDatabase &db)
{
    if (!db.transaction())
        throw DbError(db.lastError().text());
    QSqlQuery q(db);
    const QStringList statements = schemaStatements() << QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion);
    for (const QString &s : statements) {
        if (!q.exec(s)) {
            const QString err = q.lastError().text();
            db.rollback();
            throw DbError(err);
        }
    }
    if (!db.commit())
        throw DbError(db.lastError().text());
}

} // namespace store
