// The bank's copies as the user meets them: the waiting window while a
// copy is made or restored, the notices, and the offer to restore when the
// bank is found damaged.
#pragma once

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

// The longest time, in ms, between two paints of the waiting window
// during the last copy or restore.
qint64 longestPaintGapMs();

} // namespace backupgui
