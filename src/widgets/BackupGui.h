// The bank's copies as the user meets them: the waiting window while a
// copy is made or restored, the notices, and the offer to restore when the
// bank is found damaged.
#pragma once

#include "store/BankBackup.h"

#include <QList>
#include <QString>

namespace backupgui {

// Makes a copy of the bank (reason daily, upgrade or restore) while the
// waiting window shows "正在备份题库，请等待..." and keeps painting.  A disk
// too full is told with a notice, a failure with the engine's text, a
// damaged bank through bankDamaged().  True when a good copy was made or
// the copy was skipped for want of space.
bool backUp(const QString &reason);

// The copy made when the program ends: at most one daily copy a day.
void dailyBackupOnQuit();

// Replaces the bank from the file under the waiting window and says
// "恢复成功！", or why nothing changed.  True on success.
bool restoreFrom(const QString &path);

// The bank is damaged: no more writes go to it, the user is told and
// offered the newest good copy.
void bankDamaged(const QString &problems);

// Listens for the engine's reports of damage from start-up on; runs before
// the bank is opened.
void watchForDamage();

// The question and answer counts of the copies, read beside the window's
// thread.  Counting a copy of a large bank takes a while: past 50 ms the
// waiting window comes up with "正在读取备份，请等待..." and keeps painting;
// a short list never shows it.
QList<bankbackup::Summary> summarizeCopies(const QList<bankbackup::Entry> &copies);
// The longest time, in ms, between two paints of the waiting window
// during the last copy, restore or count of copies (for the count, the
// stretch before the window comes up counts as a gap too).
qint64 longestPaintGapMs();

} // namespace backupgui
