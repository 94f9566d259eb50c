// Going back to a copy of the bank while the program runs.
#include "common/BankRestore.h"

#include "common/ShellState.h"
#include "platform/Seams.h"
#include "store/BankDamage.h"
#include "store/dm.h"

#include <QSqlQuery>

namespace bankrestore {

QDateTime now() { return QDateTime(seams::clock().today(), seams::clock().timeOfDay()); }

bool dailyDue(const QList<bankbackup::Entry> &copies, const QDate &today)
{
    for (const bankbackup::Entry &e : copies)
        if (e.reason == QLatin1String(bankbackup::Daily) && e.when.date() == today)
            return false;
    return true;
}

bankbackup::Outcome restoreBank(TDM1 &dm, const QString &path, const bankbackup::Progress &progress,
                                const std::function<void()> &paint)
{
    bankbackup::Outcome out;
    out.path = path;
    out.error = bankbackup::checkBankFile(path, progress);
    if (!out.error.isEmpty()) {
        out.refused = true;
        return out;
    }
    sqlite3 *h = dm.handle();
    // The bank as it is now is kept, unless it is the damaged one that the
    // restore replaces (a copy of it could not pass its check anyway).
    if (!bankdamage::isReadOnly(h)) {
        const bankbackup::Outcome saved =
            bankbackup::makeBackup(h, dm.bankPath(), QString::fromLatin1(bankbackup::Restore), now(), progress, path);
        if (!saved.ok) {
            out.error = saved.error;
            out.skipped = saved.skipped;
            out.damaged = saved.damaged;
            return out;
        }
    }
    out = bankbackup::restoreInto(h, path, progress, true);
    if (!out.ok)
        return out;
    // A failure here loses nothing: the engine moves the log at a later
    // statement instead.
    bankbackup::settleLog(h, paint);
    bankdamage::setReadOnly(h, false);
    reloadShellState(dm);
    return out;
}

QString newestGoodBackup(const QString &bankPath, const bankbackup::Progress &progress)
{
    for (const bankbackup::Entry &e : bankbackup::findBackups(bankbackup::backupDir(bankPath)))
        if (bankbackup::checkBankFile(e.path, progress).isEmpty())
            return e.path;
    return QString();
}

void reloadShellState(TDM1 &dm)
{
    ShellState &st = shell();
    const int subject = st.CurSubject >= 1 && st.CurSubject <= 5 ? st.CurSubject : 1;
    dm.setTypeTable(subject);
    loadTypeTimes(dm, subject);
}

} // namespace bankrestore
