// Checked copies of the question bank and going back to one.  A copy is
// made through the engine's online backup on the program's own connection,
// a slice of pages at a time so that a window can keep painting; it is
// written under a temporary name, checked by the engine's integrity check,
// and only then given its name, so a copy that carries its final name is a
// whole, good bank.  Copies live in backup/ in the bank's folder, named
// VORDANBANK01-YYYYMMDD-HHMMSS-<reason>.db.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

struct sqlite3;

namespace bankbackup {

// Why a copy was made.
inline constexpr const char *Daily = "daily";
inline constexpr const char *Upgrade = "upgrade";
inline constexpr const char *Restore = "restore";

// Told after every slice: pages copied so far and pages in all.
using Progress = std::function<void(int done, int total)>;

// Pages copied per slice: small enough that a slice of the largest bank
// takes a few milliseconds.
inline constexpr int SlicePages = 256;

struct Outcome {
    bool ok = false;
    QString path;     // the copy made (ok), or the file concerned
    QString error;    // the engine's text or why it was refused
    bool skipped = false;   // not enough free space: nothing was written
    bool damaged = false;   // the source failed the check: it is damaged
    bool refused = false;   // the file to restore from is not a good bank
    qint64 copyMs = 0;      // time of the page copy
    qint64 checkMs = 0;     // time of the integrity check of the copy
};

// The folder of the copies: backup/ in the folder of the bank.
QString backupDir(const QString &bankPath);

// The copy's file name for a moment and a reason.
QString backupName(const QDateTime &when, const QString &reason);

// Copies the main database of `source` to `target` (replaced when the copy
// is good): written to target + ".part", integrity-checked there, then
// renamed over target.  The progress is also told, pages all done, every
// so often during the check.  A copy that fails its check is removed and reported
// with damaged set; nothing named target is ever half written.
Outcome copyChecked(sqlite3 *source, const QString &target, const Progress &progress = {});

// The free space, in bytes, of the disk that holds a folder; negative when
// it cannot be learned (the copy is then made).
using FreeSpace = std::function<qint64(const QString &dir)>;
// Installs how the free space is learned; empty restores the system's figure.
void setFreeSpace(FreeSpace freeSpace);

// Makes a copy of the bank open on `source` (whose file is bankPath) in its
// backup folder, named for `when` and `reason`; skipped with a notice when
// the disk has less free space than twice the bank.  After a good copy,
// the copies that retention no longer keeps are removed, never `keep`
// (the copy a restore is about to read).
Outcome makeBackup(sqlite3 *source, const QString &bankPath, const QString &reason, const QDateTime &when,
                   const Progress &progress = {}, const QString &keep = {});

// Why a copy was made, as the user reads it: 每日, 升级前, 恢复前, or the
// reason itself when it is none of these.
QString reasonText(const QString &reason);

// One copy found in the backup folder.
struct Entry {
    QString path;
    QDateTime when;
    QString reason;
};
// The copies in a folder, newest first.  Only files with a final name
// count: a half-written ".part" never shows.
QList<Entry> findBackups(const QString &dir);

// The copies retention does not keep, as indexes into `entries`, given the
// present moment.  Daily copies: every one of today and yesterday, then the
// newest of each day for 12 more days, the newest of each week for 10 weeks
// and the newest of each month reaching a year back.  Copies made before an
// upgrade or a restore are counted apart: the newest 3 of each.  The newest
// copy of all is always kept.
QList<int> retentionDrops(const QList<Entry> &entries, const QDateTime &now);

// What a copy holds, read through a read-only connection.
struct Summary {
    qint64 questions = 0;   // rows of tab_exer
    qint64 answers = 0;     // answers given, summed over the study log
    QString error;          // set when the file could not be read
};
Summary summarize(const QString &path);
// The summaries of several copies, in the same order.  With a progress, the
// files are read beside the caller, which is told the progress every few
// milliseconds meanwhile: a copy of a large bank takes a while to count.
QList<Summary> summarizeAll(const QStringList &paths, const Progress &progress = {});

// Whether a file is a whole bank of this program: it opens read-only, it
// passes the integrity check, carries every table of the program, the
// schema version, and the product stamp in tab_sj.  Empty when it is;
// otherwise why not.  With a progress, the check runs beside the caller,
// who is told the progress meanwhile.
QString checkBankFile(const QString &path, const Progress &progress = {});

// Replaces the bank open on `dest` by the file, in one step: the engine's
// backup from the file into the open connection, committed only when every
// page has arrived, so any failure leaves the bank as it was.  The file is
// checked first (checkBankFile) and refused when it is not a good bank,
// unless the caller has just checked it.
Outcome restoreInto(sqlite3 *dest, const QString &path, const Progress &progress = {}, bool checked = false);

// Moves what a restore left in the bank's write-ahead log into the bank
// file (the engine would otherwise do it at the next statement, in one
// long step).  It runs beside the caller on the bank's own connection, so
// `paint` must not touch the bank nor run the event loop: it only repaints.
// Returns the engine's text on failure.
QString settleLog(sqlite3 *bank, const std::function<void()> &paint);

} // namespace bankbackup
