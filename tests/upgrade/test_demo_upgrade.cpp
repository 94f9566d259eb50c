// The demo upgrade made for the demo bank merges cleanly and leaves every
// question counter the chapter window and the key-point directory show as
// the exact count of the questions below it.
#include "DemoBank.h"
#include "UpgradeBank.h"

#include "platform/Seams.h"
#include "store/DbError.h"
#include "store/dm.h"
#include "upgrade/BankUpgrade.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct DemoEnv {
    QTemporaryDir dir;
    std::unique_ptr<TDM1> dm;
    QString upgradePath;
    demobank::UpgradeSummary made;

    explicit DemoEnv(int upgradeQuestions)
    {
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        const QString bank = dir.path() + QStringLiteral("/data/VORDANBANK01.db");
        demobank::generate(bank);
        upgradePath = dir.path() + QStringLiteral("/升级 题库.db");
        demobank::UpgradeOptions o;
        o.questions = upgradeQuestions;
        made = demobank::writeUpgradeFile(upgradePath, bank, o);
        seams::setAppDir(dir.path());
        dm = std::make_unique<TDM1>();
        EXPECT_TRUE(dm->DbOpened) << dm->openError.toStdString();
    }
    ~DemoEnv()
    {
        dm.reset();
        seams::setAppDir(QString());
    }
    int value(const QString &sql) { return dm->scalar(sql).toInt(); }
};

} // namespace

TEST(DemoUpgrade, MergesWithExactCountersAndOnlyOnce)
{
    for (int questions : {0, 500}) {
        SCOPED_TRACE(questions);
        DemoEnv env(questions);
        const int before = env.value(QStringLiteral("select count(*) from tab_answ"));
        const int sectionsBefore = env.value(QStringLiteral("select count(*) from tab_kmmc where length(C1)=6"));
        upgrade::UpgradeConnection cn2;
        const upgrade::Result r = upgrade::importUpgrade(*env.dm, cn2, env.upgradePath);
        ASSERT_EQ(int(r.outcome), int(upgrade::Outcome::Merged)) << r.engineText.toStdString();
        EXPECT_EQ(env.value(QStringLiteral("select count(*) from tab_answ")), before + env.made.questions);
        EXPECT_EQ(env.made.questions, questions ? questions : demobank::DemoUpgradeQuestions);
        EXPECT_EQ(env.value(QStringLiteral("select count(*) from tab_kmmc where length(C1)=6")), sectionsBefore + env.made.sections);
        EXPECT_GE(env.made.materials, 1);

        // Types 61, 65, 71 and 73 arrived, and every sub-question has its material.
        EXPECT_EQ(env.value(QStringLiteral("select count(distinct A13) from tab_answ where substr(A10,1,4)='%1'").arg(env.made.newChapter)), 4);
        EXPECT_EQ(env.value(QStringLiteral("select count(*) from tab_answ a where A1 like '%-%' and not exists "
                                           "(select 1 from tab_title t where t.A1 = substr(a.A1,1,16))")),
                  0);
        // Every chapter's C3 is the number of questions below it.
        EXPECT_EQ(env.value(QStringLiteral("select count(*) from tab_kmmc k where C1<>'xx' and C3 <> "
                                           "(select count(*) from tab_answ a where substr(a.A10,1,length(k.C1)) = k.C1)")),
                  0);
        // Key points and their groups, and the one-character headings.
        const QString cites = QStringLiteral("(K3=%1 or K4=%1 or K5=%1 or K6=%1 or K7=%1 or K8=%1 or K9=%1 or K10=%1 or K11=%1 or K12=%1)");
        EXPECT_EQ(env.value(QStringLiteral("select count(*) from tab_rule r where q <> (select count(*) from tab_answ where %1)")
                                .arg(cites.arg(QStringLiteral("r.ftid")))),
                  0);
        const QString citesGroup = QStringLiteral("(K3 like g.id||'%' or K4 like g.id||'%' or K5 like g.id||'%' or K6 like g.id||'%' "
                                                  "or K7 like g.id||'%' or K8 like g.id||'%' or K9 like g.id||'%' or K10 like g.id||'%' "
                                                  "or K11 like g.id||'%' or K12 like g.id||'%')");
        for (int len : {6, 1})
            EXPECT_EQ(env.value(QStringLiteral("select count(*) from tab_fgmc g where length(id)=%1 and q <> "
                                               "(select count(*) from tab_answ where %2)")
                                    .arg(len)
                                    .arg(citesGroup)),
                      0)
                << "groups of " << len << " characters";
        // The new chapter and section sit among their neighbours in the list.
        EXPECT_EQ(env.dm->scalar(QStringLiteral("select C1 from tab_kmmc where bh > (select bh from tab_kmmc where C1='%1') "
                                                "order by bh limit 1")
                                     .arg(env.made.newChapter))
                      .toString(),
                  env.made.newChapter + QStringLiteral("01"));
        EXPECT_EQ(env.dm->scalar(QStringLiteral("select substr(C1,1,4) from tab_kmmc where bh < (select bh from tab_kmmc where C1='%1') "
                                                "order by bh desc limit 1")
                                     .arg(env.made.newSection))
                      .toString(),
                  env.made.newSection.left(4));

        EXPECT_EQ(int(upgrade::importUpgrade(*env.dm, cn2, env.upgradePath).outcome), int(upgrade::Outcome::AlreadyApplied));
        // While the program holds the bank, the upgrade maker says so in
        // plain words (not "database is locked") and writes nothing.
        QString said;
        try {
            demobank::writeUpgradeFile(env.upgradePath + QStringLiteral("2"), env.dm->bankPath(), demobank::UpgradeOptions());
        } catch (const store::DbError &e) {
            said = e.text();
        }
        EXPECT_TRUE(said.contains(QStringLiteral("in use by the running program"))) << said.toStdString();
        EXPECT_FALSE(QFile::exists(env.upgradePath + QStringLiteral("2")));
    }
}
