// The bank commands refuse, with exit code 2 and the bank untouched, while
// a running program holds the bank: by its single-instance lock, or by the
// bank's own lock alone.
#include "app/BankCommands.h"
#include "support/TestBank.h"

#include <QFile>
#include <QLockFile>
#include <gtest/gtest.h>

TEST(BankCommands, RefusedWhileARunningProgramHoldsTheBank)
{
    TestBank b;   // its open data module holds the bank as a running program does
    for (const bool withLockFile : {true, false}) {
        QLockFile lock(seams::bankDir() + QStringLiteral("pellbrook.lock"));
        if (withLockFile) {
            ASSERT_TRUE(lock.tryLock(0));
        }
        std::FILE *sink = std::tmpfile();
        EXPECT_EQ(bankcommands::run(bankcommands::Command::Backup, b.dir() + QStringLiteral("c.db"), sink, sink), 2)
            << withLockFile;
        EXPECT_EQ(bankcommands::run(bankcommands::Command::Restore, b.dir() + QStringLiteral("c.db"), sink, sink), 2)
            << withLockFile;
        std::fclose(sink);
        EXPECT_FALSE(QFile::exists(b.dir() + QStringLiteral("c.db")));
    }
}
