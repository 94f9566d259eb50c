// Going back to a copy of the bank while the program runs, and the daily
// copy made when the program ends.
#pragma once

#include "store/BankBackup.h"

#include <QDate>

class TDM1;

namespace bankrestore {

// The moment a copy is named after: the program's clock.
QDateTime now();

// Whether the day's copy is still to be made: no daily copy of `today`.
bool dailyDue(const QList<bankbackup::Entry> &copies, const QDate &today);

// Replaces the bank from the file: the file is checked (nothing changes
// when it is not a good bank of this program), the bank as it is is copied
// first (reason restore), then replaced in one step.  Afterwards writes are
// allowed again (a damaged bank was read-only) and the shell state that
// comes from the bank is read anew: the answer times of the current
// subject and the data module's type table.  `paint`, when given, only
// repaints a waiting window (see bankbackup::settleLog).
bankbackup::Outcome restoreBank(TDM1 &dm, const QString &path, const bankbackup::Progress &progress = {},
                                const std::function<void()> &paint = {});

// The newest copy in the bank's backup folder that passes its check; empty
// when there is none.  The copies are checked newest first and the search
// stops at the first good one.  With a progress, each check runs beside the
// caller, who is told the progress meanwhile (a check of a large bank takes
// most of a second).
QString newestGoodBackup(const QString &bankPath, const bankbackup::Progress &progress = {});

// Reads the answer times of the current subject from the bank into the
// shell state (kept when the type table has no rows).
void reloadShellState(TDM1 &dm);

} // namespace bankrestore
