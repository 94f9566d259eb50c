// Checked copies of the bank: which copies retention keeps, a copy and a
// restore round trip, and files a restore must refuse with the bank as it
// was.
#include "common/BankRestore.h"
#include "store/BankBackup.h"
#include "store/Schema.h"
#include "support/TestBank.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace bankbackup;

namespace {

QDateTime at(const char *text) { return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate); }

QByteArray sha(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

// A bank with n questions and the product stamp, as a shipped bank has.
void fill(TestBank &b, int n)
{
    b.run(QStringLiteral("insert into tab_sj (sjbs, cpbs) values ('', ?)"), {QString::fromLatin1(store::ProductStamp)});
    b.addChapter(QStringLiteral("1"));
    DbTransaction t(b.dm());
    for (int i = 0; i < n; ++i)
        b.addQuestion(QStringLiteral("Q%1").arg(i), QStringLiteral("A"), 61, QStringLiteral("1"));
    t.commit();
}

// Overwrites the middle of the page that holds tab_exer's root.
void damageExerPage(const QString &path)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(h, "select rootpage from sqlite_master where name='tab_exer'", -1, &s, nullptr);
    sqlite3_step(s);
    const int root = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    sqlite3_prepare_v2(h, "PRAGMA page_size", -1, &s, nullptr);
    sqlite3_step(s);
    const int pageSize = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    sqlite3_close(h);
    ASSERT_GT(root, 1);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(qint64(root - 1) * pageSize);
    f.write(QByteArray(pageSize / 2, '\x5a'));
}

} // namespace

TEST(BankBackup, RetentionKeepsAYearWithFewFiles)
{
    const QDateTime now = at("2026-06-15T20:00:00");
    struct Case {
        const char *name;
        QList<Entry> entries;
        QList<int> drops;
    };
    auto e = [](const char *when, const char *reason) { return Entry{QString(), at(when), QString::fromLatin1(reason)}; };
    const QList<Case> cases = {
        {"every copy of today and yesterday stays",
         {e("2026-06-15T09:00:00", Daily), e("2026-06-15T08:00:00", Daily), e("2026-06-14T21:00:00", Daily),
          e("2026-06-14T07:00:00", Daily)},
         {}},
        {"two copies of one day within 12 days: the older goes",
         {e("2026-06-10T21:00:00", Daily), e("2026-06-10T07:00:00", Daily)},
         {1}},
        {"within 10 weeks one a week (2026-04-06..07 share a week)",
         {e("2026-04-07T10:00:00", Daily), e("2026-04-06T10:00:00", Daily), e("2026-03-30T10:00:00", Daily)},
         {1}},
        {"older, one a month, up to a year back",
         {e("2026-01-20T10:00:00", Daily), e("2026-01-05T10:00:00", Daily), e("2025-07-01T10:00:00", Daily),
          e("2025-05-01T10:00:00", Daily)},
         {1, 3}},
        {"the newest copy stays even when older than a year",
         {e("2025-01-01T10:00:00", Daily), e("2024-12-01T10:00:00", Daily)},
         {1}},
        {"upgrade and restore copies: newest 3 of each, never pushing a daily out",
         {e("2026-06-15T10:00:00", Upgrade), e("2026-06-15T09:00:00", Upgrade), e("2026-06-15T08:00:00", Upgrade),
          e("2026-06-15T07:00:00", Upgrade), e("2026-06-15T06:00:00", Restore), e("2026-06-01T10:00:00", Daily)},
         {3}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(retentionDrops(c.entries, now), c.drops) << c.name;

    // A daily copy every day for two years keeps about a year in few files.
    QList<Entry> daily;
    for (QDateTime t = at("2024-06-16T21:00:00"); t <= now; t = t.addDays(1))
        daily.push_back({QString(), t, QString::fromLatin1(Daily)});
    const QList<int> drops = retentionDrops(daily, now);
    const int kept = int(daily.size() - drops.size());
    EXPECT_GE(kept, 14 + 9 + 8);
    EXPECT_LE(kept, 14 + 11 + 12);
    QDateTime oldest = now;
    for (int i = 0; i < daily.size(); ++i)
        if (!drops.contains(i))
            oldest = std::min(oldest, daily[i].when);
    EXPECT_GE(oldest.daysTo(now), 330);
    EXPECT_LT(oldest.daysTo(now), 366);
}

TEST(BankBackup, CopyListAndRestoreRoundTrip)
{
    TestBank b;
    fill(b, 300);
    b.run(QStringLiteral("insert into tab_rz (A1, A2) values ('2026-03-09', 7)"));
    // Less free space than twice the bank (and its log): skipped, nothing
    // written; exactly twice is enough for the copy below.
    const QString bank = b.dm().bankPath();
    const qint64 size = QFileInfo(bank).size() + QFileInfo(bank + QStringLiteral("-wal")).size();
    struct Space { qint64 free; bool skipped; };
    for (const Space c : {Space{0, true}, Space{2 * size - 1, true}, Space{2 * size, false}}) {
        setFreeSpace([&](const QString &) { return c.free; });
        const Outcome r = makeBackup(b.dm().handle(), bank, Daily, at("2026-03-10T18:00:00"));
        EXPECT_EQ(r.skipped, c.skipped) << c.free;
        EXPECT_EQ(findBackups(backupDir(bank)).size(), c.skipped ? 0 : 1) << c.free;
        QFile::remove(backupDir(bank) + backupName(at("2026-03-10T18:00:00"), Daily));
    }
    setFreeSpace({});
    int lastDone = 0, lastTotal = 0;
    const Outcome made = makeBackup(b.dm().handle(), b.dm().bankPath(), Daily, at("2026-03-10T18:30:05"),
                                    [&](int done, int total) { lastDone = std::max(lastDone, done), lastTotal = std::max(lastTotal, total); });
    ASSERT_TRUE(made.ok) << made.error.toStdString();
    EXPECT_GT(lastTotal, 1);
    EXPECT_EQ(lastDone, lastTotal);
    const QList<Entry> list = findBackups(backupDir(b.dm().bankPath()));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(QFileInfo(list[0].path).fileName(), QStringLiteral("VORDANBANK01-20260310-183005-daily.db"));
    const Summary s = summarize(list[0].path);
    EXPECT_EQ(s.questions, 300);
    EXPECT_EQ(s.answers, 7);
    // Several copies read beside the caller: same order, a missing file told.
    int told = 0;
    const QList<Summary> all = summarizeAll({b.dir() + QStringLiteral("gone.db"), list[0].path}, [&](int, int) { ++told; });
    ASSERT_EQ(all.size(), 2);
    EXPECT_NE(all[0].error, QString());
    EXPECT_EQ((QList<qint64>{all[1].questions, all[1].answers}), (QList<qint64>{300, 7}));
    EXPECT_GT(told, 0);
    EXPECT_EQ(checkBankFile(list[0].path), QString());

    // Study goes on after the copy; the restore brings the copy's state back.
    b.addQuestion(QStringLiteral("NEW"), QStringLiteral("B"), 61, QStringLiteral("1"));
    b.run(QStringLiteral("update tab_rz set A2=99"));
    const Outcome back = restoreInto(b.dm().handle(), list[0].path);
    ASSERT_TRUE(back.ok) << back.error.toStdString();
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exer")).toInt(), 300);
    EXPECT_EQ(b.value(QStringLiteral("select A2 from tab_rz")).toInt(), 7);
    // The bank still takes answers after it was replaced.
    b.run(QStringLiteral("update tab_rz set A2=A2+1"));
    EXPECT_EQ(b.value(QStringLiteral("select A2 from tab_rz")).toInt(), 8);

    // Going back to the oldest of three restore copies: the copy made first
    // pushes it out of the kept three, yet it is not removed before it is read.
    for (const char *t : {"2026-03-10T09:00:00", "2026-03-10T09:01:00", "2026-03-10T09:02:00"})
        ASSERT_TRUE(makeBackup(b.dm().handle(), b.dm().bankPath(), Restore, at(t)).ok);
    const QString oldest = backupDir(b.dm().bankPath()) + backupName(at("2026-03-10T09:00:00"), Restore);
    const Outcome again = bankrestore::restoreBank(b.dm(), oldest);
    EXPECT_TRUE(again.ok) << again.error.toStdString();
}

TEST(BankBackup, ForeignAndDamagedFilesAreRefusedWithTheBankUnchanged)
{
    TestBank b;
    fill(b, 400);
    const QString dir = b.dir();
    const Outcome good = copyChecked(b.dm().handle(), dir + QStringLiteral("good.db"));
    ASSERT_TRUE(good.ok) << good.error.toStdString();

    // A damaged copy, a text file, an empty database, a bank of another product.
    QFile::copy(good.path, dir + QStringLiteral("damaged.db"));
    damageExerPage(dir + QStringLiteral("damaged.db"));
    {
        QFile t(dir + QStringLiteral("text.db"));
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write(QByteArray(5000, 'x'));
    }
    {
        sqlite3 *h = nullptr;
        sqlite3_open(QFile::encodeName(dir + QStringLiteral("empty.db")).constData(), &h);
        sqlite3_exec(h, "create table t(x)", nullptr, nullptr, nullptr);
        sqlite3_close(h);
    }
    QFile::copy(good.path, dir + QStringLiteral("other.db"));
    {
        sqlite3 *h = nullptr;
        sqlite3_open(QFile::encodeName(dir + QStringLiteral("other.db")).constData(), &h);
        sqlite3_exec(h, "update tab_sj set cpbs='ANOTHER-PRODUCT'", nullptr, nullptr, nullptr);
        sqlite3_close(h);
    }

    const QString bank = b.dm().bankPath();
    const QByteArray before = sha(bank), walBefore = sha(bank + QStringLiteral("-wal"));
    for (const char *name : {"damaged.db", "text.db", "empty.db", "other.db", "missing.db"}) {
        const Outcome r = restoreInto(b.dm().handle(), dir + QString::fromLatin1(name));
        EXPECT_FALSE(r.ok) << name;
        EXPECT_FALSE(r.error.isEmpty()) << name;
    }
    EXPECT_EQ(sha(bank), before);
    EXPECT_EQ(sha(bank + QStringLiteral("-wal")), walBefore);
    EXPECT_EQ(b.value(QStringLiteral("select count(*) from tab_exer")).toInt(), 400);

    // The damage offer names the newest copy that passes its check, found
    // beside the caller who is told the progress meanwhile.
    const QString backups = backupDir(bank);
    ASSERT_TRUE(QDir().mkpath(backups));
    QFile::copy(dir + QStringLiteral("damaged.db"), backups + backupName(at("2026-03-10T12:00:00"), Daily));
    QFile::copy(good.path, backups + backupName(at("2026-03-10T11:00:00"), Upgrade));
    QFile::copy(good.path, backups + backupName(at("2026-03-10T10:00:00"), Daily));
    int told = 0;
    EXPECT_EQ(bankrestore::newestGoodBackup(bank, [&](int, int) { ++told; }),
              backups + backupName(at("2026-03-10T11:00:00"), Upgrade));
    EXPECT_GT(told, 0);
    QFile::remove(backups + backupName(at("2026-03-10T11:00:00"), Upgrade));
    QFile::remove(backups + backupName(at("2026-03-10T10:00:00"), Daily));
    EXPECT_EQ(bankrestore::newestGoodBackup(bank), QString());

    // Copying from a damaged bank fails its check: no copy, no leftover.
    sqlite3 *h = nullptr;
    sqlite3_open_v2(QFile::encodeName(dir + QStringLiteral("damaged.db")).constData(), &h, SQLITE_OPEN_READONLY,
                    nullptr);
    const Outcome fromDamaged = copyChecked(h, dir + QStringLiteral("copy.db"));
    sqlite3_close(h);
    EXPECT_FALSE(fromDamaged.ok);
    EXPECT_TRUE(fromDamaged.damaged) << fromDamaged.error.toStdString();
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("copy.db")));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("copy.db.part")));
}
