// Noticing a damaged bank while the program runs.  The engine reports every
// damaged page or foreign file it meets to one log; a listener here hears
// those reports (from any connection, so a report is only a suspicion) and
// hands them to the window thread, where the bank itself is checked.  A
// bank found damaged is made read-only at the engine, so nothing more is
// written to it until it is restored.
#pragma once

#include <QString>
#include <functional>

struct sqlite3;

namespace bankdamage {

// True when an engine result code says the database file is damaged.
bool isDamageCode(int rc);

// Starts listening; must run before the first connection opens.  The
// handler is called later on the thread of the event loop, once per burst
// of reports.  Returns false when the engine was already started.
bool watch(std::function<void()> handler);

// While a Quiet object lives, reports are not passed on (checking a
// damaged file on purpose, reading a file before it is accepted).
struct Quiet {
    Quiet();
    ~Quiet();
};

// The engine's quick check of the bank's main database: empty when it
// passes, else the problems it names.
QString check(sqlite3 *bank);

// Stops (true) or allows again (false) every write to the bank.
void setReadOnly(sqlite3 *bank, bool readOnly);
bool isReadOnly(sqlite3 *bank);

} // namespace bankdamage
