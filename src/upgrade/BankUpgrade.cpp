// Merging an upgrade file into the question bank.
//
// The file is read on a connection of its own (the stamps, the columns) and
// then attached read-only to the bank's connection, its path bound as an
// SQLite URI, so that the appends run on the bank inside one transaction.
// SQLite refuses ATTACH and DETACH inside a transaction, so the attach
// brackets the transaction rather than the other way round.
#include "upgrade/BankUpgrade.h"
#include "upgrade/FileChecks.h"

#include "store/DbError.h"
#include "store/LongWork.h"
#include "store/Schema.h"
#include "store/dm.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <memory>
#include <sqlite3.h>

namespace upgrade {

namespace {

const char *const Alias = "upgrade_file";

QString engineText(const QSqlError &e)
{
    const QString d = e.databaseText();
    return d.isEmpty() ? e.text() : d;
}

// An SQLite URI that opens the file read-only and never creates it.
QString readOnlyUri(const QString &path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
}

quint32 bigEndian(const uchar *p, int n)
{
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | p[i];
    return v;
}

// SQLite opens an empty file as an empty database and reads a cut-off file
// until it reaches the missing pages; neither is an upgrade file.  The
// header says how long the file must be.
bool looksComplete(const QString &path, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = f.errorString();
        return false;
    }
    const QByteArray head = f.read(100);
    const qint64 size = f.size();
    if (head.size() < 100 || !head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        *why = QStringLiteral("file is not a database");
        return false;
    }
    const auto *h = reinterpret_cast<const uchar *>(head.constData());
    quint32 pageSize = bigEndian(h + 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pages = bigEndian(h + 28, 4);
    // The page count is only kept up to date when it was written with the
    // change counter beside it.
    const bool countValid = pages > 0 && bigEndian(h + 92, 4) == bigEndian(h + 24, 4);
    if (countValid && size < qint64(pageSize) * pages) {
        *why = QStringLiteral("database disk image is malformed (file cut short)");
        return false;
    }
    return true;
}

// Runs SQL straight on the bank's handle, with values bound; onRow sees each
// result row.  Throws DbError with the engine's text.
class BankStatement {
public:
    BankStatement(sqlite3 *db, const QString &sql) : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK) {
            const QString err = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            throw store::DbError(err);
        }
    }
    ~BankStatement() { sqlite3_finalize(m_stmt); }
    BankStatement &bind(int i, const QString &text)
    {
        sqlite3_bind_text16(m_stmt, i, text.utf16(), int(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
        return *this;
    }
    BankStatement &bind(int i, qint64 n)
    {
        sqlite3_bind_int64(m_stmt, i, n);
        return *this;
    }
    // Steps to the end; returns the first column of the first row as a
    // number (0 without rows).
    qint64 run()
    {
        qint64 first = 0;
        bool seen = false;
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW)
            if (!seen) {
                seen = true;
                first = sqlite3_column_int64(m_stmt, 0);
            }
        if (rc != SQLITE_DONE)
            throw store::DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
        return first;
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

sqlite3 *bankHandle(TDM1 &dm) { return dm.handle(); }

QString identifier(const QString &name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

QStringList columnsOf(const QSqlDatabase &db, const QString &schema, const QString &table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA ") + schema + QStringLiteral(".table_info(") + table + QLatin1Char(')')))
        throw store::DbError(engineText(q.lastError()));
    QStringList cols;
    while (q.next())
        cols << q.value(1).toString();
    return cols;
}

// The bank's columns that the file's table lacks (letter case ignored).
QStringList missingColumns(const QStringList &bank, const QStringList &file)
{
    QStringList missing;
    for (const QString &c : bank)
        if (!file.contains(c, Qt::CaseInsensitive))
            missing << c;
    return missing;
}

// The questions of the file cite key points in K3..K12; the first empty one
// ends a question's list.  One row per question and key point cited.
// One row per question and key point it cites: K3..K12 up to the first
// empty one.  The slots of one question are told apart by their length of
// list, so "union all" needs no sort; a key point a question lists twice is
// made one row by the distinct of the caller.
QString citedKeyPoints(const QString &alias)
{
    QStringList parts;
    QString cond;
    for (int k = 3; k <= 12; ++k) {
        const QString col = QStringLiteral("K%1").arg(k);
        cond += (cond.isEmpty() ? QString() : QStringLiteral(" and ")) + QStringLiteral("coalesce(%1,'')<>''").arg(col);
        parts << QStringLiteral("select A1 as qid, %1 as kp from %2.tab_answ where %3").arg(col, alias, cond);
    }
    return parts.join(QStringLiteral(" union all "));
}

} // namespace

// The appended questions raise the question counters of the rows that were
// in the bank before, as entering them one by one would: C3 of the section
// and of its first 4, 2 and 1 characters, q of each key point cited, q of
// the group (6 characters) and of the first character of each.  A row
// counts once per question however often its code comes up.  Rows the file
// brought (rowid above the mark) carry their own counts.
QStringList counterRaiseStatements(const QString &alias)
{
    QStringList out;
    // A code's prefixes of 4, 2 and 1 characters that are shorter than the
    // code itself: each question names each row once without a sort.
    out << QStringLiteral("update tab_kmmc set C3 = C3 + t.n from "
                          "(select code, count(*) as n from ("
                          "select A10 as code from %1.tab_answ "
                          "union all select substr(A10,1,4) from %1.tab_answ where length(A10) > 4 "
                          "union all select substr(A10,1,2) from %1.tab_answ where length(A10) > 2 "
                          "union all select substr(A10,1,1) from %1.tab_answ where length(A10) > 1) "
                          "where code<>'' group by code) as t "
                          "where tab_kmmc.C1 = t.code and tab_kmmc.rowid <= ?1")
               .arg(alias);
    // The cited key points are worked out once for the three raises.
    out << QStringLiteral("create temp table upgrade_cited as select distinct qid, kp from (%1)").arg(citedKeyPoints(alias));
    out << QStringLiteral("update tab_rule set q = q + t.n from "
                          "(select kp, count(*) as n from temp.upgrade_cited group by kp) as t "
                          "where tab_rule.ftid = t.kp and tab_rule.rowid <= ?2");
    for (int len : {6, 1})
        out << QStringLiteral("update tab_fgmc set q = q + t.n from "
                              "(select id, count(*) as n from (select distinct qid, substr(kp,1,%1) as id from temp.upgrade_cited) "
                              "group by id) as t "
                              "where tab_fgmc.id = t.id and tab_fgmc.rowid <= ?3")
                   .arg(len);
    out << QStringLiteral("drop table temp.upgrade_cited");
    return out;
}

QString appendStatement(const QString &table, const QStringList &columns, const QString &alias)
{
    QStringList cols;
    for (const QString &c : columns)
        cols << identifier(c);
    const QString list = cols.join(QLatin1Char(','));
    return QStringLiteral("insert into main.%1 (%2) select %2 from %3.%1").arg(table, list, alias);
}

namespace {

qint64 lastRowid(sqlite3 *h, const char *table)
{
    return BankStatement(h, QStringLiteral("select coalesce(max(rowid), 0) from main.") + QLatin1String(table)).run();
}

} // namespace

QString mergeStage(const QString &table)
{
    const QString head = QStringLiteral("正在升级题库");
    const QString t = table.toLower();
    const QString what = t == QLatin1String("tab_kmmc")   ? QStringLiteral("章节")
                         : t == QLatin1String("tab_exer")  ? QStringLiteral("试题内容")
                         : t == QLatin1String("tab_answ")  ? QStringLiteral("试题")
                         : t == QLatin1String("tab_title") ? QStringLiteral("材料")
                         : t == QLatin1String("tab_rule") || t == QLatin1String("tab_fgmc") ? QStringLiteral("考点")
                                                                                              : QString();
    return what.isEmpty() ? head + QStringLiteral("，请等待...") : head + QStringLiteral("：") + what + QStringLiteral("，请等待...");
}

QStringList mergedTables()
{
    return {QStringLiteral("tab_kmmc"), QStringLiteral("tab_exer"), QStringLiteral("tab_answ"), QStringLiteral("tab_rule"),
            QStringLiteral("tab_fgmc")};
}

Message messageFor(Outcome outcome)
{
    switch (outcome) {
    case Outcome::NoPath: return {QStringLiteral("提示"), QStringLiteral("请点击文件夹按钮选择升级文件！"), 1};
    case Outcome::CannotOpen: return {QStringLiteral("错误"), QStringLiteral("无法打开升级文件！"), 2};
    case Outcome::ForeignProduct: return {QStringLiteral("提示"), QStringLiteral("升级文件不属于本软件！"), 1};
    case Outcome::AlreadyApplied: return {QStringLiteral("提示"), QStringLiteral("您已升级过了！"), 1};
    case Outcome::MergeFailed: return {QStringLiteral("提示"), QStringLiteral("升级失败！"), 2};
    case Outcome::Merged: return {QStringLiteral("提示"), QStringLiteral("升级成功！"), 0};
    case Outcome::EngineError: break;
    }
    return {};
}

// ------------------------------------------------------------ ADOCn2

UpgradeConnection::UpgradeConnection()
    : m_name(QStringLiteral("upgrade-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

UpgradeConnection::~UpgradeConnection() { close(); }

QSqlDatabase UpgradeConnection::db() const { return QSqlDatabase::database(m_name, false); }

bool UpgradeConnection::isOpen() const { return QSqlDatabase::contains(m_name) && db().isOpen(); }

void UpgradeConnection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase d = db();
        if (d.isOpen())
            d.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool UpgradeConnection::open(const QString &path, QString *why)
{
    close();
    if (!QFileInfo(path).isFile()) {
        *why = QStringLiteral("unable to open database file");
        return false;
    }
    if (!looksComplete(path, why))
        return false;
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    d.setDatabaseName(readOnlyUri(path));
    d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    bool ok = d.open();
    if (!ok)
        *why = engineText(d.lastError());
    if (ok) {
        // Opening reads nothing yet; the first read tells whether the file
        // is a database, and the schema version whether this program knows
        // its shape.
        QSqlQuery q(d);
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
            *why = engineText(q.lastError());
            ok = false;
        } else if (q.value(0).toInt() > store::SchemaVersion) {
            *why = QStringLiteral("schema version %1 is newer than %2").arg(q.value(0).toInt()).arg(store::SchemaVersion);
            ok = false;
        }
    }
    if (ok) {
        *why = damagedPages(d);
        ok = why->isEmpty();
    }
    if (!ok) {
        d = QSqlDatabase();
        close();
    }
    return ok;
}

// ------------------------------------------------------------ import

Result importUpgrade(TDM1 &dm, UpgradeConnection &cn2, const QString &path, const std::function<bool()> &beforeMerge)
{
    Result r;
    const QString file = path.trimmed();
    if (file.isEmpty())
        return r;
    // The checks of a large file leave the waiting window up for the merge;
    // whatever way this ends, it comes down.
    struct EndChecks {
        ~EndChecks() { store::LongWork::endReading(); }
    } endChecks;

    // 1. The file on the second connection.
    if (!cn2.open(file, &r.engineText)) {
        r.outcome = Outcome::CannotOpen;
        return r;
    }
    // 2. Its stamps: the first row of tab_sj, as text.
    {
        QSqlQuery q(cn2.db());
        if (!q.exec(QStringLiteral("select * from tab_sj"))) {
            r.outcome = Outcome::EngineError;
            r.engineText = engineText(q.lastError());
            return r;
        }
        if (q.next()) {
            r.sjbs = q.value(QStringLiteral("sjbs")).toString();
            r.cpbs = q.value(QStringLiteral("cpbs")).toString();
        }
    }
    try {
        // 3. Meant for this product?  4. Applied before?
        if (!dm.scalar(QStringLiteral("select 1 from tab_sj where cpbs=?"), {r.cpbs}).isValid()) {
            r.outcome = Outcome::ForeignProduct;
            return r;
        }
        if (dm.scalar(QStringLiteral("select 1 from tab_sj where sjbs=?"), {r.sjbs}).isValid()) {
            r.outcome = Outcome::AlreadyApplied;
            return r;
        }
    } catch (const store::DbError &e) {
        r.outcome = Outcome::EngineError;
        r.engineText = e.text();
        return r;
    }

    if (beforeMerge && !beforeMerge()) {
        r.outcome = Outcome::MergeFailed;
        return r;
    }

    // 5. The merge.  Every table appended must carry the bank's columns;
    // the appends name them, so a file whose columns stand in another order
    // still puts every value into its own field.
    r.outcome = Outcome::MergeFailed;
    struct Append {
        QString table;
        QStringList columns;
    };
    std::vector<Append> appends;
    try {
        QStringList tables = mergedTables();
        const QStringList fileTables = cn2.db().tables();
        // Sub-questions without their materials cannot be shown; the file's
        // materials come along when it has them.
        if (fileTables.contains(QStringLiteral("tab_title"), Qt::CaseInsensitive))
            tables << QStringLiteral("tab_title");
        for (const QString &t : tables) {
            const QStringList bankCols = columnsOf(dm.db(), QStringLiteral("main"), t);
            const QStringList fileCols = columnsOf(cn2.db(), QStringLiteral("main"), t);
            if (fileCols.isEmpty()) {
                r.engineText = QStringLiteral("no such table: ") + t;
                return r;
            }
            const QStringList missing = missingColumns(bankCols, fileCols);
            if (!missing.isEmpty()) {
                r.engineText = QStringLiteral("table %1 has no column named %2").arg(t, missing.join(QStringLiteral(", ")));
                return r;
            }
            appends.push_back({t, bankCols});
        }
    } catch (const store::DbError &e) {
        r.engineText = e.text();
        return r;
    }
    // The rows themselves, before anything is written.
    {
        QStringList checked;
        for (const Append &a : appends)
            checked << a.table;
        r.engineText = checkUpgradeRows(dm, cn2.db(), checked);
        if (!r.engineText.isEmpty())
            return r;
    }

    sqlite3 *h = nullptr;
    bool attached = false;
    try {
        if (dm.inTransaction())
            throw store::DbError(QStringLiteral("cannot attach an upgrade file inside a transaction"));
        h = bankHandle(dm);
        // A file still attached from an import whose detach failed goes first.
        if (BankStatement(h, QStringLiteral("select count(*) from pragma_database_list where name=?")).bind(1, QString::fromLatin1(Alias)).run())
            BankStatement(h, QStringLiteral("DETACH DATABASE ") + QLatin1String(Alias)).run();
        BankStatement(h, QStringLiteral("ATTACH DATABASE ? AS ") + QLatin1String(Alias)).bind(1, readOnlyUri(file)).run();
        attached = true;
        // The merge of a large file takes seconds: the waiting window names
        // each step and keeps painting while a step runs.
        const QStringList raises = counterRaiseStatements(QLatin1String(Alias));
        const int steps = int(appends.size() + raises.size()) + 1;
        int done = 0;
        store::LongWork work(h, mergeStage(QString()));
        auto next = [&](const QString &table) { work.step(mergeStage(table), done++ * 100 / steps); };
        DbTransaction tx(dm);
        const qint64 kmmcMark = lastRowid(h, "tab_kmmc");
        const qint64 ruleMark = lastRowid(h, "tab_rule");
        const qint64 fgmcMark = lastRowid(h, "tab_fgmc");
        for (const Append &a : appends) {
            next(a.table);
            BankStatement(h, appendStatement(a.table, a.columns, QLatin1String(Alias))).run();
        }
        for (const QString &raise : raises) {
            next(QString());
            BankStatement(h, raise).bind(1, kmmcMark).bind(2, ruleMark).bind(3, fgmcMark).run();
        }
        next(QString());
        BankStatement(h, QStringLiteral("insert into tab_sj(sjbs,cpbs) values(?,?)")).bind(1, r.sjbs).bind(2, r.cpbs).run();
        tx.commit([&] { return work.commitAside(mergeStage(QString()), 98); });
        work.finish(mergeStage(QString()), 99);
        r.outcome = Outcome::Merged;
    } catch (const store::DbError &e) {
        r.outcome = Outcome::MergeFailed;
        r.engineText = e.text();
    }
    if (attached) {
        try {
            BankStatement(h, QStringLiteral("DETACH DATABASE ") + QLatin1String(Alias)).run();
        } catch (const store::DbError &) {
            // The merge's outcome stands; the next import detaches it first.
        }
    }
    return r;
}

} // namespace upgrade
