// Long work on the bank (merging an upgrade file, rebuilding indexes when
// the bank was made by an earlier build) tells the user what it is doing and
// keeps the screen painted.  The program installs one hook, which shows the
// waiting window; the work calls it with a stage text and the share done,
// and again every few tens of milliseconds while a single long statement
// runs (through the engine's progress handler), so no window freezes.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

struct sqlite3;
class QSqlDatabase;

namespace store {

// Called with the stage text and the share done (0..100); a share below 0
// says the work is over.  The hook may let the window system paint; it
// must not touch the bank.
using WorkHook = std::function<void(const QString &stage, int percent)>;
void setWorkHook(WorkHook hook);

// The engine handle under a Qt connection (null when it has none), for the
// engine calls Qt has no call for.
sqlite3 *handleOf(const QSqlDatabase &db);

class LongWork {
public:
    // Starts the work on the bank's handle: the hook sees the stage at 0.
    LongWork(sqlite3 *handle, const QString &stage);
    // Reading work (a check of a file): the hook hears of it only once a
    // statement has run for an interval, so quick work shows no window.
    // Nothing is written, so the bank's page copies are left as they are.
    // Its end leaves the waiting window up for the work that follows (a
    // merge after the checks); endReading() takes it down when none does.
    struct ReadOnly {};
    LongWork(sqlite3 *handle, const QString &stage, ReadOnly);
    static void endReading();
    ~LongWork();
    LongWork(const LongWork &) = delete;
    LongWork &operator=(const LongWork &) = delete;

    // The next step: its stage text and the share of the work done before it.
    void step(const QString &stage, int percent);

    // Ends work that has committed: the pages it wrote go from the journal
    // into the bank file.  The engine would do this inside the commit, all
    // at once and with nothing painted (a second for a large upgrade); the
    // work holds that back from its start, and here the copy runs on a
    // thread of its own while this thread keeps reporting.
    void finish(const QString &stage, int percent);
    // Commits the work's transaction: the engine's COMMIT runs aside while
    // this thread keeps reporting (a large transaction takes a while to
    // close).  True when it went through; the engine's text is then
    // sqlite3_errmsg of the handle.
    bool commitAside(const QString &stage, int percent);

    // Runs work on a thread of its own while this thread keeps reporting:
    // for a statement the engine runs as one step, where its progress
    // handler is never called (a check of a whole file).  The work must be
    // the only user of the handle meanwhile.
    void aside(const std::function<void()> &work);

    // True while the hook runs inside a statement: the bank's connection
    // is in the middle of that statement and takes no other.
    static bool insideStatement();

    // How often the hook is called while one statement runs.
    static constexpr int IntervalMs = 40;

private:
    static int onProgress(void *self);
    void report();
    void restoreCheckpoints();
    sqlite3 *m_handle;
    int m_autoCheckpoint = -1;   // pages, as it was before the work; -1 untouched
    QString m_stage;
    int m_percent = 0;
    QElapsedTimer m_since;
    bool m_shown = false;   // the hook has heard of the work
    bool m_reading = false;
};

} // namespace store
