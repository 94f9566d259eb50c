// Checks of an upgrade file's rows before anything of it is merged: a file
// that would give the bank a second row of a chapter, key point or group,
// or a word where the program counts or compares a number, is refused
// whole.  Each check returns an empty text when the file passes, otherwise
// the reason (kept as the engine text of the refusal).
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class TDM1;

namespace upgrade {

// The codes that name one row each (tab_kmmc.C1, tab_rule.ftid,
// tab_fgmc.id): none may occur twice in the file or be in the bank already.
QString duplicateCode(TDM1 &dm, const QSqlDatabase &file);

// Every column the bank declares INTEGER (type codes like A13, option
// counts, counters like C3 and q) must hold a whole number in the file's
// tables (the order keys bh any number), or NULL.
QString wrongKindOfValue(TDM1 &dm, const QSqlDatabase &file, const QStringList &tables);

// Every check of the rows, in turn; tables are those the merge appends.
QString checkUpgradeRows(TDM1 &dm, const QSqlDatabase &file, const QStringList &tables);

// SQLite's own check of the file's pages and schema; empty when it
// reports "ok", otherwise its first complaint.
QString damagedPages(const QSqlDatabase &file);

} // namespace upgrade
