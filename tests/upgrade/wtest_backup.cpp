// Going back to a copy of the bank: from the upgrade window's second
// choice, and offered when the bank is found damaged while it is used.
#include "store/BankBackup.h"
#include "store/Schema.h"
#include "support/TestBank.h"
#include "upgrade/Ustxz.h"
#include "widgets/BackupGui.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

struct BackupEnv {
    TestBank b;
    PromptRecorder prompts;
    BackupEnv()
    {
        b.run(QStringLiteral("insert into tab_sj (sjbs, cpbs) values ('', ?)"), {QString::fromLatin1(store::ProductStamp)});
        b.addChapter(QStringLiteral("1"));
        DbTransaction t(b.dm());
        for (int i = 0; i < 500; ++i)
            b.addQuestion(QStringLiteral("Q%1").arg(i), QStringLiteral("A"), 61, QStringLiteral("1"));
        t.commit();
    }
    int questions() { return b.value(QStringLiteral("select count(*) from tab_exer")).toInt(); }
    QList<bankbackup::Entry> copies() { return bankbackup::findBackups(bankbackup::backupDir(b.dm().bankPath())); }
};

} // namespace

TEST(BankRestore, FromTheUpgradeWindowAfterConfirmation)
{
    BackupEnv e;
    backupgui::dailyBackupOnQuit();
    backupgui::dailyBackupOnQuit();   // once a day only
    ASSERT_EQ(e.copies().size(), 1);
    e.b.addQuestion(QStringLiteral("LATER"), QStringLiteral("A"), 61, QStringLiteral("1"));

    Tfrmstxz w;
    w.show();
    w.RadioGroup1Item1->click();
    ASSERT_EQ(w.ListBackups->topLevelItemCount(), 1);
    EXPECT_EQ(w.ListBackups->topLevelItem(0)->text(0), QStringLiteral("2026-03-10 10:00:00"));
    EXPECT_EQ(w.ListBackups->topLevelItem(0)->text(1), QStringLiteral("每日"));
    EXPECT_EQ(w.ListBackups->topLevelItem(0)->text(2), QStringLiteral("500"));
    EXPECT_TRUE(w.epFocusButton2->isVisible());
    EXPECT_FALSE(w.epFocusButton1->isVisible());

    e.prompts.answers << 2;   // the confirmation declined: nothing changes
    w.epFocusButton2->click();
    EXPECT_EQ(e.questions(), 501);
    e.prompts.answers << 1 << 3;
    w.epFocusButton2->click();
    EXPECT_EQ(e.prompts.lastText(), QStringLiteral("恢复成功！"));
    EXPECT_EQ(e.questions(), 500);
    // The bank as it was before the restore is kept as a copy of its own.
    ASSERT_EQ(w.ListBackups->topLevelItemCount(), 2);
    QStringList reasons;
    for (int i = 0; i < 2; ++i)
        reasons << w.ListBackups->topLevelItem(i)->text(1);
    reasons.sort();
    EXPECT_EQ(reasons, QStringList({QStringLiteral("恢复前"), QStringLiteral("每日")}));
}

TEST(BankRestore, ADamagedBankIsToldAndTheNewestGoodCopyOffered)
{
    BackupEnv e;
    ASSERT_TRUE(backupgui::backUp(QStringLiteral("daily")));
    sqlite3 *h = e.b.dm().handle();
    sqlite3_exec(h, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    const int root = e.b.value(QStringLiteral("select rootpage from sqlite_master where name='tab_exer'")).toInt();
    const int pageSize = e.b.value(QStringLiteral("PRAGMA page_size")).toInt();
    sqlite3_exec(h, "PRAGMA cache_size=0", nullptr, nullptr, nullptr);
    sqlite3_db_release_memory(h);
    {
        QFile f(e.b.dm().bankPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(root - 1) * pageSize);
        f.write(QByteArray(pageSize / 2, '\x5a'));
    }
    e.prompts.answers << seams::Prompt::No;
    EXPECT_THROW(e.b.dm().scalar(QStringLiteral("select sum(length(A15)) from tab_exer")), store::DbError);
    QApplication::processEvents();
    ASSERT_EQ(e.prompts.prompts.size(), 1);
    EXPECT_EQ(e.prompts.prompts[0].caption, QStringLiteral("错误"));
    EXPECT_TRUE(e.prompts.lastText().contains(QStringLiteral("恢复")));
    // Declined: nothing more is written to the damaged bank.
    EXPECT_THROW(e.b.dm().run(QStringLiteral("insert into tab_rz (A1, A2) values ('2026-03-10', 1)")), store::DbError);

    e.prompts.prompts.clear();
    e.prompts.answers << seams::Prompt::Yes << 3;
    backupgui::bankDamaged(QStringLiteral("test"));
    EXPECT_EQ(e.prompts.lastText(), QStringLiteral("恢复成功！"));
    EXPECT_EQ(e.questions(), 500);
    e.b.run(QStringLiteral("insert into tab_rz (A1, A2) values ('2026-03-10', 1)"));
}
