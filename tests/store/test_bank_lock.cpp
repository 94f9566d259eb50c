// One program at a time on a bank: of starts made at the same moment only
// one goes on, a lock left by a dead process is taken over, and while one
// process has the bank open no other process can open or write it.
#include "platform/SingleInstance.h"
#include "support/TestBank.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Child processes started from the test, each released by the parent.
struct Children {
    int go[2]{-1, -1};
    int results[2]{-1, -1};
    std::vector<pid_t> pids;
    Children()
    {
        EXPECT_EQ(pipe(go), 0);
        EXPECT_EQ(pipe(results), 0);
    }
    ~Children()
    {
        for (pid_t p : pids) {
            kill(p, SIGKILL);
            waitpid(p, nullptr, 0);
        }
    }
    // Forks a child that waits for release(), runs body, writes the byte
    // it returns, then waits `linger` ms before it ends.
    void start(const std::function<char()> &body, int linger)
    {
        const pid_t p = fork();
        if (p == 0) {
            close(go[1]);
            char c;
            while (read(go[0], &c, 1) > 0) {
            }
            const char r = body();
            if (write(results[1], &r, 1) != 1)
                std::_Exit(2);
            usleep(linger * 1000);
            std::_Exit(0);
        }
        pids.push_back(p);
    }
    void release()
    {
        close(go[1]);
        go[1] = -1;
    }
    QByteArray collect(int n)
    {
        QByteArray out;
        char c;
        while (out.size() < n && read(results[0], &c, 1) == 1)
            out += c;
        for (pid_t p : pids)
            waitpid(p, nullptr, 0);
        pids.clear();
        return out;
    }
};

} // namespace

TEST(SingleStart, OfStartsAtTheSameMomentOnlyOneGoesOn)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    seams::setAppDir(dir.path());
    qputenv("USER", QByteArray("pellbrook-lock-test-") + QByteArray::number(getpid()));
    for (int round = 0; round < 4; ++round) {
        Children kids;
        const int n = 6;
        for (int i = 0; i < n; ++i)
            kids.start([] {
                SingleInstance instance(QStringLiteral("Velmora"));
                const bool handedOver = instance.ActivatePreviousInstance();
                // The first keeps running a while; the others have ended.
                if (!handedOver)
                    usleep(1500 * 1000);
                return handedOver ? '0' : '1';
            }, 0);
        kids.release();
        const QByteArray r = kids.collect(n);
        EXPECT_EQ(r.size(), n);
        EXPECT_EQ(r.count('1'), 1) << "round " << round << ": " << r.constData();
    }
    seams::setAppDir(QString());
}

TEST(SingleStart, ALockLeftByADeadProcessIsTakenOver)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    seams::setAppDir(dir.path());
    qputenv("USER", QByteArray("pellbrook-stale-test-") + QByteArray::number(getpid()));
    {
        // A start that is killed while it runs leaves its lock behind.
        Children kids;
        kids.start([] {
            auto *instance = new SingleInstance(QStringLiteral("Velmora"));
            return instance->ActivatePreviousInstance() ? '0' : '1';
        }, 60000);
        kids.release();
        char c;
        ASSERT_EQ(read(kids.results[0], &c, 1), 1);
        EXPECT_EQ(c, '1');
    }   // killed here
    SingleInstance next(QStringLiteral("Velmora"));
    EXPECT_FALSE(next.ActivatePreviousInstance());
    seams::setAppDir(QString());
}

TEST(BankHold, WhileOneProcessHasTheBankNoOtherOpensOrWritesIt)
{
    // This process holds the bank from the moment it opened it, before it
    // has written anything of its own.
    TestBank b;
    const QString appDir = b.dir();
    const QByteArray path = (appDir + QStringLiteral("data/VORDANBANK01.db")).toUtf8();
    Children kids;
    kids.start([&] {
        seams::setAppDir(appDir);
        TDM1 second;
        return second.DbOpened ? '1' : '0';
    }, 0);
    kids.start([&] {
        // A writer that skips every check of the program.
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return '0';
        sqlite3_busy_timeout(db, 200);
        const int rc = sqlite3_exec(db, "update tab_kmmc set D1=D1+1", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc == SQLITE_OK ? '1' : '0';
    }, 0);
    kids.release();
    EXPECT_EQ(kids.collect(2), QByteArray("00"));
    b.addChapter(QStringLiteral("1"));
    EXPECT_EQ(b.value(QStringLiteral("select D1 from tab_kmmc where C1='1'")).toInt(), 0);
    // The bank is still the holder's to write.
    b.run(QStringLiteral("update tab_kmmc set D1=D1+1"));
    EXPECT_EQ(b.value(QStringLiteral("select D1 from tab_kmmc where C1='1'")).toInt(), 1);
}
