// Checked copies of the question bank, their retention, and restoring one.
#include "store/BankBackup.h"

#include "store/BankDamage.h"
#include "store/Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <sqlite3.h>

namespace bankbackup {

namespace {

QString engineText(sqlite3 *h) { return QString::fromUtf8(sqlite3_errmsg(h)); }

// A connection of our own to a file, closed when it goes.
struct Connection {
    sqlite3 *h = nullptr;
    QString error;
    Connection(const QString &path, int flags)
    {
        const QByteArray name = QFile::encodeName(path);
        if (sqlite3_open_v2(name.constData(), &h, flags, nullptr) != SQLITE_OK)
            error = h ? engineText(h) : QStringLiteral("out of memory");
        if (h)
            sqlite3_extended_result_codes(h, 0);
    }
    ~Connection() { sqlite3_close_v2(h); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
};

// Runs a statement and returns the first column of each row as text; an
// engine error comes back in *error (with *rc its code).
QStringList column(sqlite3 *h, const char *sql, QString *error, int *rc = nullptr)
{
    QStringList out;
    sqlite3_stmt *stmt = nullptr;
    int r = sqlite3_prepare_v2(h, sql, -1, &stmt, nullptr);
    if (r == SQLITE_OK) {
        while ((r = sqlite3_step(stmt)) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        if (r == SQLITE_DONE)
            r = SQLITE_OK;
    }
    if (r != SQLITE_OK)
        *error = engineText(h);
    sqlite3_finalize(stmt);
    if (rc)
        *rc = r;
    return out;
}

// The engine's integrity check of the main database: empty when it
// passes, else the first problems it names.
QString integrity(sqlite3 *h, bool *damaged)
{
    QString error;
    int rc = SQLITE_OK;
    const QStringList lines = column(h, "PRAGMA integrity_check(20)", &error, &rc);
    if (!error.isEmpty()) {
        *damaged = bankdamage::isDamageCode(rc);
        return error;
    }
    if (lines == QStringList{QStringLiteral("ok")})
        return QString();
    *damaged = true;
    return lines.join(QLatin1Char('\n'));
}

// Steps a backup object to the end, a slice at a time.
int runBackup(sqlite3_backup *b, const Progress &progress, int slice)
{
    int rc;
    do {
        rc = sqlite3_backup_step(b, slice);
        if (progress)
            progress(sqlite3_backup_pagecount(b) - sqlite3_backup_remaining(b), sqlite3_backup_pagecount(b));
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    return rc;
}

const QRegularExpression &namePattern()
{
    static const QRegularExpression re(
        QStringLiteral("^VORDANBANK01-(\\d{8}-\\d{6})-(daily|upgrade|restore)\\.db$"));
    return re;
}

// Puts a file's contents on the disk; false when the system refused.
bool syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fdatasync(fd) == 0;
    ::close(fd);
    return ok;
}

// Runs work on a thread of its own and tells the progress every few
// milliseconds until it is done.
// The caller is woken the moment the work ends, so short work costs no
// more than it takes.
void besideCaller(const std::function<void()> &work, const Progress &progress)
{
    std::mutex m;
    std::condition_variable ended;
    bool done = false;
    std::thread worker([&] {
        work();
        const std::lock_guard<std::mutex> lock(m);
        done = true;
        ended.notify_one();
    });
    std::unique_lock<std::mutex> lock(m);
    do {
        lock.unlock();
        if (progress)
            progress(1, 1);
        lock.lock();
    } while (!ended.wait_for(lock, std::chrono::milliseconds(5), [&] { return done; }));
    lock.unlock();
    worker.join();
}

} // namespace

namespace {

qint64 systemFreeSpace(const QString &dir)
{
    const QStorageInfo disk(dir);
    return disk.isValid() ? disk.bytesAvailable() : -1;
}

FreeSpace g_freeSpace = systemFreeSpace;

} // namespace

void setFreeSpace(FreeSpace freeSpace) { g_freeSpace = freeSpace ? std::move(freeSpace) : FreeSpace(systemFreeSpace); }

QString backupDir(const QString &bankPath) { return QFileInfo(bankPath).absolutePath() + QStringLiteral("/backup/"); }

QString backupName(const QDateTime &when, const QString &reason)
{
    return QStringLiteral("VORDANBANK01-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QLatin1Char('-') +
           reason + QStringLiteral(".db");
}

Outcome copyChecked(sqlite3 *source, const QString &target, const Progress &progress)
{
    Outcome out;
    out.path = target;
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    {
        // A damaged source comes back in the outcome; it is not reported twice.
        bankdamage::Quiet quiet;
        Connection copy(part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!copy.error.isEmpty()) {
            out.error = copy.error;
            QFile::remove(part);
            return out;
        }
        sqlite3_backup *b = sqlite3_backup_init(copy.h, "main", source, "main");
        // The copy's commit does not wait for the disk; the whole file is
        // put on the disk once, below, before it takes its name.
        QString syncError;
        column(copy.h, "PRAGMA synchronous=OFF", &syncError);
        QElapsedTimer clock;
        clock.start();
        const int rc = b ? runBackup(b, progress, SlicePages) : SQLITE_ERROR;
        out.copyMs = clock.restart();
        if (!b)
            out.error = engineText(copy.h);
        else
            sqlite3_backup_finish(b);
        if (out.error.isEmpty() && rc != SQLITE_DONE) {
            out.error = QString::fromUtf8(sqlite3_errstr(rc));
            out.damaged = bankdamage::isDamageCode(rc);
        }
    }
    if (!out.error.isEmpty()) {
        QFile::remove(part);
        return out;
    }
    // The check of the copy and the wait for the disk are long single
    // steps; they run beside the caller on a connection of their own to
    // the copy, while the caller is told the progress.
    QElapsedTimer checkClock;
    checkClock.start();
    bool synced = false;
    besideCaller(
        [&] {
            bankdamage::Quiet quiet;
            Connection copy(part, SQLITE_OPEN_READWRITE);
            out.error = copy.error;
            // A plain rollback-journal file of its own, readable without
            // the bank's write-ahead log.
            if (out.error.isEmpty())
                column(copy.h, "PRAGMA journal_mode=DELETE", &out.error);
            if (out.error.isEmpty())
                out.error = integrity(copy.h, &out.damaged);
            out.checkMs = checkClock.elapsed();
            synced = out.error.isEmpty() && syncFile(part);
        },
        progress);
    if (out.error.isEmpty() && !synced)
        out.error = QStringLiteral("cannot write the copy to the disk: ") + part;
    if (!out.error.isEmpty()) {
        QFile::remove(part);
        return out;
    }
    QFile::remove(target);
    if (!QFile::rename(part, target)) {
        out.error = QStringLiteral("cannot name the copy ") + target;
        QFile::remove(part);
        return out;
    }
    out.ok = true;
    return out;
}

Outcome makeBackup(sqlite3 *source, const QString &bankPath, const QString &reason, const QDateTime &when,
                   const Progress &progress, const QString &keep)
{
    const QString dir = backupDir(bankPath);
    Outcome out;
    if (!QDir().mkpath(dir)) {
        out.error = QStringLiteral("cannot make the folder ") + dir;
        return out;
    }
    const qint64 bankSize = QFileInfo(bankPath).size() + QFileInfo(bankPath + QStringLiteral("-wal")).size();
    const qint64 free = g_freeSpace(dir);
    if (free >= 0 && free < 2 * bankSize) {
        out.skipped = true;
        out.error = QStringLiteral("free space %1 bytes, the bank needs twice %2").arg(free).arg(bankSize);
        return out;
    }
    // Leftovers of a copy that was cut short never count; they go now.
    for (const QString &f : QDir(dir).entryList({QStringLiteral("*.part")}, QDir::Files))
        QFile::remove(dir + f);
    out = copyChecked(source, dir + backupName(when, reason), progress);
    if (!out.ok)
        return out;
    const QList<Entry> all = findBackups(dir);
    for (int i : retentionDrops(all, when))
        if (all.at(i).path != out.path && QFileInfo(all.at(i).path) != QFileInfo(keep))
            QFile::remove(all.at(i).path);
    return out;
}

QString reasonText(const QString &reason)
{
    if (reason == QLatin1String(Daily))
        return QStringLiteral("每日");
    if (reason == QLatin1String(Upgrade))
        return QStringLiteral("升级前");
    if (reason == QLatin1String(Restore))
        return QStringLiteral("恢复前");
    return reason;
}

QList<Entry> findBackups(const QString &dir)
{
    QList<Entry> out;
    const QDir d(dir);
    for (const QString &f : d.entryList({QStringLiteral("VORDANBANK01-*.db")}, QDir::Files)) {
        const auto m = namePattern().match(f);
        if (!m.hasMatch())
            continue;
        const QDateTime when = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        if (when.isValid())
            out.push_back({d.absoluteFilePath(f), when, m.captured(2)});
    }
    std::sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return a.when > b.when; });
    return out;
}

QList<int> retentionDrops(const QList<Entry> &entries, const QDateTime &now)
{
    QList<int> order(entries.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return entries[a].when > entries[b].when; });

    QList<bool> keep(entries.size(), false);
    if (!order.isEmpty())
        keep[order.first()] = true;   // the newest good copy, whatever it is

    const QDate today = now.date();
    QHash<QString, int> perReason;
    QHash<QString, bool> dayTaken, weekTaken, monthTaken;
    for (int i : order) {   // newest first: the first seen in a bucket is its newest
        const Entry &e = entries[i];
        if (e.reason != QLatin1String(Daily)) {
            if (++perReason[e.reason] <= 3)
                keep[i] = true;
            continue;
        }
        const QDate d = e.when.date();
        const qint64 age = d.daysTo(today);
        int weekYear = 0;
        const int week = d.weekNumber(&weekYear);
        const QString dayKey = d.toString(Qt::ISODate);
        const QString weekKey = QStringLiteral("%1-W%2").arg(weekYear).arg(week);
        const QString monthKey = d.toString(QStringLiteral("yyyy-MM"));
        const bool newestOfDay = !dayTaken.value(dayKey);
        const bool newestOfWeek = !weekTaken.value(weekKey);
        const bool newestOfMonth = !monthTaken.value(monthKey);
        dayTaken[dayKey] = weekTaken[weekKey] = monthTaken[monthKey] = true;
        if (age <= 1 || (age < 14 && newestOfDay) || (age < 14 + 70 && newestOfWeek) ||
            (age < 365 && newestOfMonth))
            keep[i] = true;
    }
    QList<int> drops;
    for (int i = 0; i < keep.size(); ++i)
        if (!keep[i])
            drops.push_back(i);
    return drops;
}

namespace {

// A read-only connection that never creates the file nor writes beside it.
int readOnlyFlags() { return SQLITE_OPEN_READONLY | SQLITE_OPEN_URI; }
QString readOnlyUri(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
}

} // namespace

Summary summarize(const QString &path)
{
    Summary s;
    bankdamage::Quiet quiet;
    Connection c(readOnlyUri(path), readOnlyFlags());
    if (!c.error.isEmpty()) {
        s.error = c.error;
        return s;
    }
    const QStringList q = column(c.h, "select count(*) from tab_exer", &s.error);
    const QStringList a = column(c.h, "select coalesce(sum(A2),0) from tab_rz", &s.error);
    if (s.error.isEmpty()) {
        s.questions = q.value(0).toLongLong();
        s.answers = a.value(0).toLongLong();
    }
    return s;
}

QList<Summary> summarizeAll(const QStringList &paths, const Progress &progress)
{
    QList<Summary> out;
    auto work = [&] {
        for (const QString &path : paths)
            out << summarize(path);
    };
    if (progress)
        besideCaller(work, progress);
    else
        work();
    return out;
}

QString checkBankFile(const QString &path, const Progress &progress)
{
    if (progress) {
        QString out;
        besideCaller([&] { out = checkBankFile(path); }, progress);
        return out;
    }
    if (!QFileInfo(path).isFile())
        return QStringLiteral("no such file: ") + path;
    bankdamage::Quiet quiet;
    Connection c(readOnlyUri(path), readOnlyFlags());
    if (!c.error.isEmpty())
        return c.error;
    QString error;
    const QStringList tables = column(c.h, "select lower(name) from sqlite_master where type='table'", &error);
    if (!error.isEmpty())
        return error;
    for (const QString &t : store::shippedTables())
        if (!tables.contains(t.toLower()))
            return QStringLiteral("not a question bank: no table ") + t;
    const QStringList version = column(c.h, "PRAGMA user_version", &error);
    if (!error.isEmpty())
        return error;
    if (version.value(0).toInt() != store::SchemaVersion)
        return QStringLiteral("schema version %1, expected %2").arg(version.value(0)).arg(store::SchemaVersion);
    const QStringList stamps = column(c.h, "select cpbs from tab_sj", &error);
    if (!error.isEmpty())
        return error;
    if (!stamps.contains(QString::fromLatin1(store::ProductStamp)))
        return QStringLiteral("not a bank of this program: no product stamp in tab_sj");
    bool damaged = false;
    return integrity(c.h, &damaged);
}

Outcome restoreInto(sqlite3 *dest, const QString &path, const Progress &progress, bool checked)
{
    Outcome out;
    out.path = path;
    if (!checked)
        out.error = checkBankFile(path, progress);
    if (!out.error.isEmpty()) {
        out.refused = true;
        return out;
    }
    Connection src(readOnlyUri(path), readOnlyFlags());
    if (!src.error.isEmpty()) {
        out.error = src.error;
        return out;
    }
    // Statements left stepping on the bank would hold the copy off.
    for (sqlite3_stmt *s = sqlite3_next_stmt(dest, nullptr); s; s = sqlite3_next_stmt(dest, s))
        sqlite3_reset(s);
    sqlite3_backup *b = sqlite3_backup_init(dest, "main", src.h, "main");
    if (!b) {
        out.error = engineText(dest);
        return out;
    }
    // The bank's write transaction lasts from the first slice to the last
    // and commits only when every page is in; finishing early rolls it back.
    const int rc = runBackup(b, progress, SlicePages);
    const int fin = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE || fin != SQLITE_OK) {
        out.error = QString::fromUtf8(sqlite3_errstr(rc != SQLITE_DONE ? rc : fin));
        return out;
    }
    out.ok = true;
    return out;
}

QString settleLog(sqlite3 *bank, const std::function<void()> &paint)
{
    int rc = SQLITE_OK;
    besideCaller([&] { rc = sqlite3_wal_checkpoint_v2(bank, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr); },
                 [&](int, int) {
                     if (paint)
                         paint();
                 });
    return rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace bankbackup
