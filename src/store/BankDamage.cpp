// Noticing a damaged bank while the program runs.
#include "store/BankDamage.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <sqlite3.h>

namespace bankdamage {

namespace {

std::function<void()> g_handler;
std::atomic<int> g_quiet{0};
std::atomic<bool> g_pending{false};

void engineLog(void *, int code, const char *)
{
    if (!isDamageCode(code) || g_quiet.load() > 0 || !g_handler || !QCoreApplication::instance())
        return;
    // The report comes from inside a statement: the check runs after it.
    if (!g_pending.exchange(true))
        QTimer::singleShot(0, QCoreApplication::instance(), [] {
            g_pending = false;
            if (g_handler)
                g_handler();
        });
}

QString firstColumn(sqlite3 *h, const char *sql)
{
    sqlite3_stmt *s = nullptr;
    QStringList out;
    int rc = sqlite3_prepare_v2(h, sql, -1, &s, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    }
    if (rc != SQLITE_DONE)
        out << QString::fromUtf8(sqlite3_errmsg(h));
    sqlite3_finalize(s);
    return out.join(QLatin1Char('\n'));
}

} // namespace

bool isDamageCode(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool watch(std::function<void()> handler)
{
    g_handler = std::move(handler);
    return sqlite3_config(SQLITE_CONFIG_LOG, &engineLog, nullptr) == SQLITE_OK;
}

Quiet::Quiet() { ++g_quiet; }
Quiet::~Quiet() { --g_quiet; }

QString check(sqlite3 *bank)
{
    Quiet quiet;
    const QString r = firstColumn(bank, "PRAGMA main.quick_check(20)");
    return r == QLatin1String("ok") ? QString() : r;
}

void setReadOnly(sqlite3 *bank, bool readOnly)
{
    sqlite3_exec(bank, readOnly ? "PRAGMA query_only=1" : "PRAGMA query_only=0", nullptr, nullptr, nullptr);
}

bool isReadOnly(sqlite3 *bank) { return firstColumn(bank, "PRAGMA query_only") == QLatin1String("1"); }

} // namespace bankdamage
