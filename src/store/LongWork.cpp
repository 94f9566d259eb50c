// The waiting window's hook around long work on the bank.
#include "store/LongWork.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <chrono>
#include <future>
#include <sqlite3.h>

namespace store {

namespace {

WorkHook &hook()
{
    static WorkHook h;
    return h;
}

bool g_insideStatement = false;
// Reading work that showed the waiting window and left it up.
bool g_readingShown = false;
QString g_readingStage;

// Engine steps between two looks at the clock: cheap beside the steps
// themselves, and frequent enough that the look comes well within the
// interval even where one step writes pages out (a hundred such steps
// take some tens of milliseconds on a large bank).
constexpr int StepsPerLook = 100;

} // namespace

void setWorkHook(WorkHook h) { hook() = std::move(h); }

sqlite3 *handleOf(const QSqlDatabase &db)
{
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(h.constData());
    return nullptr;
}

bool LongWork::insideStatement() { return g_insideStatement; }

LongWork::LongWork(sqlite3 *handle, const QString &stage) : m_handle(handle), m_stage(stage)
{
    // This work ends the waiting window itself.
    g_readingShown = false;
    m_since.start();
    report();
    if (m_handle && hook())
        sqlite3_progress_handler(m_handle, StepsPerLook, &LongWork::onProgress, this);
    // The copy of the written pages into the bank file waits for finish();
    // a bank the engine cannot share between threads keeps it in the commit.
    if (m_handle && hook() && sqlite3_threadsafe() != 0) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(m_handle, "PRAGMA wal_autocheckpoint", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            m_autoCheckpoint = sqlite3_column_int(s, 0);
        sqlite3_finalize(s);
        if (m_autoCheckpoint >= 0)
            sqlite3_wal_autocheckpoint(m_handle, 0);
    }
}

LongWork::LongWork(sqlite3 *handle, const QString &stage, ReadOnly) : m_handle(handle), m_stage(stage), m_reading(true)
{
    m_since.start();
    if (m_handle && hook())
        sqlite3_progress_handler(m_handle, StepsPerLook, &LongWork::onProgress, this);
}

LongWork::~LongWork()
{
    restoreCheckpoints();
    if (m_handle)
        sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
    if (m_reading) {
        if (m_shown) {
            g_readingShown = true;
            g_readingStage = m_stage;
        }
    } else if (hook() && m_shown) {
        hook()(m_stage, -1);
    }
}

void LongWork::endReading()
{
    if (g_readingShown && hook())
        hook()(g_readingStage, -1);
    g_readingShown = false;
}

void LongWork::restoreCheckpoints()
{
    if (m_autoCheckpoint >= 0)
        sqlite3_wal_autocheckpoint(m_handle, m_autoCheckpoint);
    m_autoCheckpoint = -1;
}

void LongWork::aside(const std::function<void()> &work)
{
    // The engine serialises the calls on one connection: this thread must
    // not use the bank until the work is done, and does not (the data
    // module refuses while the hook runs).  The engine's progress handler
    // would call the hook from the work's thread: it is off meanwhile, and
    // this thread reports instead.
    if (m_handle)
        sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
    std::future<void> done = std::async(std::launch::async, work);
    while (done.wait_for(std::chrono::milliseconds(IntervalMs)) != std::future_status::ready) {
        g_insideStatement = true;
        try {
            report();
        } catch (...) {
        }
        g_insideStatement = false;
    }
    if (m_handle && hook())
        sqlite3_progress_handler(m_handle, StepsPerLook, &LongWork::onProgress, this);
    done.get();
}

bool LongWork::commitAside(const QString &stage, int percent)
{
    step(stage, percent);
    sqlite3 *h = m_handle;
    bool ok = false;
    auto commit = [h, &ok] { ok = sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK; };
    if (m_autoCheckpoint < 0)
        commit();
    else
        aside(commit);
    return ok;
}

void LongWork::finish(const QString &stage, int percent)
{
    step(stage, percent);
    if (m_autoCheckpoint < 0)
        return;
    restoreCheckpoints();
    sqlite3 *h = m_handle;
    aside([h] { sqlite3_wal_checkpoint_v2(h, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr); });
}

void LongWork::step(const QString &stage, int percent)
{
    m_stage = stage;
    m_percent = percent;
    report();
}

void LongWork::report()
{
    m_shown = true;
    m_since.restart();
    if (hook())
        hook()(m_stage, m_percent);
}

int LongWork::onProgress(void *self)
{
    auto *w = static_cast<LongWork *>(self);
    if (w->m_since.elapsed() >= IntervalMs) {
        g_insideStatement = true;
        try {
            w->report();
        } catch (...) {
            // Nothing may leave through the engine; the work goes on.
        }
        g_insideStatement = false;
    }
    return 0;   // never interrupts the statement
}

} // namespace store
