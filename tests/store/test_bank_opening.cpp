// Opening the bank: a bank the program cannot write, or one that lacks
// tables, must not count as opened, and refusing it must leave the file as
// it was.
#include "store/Schema.h"
#include "support/TestBank.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString bankIn(const QTemporaryDir &dir) { return dir.path() + QStringLiteral("/data/VORDANBANK01.db"); }

// A bank built from the schema; `keep` names the only tables left (all
// when empty); `wal` leaves the file in WAL mode, as after a first run.
void makeBank(const QString &path, const QStringList &keep = {}, bool wal = false)
{
    QDir().mkpath(QFileInfo(path).path());
    const QString conn = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        store::createSchema(db);
        QSqlQuery q(db);
        if (!keep.isEmpty())
            for (const QString &t : store::shippedTables())
                if (!keep.contains(t)) {
                    ASSERT_TRUE(q.exec(QStringLiteral("drop table ") + t));
                }
        if (wal)
            q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Opens the bank in a child process as a user without write rights to what
// the test made read-only (root is not held back by file modes, so a root
// run drops to "nobody" first).  The child's exit code tells: 0 refused,
// 1 opened.
[[noreturn]] void openAsOtherUser(const QString &appDir)
{
    if (geteuid() == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            std::_Exit(3);
    }
    seams::setAppDir(appDir);
    TDM1 dm;
    std::_Exit(dm.DbOpened ? 1 : 0);
}

} // namespace

TEST(BankOpening, ABankThatCannotBeWrittenIsNotOpened)
{
    enum Setup { ReadOnlyFile, ReadOnlyFolder, ReadOnlyFolderWalBank, Writable };
    for (Setup s : {ReadOnlyFile, ReadOnlyFolder, ReadOnlyFolderWalBank, Writable}) {
        QTemporaryDir dir;
        const QString path = bankIn(dir);
        makeBank(path, {}, s == ReadOnlyFolderWalBank);
        const QByteArray before = digest(path);
        // Everyone may reach the folder; what may be written is the case's.
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        const QByteArray data = QFile::encodeName(dir.path() + QStringLiteral("/data"));
        const bool folderWritable = s == ReadOnlyFile || s == Writable;
        ::chmod(data.constData(), folderWritable ? 0777 : 0555);
        ::chmod(QFile::encodeName(path).constData(), s == ReadOnlyFile ? 0444 : 0666);
        EXPECT_EXIT(openAsOtherUser(dir.path()), ::testing::ExitedWithCode(s == Writable ? 1 : 0), "") << int(s);
        if (s != Writable) {
            EXPECT_EQ(digest(path), before) << int(s);
        }
        ::chmod(data.constData(), 0777);
    }
}

TEST(BankOpening, ABankLackingATableIsRefusedBeforeAnythingChanges)
{
    const QStringList tables = store::shippedTables();
    auto without = [&](const char *table) {
        QStringList t = tables;
        t.removeAll(QLatin1String(table));
        return t;
    };
    // Only tab_answ; every table but one of the later ones; all of them.
    const QList<QStringList> cases = {{QStringLiteral("tab_answ")}, without("tab_tx1"), without("tab_sj"), tables};
    for (const QStringList &keep : cases) {
        const bool complete = keep == tables;
        QTemporaryDir dir;
        const QString path = bankIn(dir);
        makeBank(path, keep);
        const QByteArray before = digest(path);
        seams::setAppDir(dir.path());
        {
            TDM1 dm;
            EXPECT_EQ(dm.DbOpened, complete) << keep.join(QLatin1Char(',')).toStdString();
        }
        seams::setAppDir(QString());
        if (!complete) {
            EXPECT_EQ(digest(path), before) << keep.join(QLatin1Char(',')).toStdString();
            EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
            EXPECT_FALSE(QFile::exists(path + QStringLiteral("-shm")));
        }
    }
}
