// Upgrade import: every refusal with its message and an unchanged bank, the
// merge with its counters, paths that SQL text would trip over, columns in
// another order, and a second attempt.
#include "support/TestBank.h"
#include "support/UpgradeFiles.h"
#include "store/LongWork.h"
#include "store/Schema.h"
#include "upgrade/BankUpgrade.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using upgrade::Outcome;

namespace {

const QString Product = QString::fromLatin1(store::ProductStamp);

// A bank with one section of two questions citing two key points of one
// group, under a one-character and a two-character heading.
class Upgrade : public ::testing::Test {
protected:
    TestBank b;
    QTemporaryDir files;
    upgrade::UpgradeConnection cn2;

    void SetUp() override
    {
        b.run(QStringLiteral("insert into tab_sj (sjbs, cpbs) values ('VELMORA-BASE', ?)"), {Product});
        for (const char *c : {"1", "10", "1001", "100101"})
            b.addChapter(QString::fromLatin1(c));
        b.addKeyPoint(QStringLiteral("110001001"));
        b.addKeyPoint(QStringLiteral("110001002"));
        b.run(QStringLiteral("insert into tab_fgmc (id, n) values ('1', '篇')"));
        b.addQuestion(QStringLiteral("Q1"), QStringLiteral("A"), 61, QStringLiteral("100101"), {QStringLiteral("110001001")});
        b.addQuestion(QStringLiteral("Q2"), QStringLiteral("B"), 61, QStringLiteral("100101"), {QStringLiteral("110001002")});
        // Counters as the bank's own questions left them.
        b.run(QStringLiteral("update tab_kmmc set C3 = 2"));
        b.run(QStringLiteral("update tab_rule set q = 1"));
        b.run(QStringLiteral("update tab_fgmc set q = 2"));
    }

    QString path(const QString &name) const { return files.path() + QLatin1Char('/') + name; }

    // An upgrade that brings a section into chapter 1001, a new chapter
    // 1002 with a section, a key point into group 110001, a new group
    // 120001 under a new heading 12, and three questions (the last a
    // sub-question with its material and a key-point list that starts
    // empty).
    void fillGood(UpgradeFile &f)
    {
        f.addChapter(QStringLiteral("100102"), 2);
        f.addChapter(QStringLiteral("1002"), 1);
        f.addChapter(QStringLiteral("100201"), 1);
        f.addGroup(QStringLiteral("12"), 1);
        f.addGroup(QStringLiteral("120001"), 1);
        f.addKeyPoint(QStringLiteral("110001003"), 1);
        f.addKeyPoint(QStringLiteral("120001001"), 1);
        f.addQuestion(QStringLiteral("N1"), 61, QStringLiteral("100102"), {QStringLiteral("110001001"), QStringLiteral("110001003")});
        f.addQuestion(QStringLiteral("N2"), 65, QStringLiteral("100102"),
                      {QStringLiteral("120001001"), QStringLiteral("110001001"), QStringLiteral("110001002")}, QStringLiteral("ACD"));
        f.addQuestion(QStringLiteral("1002017300000001-01"), 73, QStringLiteral("100201"),
                      {QString(), QStringLiteral("110001002")}, QStringLiteral("C"));
        f.addMaterial(QStringLiteral("1002017300000001"), QByteArrayLiteral("{\\rtf1 case}"));
    }

    // Takes the bank back to the rows and counts of SetUp.
    void forgetUpgrades()
    {
        b.run(QStringLiteral("delete from tab_kmmc where C1 not in ('1','10','1001','100101')"));
        b.run(QStringLiteral("delete from tab_answ where A1 not in ('Q1','Q2')"));
        b.run(QStringLiteral("delete from tab_exer where A1 not in ('Q1','Q2')"));
        b.run(QStringLiteral("delete from tab_title"));
        b.run(QStringLiteral("delete from tab_rule where ftid not in ('110001001','110001002')"));
        b.run(QStringLiteral("delete from tab_fgmc where id not in ('1','11','110001')"));
        b.run(QStringLiteral("delete from tab_sj where sjbs <> 'VELMORA-BASE'"));
        b.run(QStringLiteral("update tab_kmmc set C3 = 2"));
        b.run(QStringLiteral("update tab_rule set q = 1"));
        b.run(QStringLiteral("update tab_fgmc set q = 2"));
    }

    // A good file changed by one statement, made when its case runs.
    std::function<QString()> edited(const char *sql)
    {
        return [this, sql] {
            const QString p = path(QStringLiteral("edited%1.db").arg(++edits));
            UpgradeFile f(p, QStringLiteral("UPG-E%1").arg(edits), Product);
            fillGood(f);
            f.run(QString::fromUtf8(sql));
            return p;
        };
    }
    int edits = 0;

    upgrade::Result import(const QString &p) { return upgrade::importUpgrade(b.dm(), cn2, p); }
    int count(const QString &sql, const QVariantList &binds = {}) { return b.value(sql, binds).toInt(); }
};

QString describe(Outcome o) { return QString::number(int(o)); }

} // namespace

// Every message of the upgrade window, by outcome.
TEST(UpgradeMessages, EachOutcomeHasItsCaptionTextAndIcon)
{
    const struct {
        Outcome outcome;
        const char *caption, *text;
        int page;
    } rows[] = {
        {Outcome::NoPath, "提示", "请点击文件夹按钮选择升级文件！", 1},
        {Outcome::CannotOpen, "错误", "无法打开升级文件！", 2},
        {Outcome::ForeignProduct, "提示", "升级文件不属于本软件！", 1},
        {Outcome::AlreadyApplied, "提示", "您已升级过了！", 1},
        {Outcome::MergeFailed, "提示", "升级失败！", 2},
        {Outcome::Merged, "提示", "升级成功！", 0},
    };
    for (const auto &r : rows) {
        const upgrade::Message m = upgrade::messageFor(r.outcome);
        EXPECT_EQ(m.caption, QString::fromUtf8(r.caption)) << r.text;
        EXPECT_EQ(m.text, QString::fromUtf8(r.text));
        EXPECT_EQ(m.page, r.page) << r.text;
    }
}

// Each refused file says why and leaves the bank byte for byte as it was.
TEST_F(Upgrade, RefusedFilesLeaveTheBankUnchanged)
{
    const struct Case {
        const char *name;
        std::function<QString()> make;   // returns the path to import
        Outcome outcome;
        const char *engineText;          // part of the engine's text, when it matters
    } cases[] = {
        {"empty path", [] { return QStringLiteral("   "); }, Outcome::NoPath, ""},
        {"not a database",
         [&] {
             QFile f(path(QStringLiteral("notes.db")));
             f.open(QIODevice::WriteOnly);
             f.write("these are my notes, not a question bank\n");
             return f.fileName();
         },
         Outcome::CannotOpen, ""},
        {"0-byte file",
         [&] {
             QFile f(path(QStringLiteral("empty.db")));
             f.open(QIODevice::WriteOnly);
             return f.fileName();
         },
         Outcome::CannotOpen, ""},
        {"truncated file",
         [&] {
             const QString p = path(QStringLiteral("cut.db"));
             {
                 UpgradeFile f(p, QStringLiteral("UPG-CUT"), Product);
                 fillGood(f);
                 f.run(QStringLiteral("update tab_exer set A15 = zeroblob(40000)"));
             }
             QFile file(p);
             file.open(QIODevice::ReadWrite);
             file.resize(file.size() / 2);
             return p;
         },
         Outcome::CannotOpen, ""},
        {"damaged pages behind a sound header",
         [&] {
             const QString p = edited("update tab_exer set A15 = zeroblob(40000)")();
             QFile f(p);   // page 1 (header and schema) stays, every later page is noise
             f.open(QIODevice::ReadWrite);
             f.seek(4096);
             f.write(QByteArray(int(f.size() - 4096), char(0xA5)));
             return p;
         },
         Outcome::CannotOpen, "malformed"},
        {"newer schema",
         [&] {
             const QString p = path(QStringLiteral("newer.db"));
             UpgradeFile f(p, QStringLiteral("UPG-NEW"), Product);
             fillGood(f);
             f.run(QStringLiteral("PRAGMA user_version = %1").arg(store::SchemaVersion + 1));
             return p;
         },
         Outcome::CannotOpen, ""},
        {"missing file", [&] { return path(QStringLiteral("nowhere/gone.db")); }, Outcome::CannotOpen, ""},
        {"no tab_sj",
         [&] {
             const QString p = path(QStringLiteral("nosj.db"));
             UpgradeFile f(p, QString(), QString());
             fillGood(f);
             f.run(QStringLiteral("drop table tab_sj"));
             return p;
         },
         Outcome::EngineError, "no such table: tab_sj"},
        {"foreign product",
         [&] {
             const QString p = path(QStringLiteral("foreign.db"));
             UpgradeFile f(p, QStringLiteral("UPG-F"), QStringLiteral("ANOTHER-PRODUCT"));
             fillGood(f);
             return p;
         },
         Outcome::ForeignProduct, ""},
        {"empty tab_sj",
         [&] {
             const QString p = path(QStringLiteral("nostamp.db"));
             UpgradeFile f(p, QString(), QString());
             fillGood(f);
             return p;
         },
         Outcome::ForeignProduct, ""},
        {"already applied",
         [&] {
             const QString p = path(QStringLiteral("base.db"));
             UpgradeFile f(p, QStringLiteral("VELMORA-BASE"), Product);
             fillGood(f);
             return p;
         },
         Outcome::AlreadyApplied, ""},
        {"a column missing",
         [&] {
             const QString p = path(QStringLiteral("nojx.db"));
             UpgradeFile f(p, QStringLiteral("UPG-NOJX"), Product);
             fillGood(f);
             f.dropColumn(QStringLiteral("tab_exer"), QStringLiteral("jx"));
             return p;
         },
         Outcome::MergeFailed, "jx"},
        {"the fourth append fails",
         [&] {
             const QString p = path(QStringLiteral("badrule.db"));
             UpgradeFile f(p, QStringLiteral("UPG-BADRULE"), Product);
             fillGood(f);
             f.loosen(QStringLiteral("tab_rule"));
             f.run(QStringLiteral("insert into tab_rule (id, ftid, sn, q) values ('120001', '120001002', 'x', NULL)"));
             return p;
         },
         Outcome::MergeFailed, "NOT NULL constraint failed: tab_rule.q"},
        {"a question the bank has",
         [&] {
             const QString p = path(QStringLiteral("dup.db"));
             UpgradeFile f(p, QStringLiteral("UPG-DUP"), Product);
             fillGood(f);
             f.addQuestion(QStringLiteral("Q1"), 61, QStringLiteral("100102"));
             return p;
         },
         Outcome::MergeFailed, "UNIQUE constraint failed"},
        // A code the bank or the file already holds would make a second
        // row of one chapter, key point or group; counters must be numbers.
        {"a chapter the bank has", edited("insert into tab_kmmc (C1) values ('1001')"), Outcome::MergeFailed, "tab_kmmc.C1 '1001'"},
        {"a key point the bank has", edited("insert into tab_rule (ftid) values ('110001002')"), Outcome::MergeFailed, "tab_rule.ftid '110001002'"},
        {"a group the bank has", edited("insert into tab_fgmc (id) values ('110001')"), Outcome::MergeFailed, "tab_fgmc.id '110001'"},
        {"a chapter twice in the file", edited("insert into tab_kmmc (C1) values ('100201')"), Outcome::MergeFailed, "tab_kmmc.C1 '100201'"},
        {"a key point twice in the file", edited("insert into tab_rule (ftid) values ('120001001')"), Outcome::MergeFailed, "tab_rule.ftid '120001001'"},
        {"a group twice in the file", edited("insert into tab_fgmc (id) values ('12')"), Outcome::MergeFailed, "tab_fgmc.id '12'"},
        {"a word for a type code", edited("update tab_answ set A13='abc' where A1='N1'"), Outcome::MergeFailed, "tab_answ.A13 holds 'abc'"},
        {"a letter for an option count", edited("update tab_answ set A2_1='x' where A1='N2'"), Outcome::MergeFailed, "tab_answ.A2_1 holds 'x'"},
        {"a word for a chapter counter", edited("update tab_kmmc set C3='many' where C1='1002'"), Outcome::MergeFailed, "tab_kmmc.C3 holds 'many'"},
        {"a fraction for a group counter", edited("update tab_fgmc set q=1.5 where id='12'"), Outcome::MergeFailed, "tab_fgmc.q holds 1.5"},
        {"a picture for a key-point counter", edited("update tab_rule set q=x'00ff'"), Outcome::MergeFailed, "tab_rule.q holds X'00FF'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = bankDigest(b);
        const QString p = c.make();
        const upgrade::Result r = import(p);
        EXPECT_EQ(describe(r.outcome), describe(c.outcome)) << r.engineText.toStdString();
        EXPECT_TRUE(r.engineText.contains(QString::fromUtf8(c.engineText))) << r.engineText.toStdString();
        EXPECT_EQ(bankDigest(b), before);
        // Nothing of the first appends stays behind a later failure.
        EXPECT_EQ(count(QStringLiteral("select count(*) from tab_kmmc")), 4);
        EXPECT_EQ(count(QStringLiteral("select count(*) from tab_exer")), 2);
        EXPECT_EQ(count(QStringLiteral("select count(*) from tab_answ")), 2);
        EXPECT_EQ(count(QStringLiteral("select count(*) from tab_sj")), 1);
    }
    // A missing file is never made by trying to open it.
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("nowhere/gone.db"))));
    EXPECT_FALSE(QDir(path(QStringLiteral("nowhere"))).exists());
}

// A good file merges with every row in its own fields, whether its columns
// stand in the bank's order or another one, from a path with a quote,
// blanks, Chinese characters and URI delimiters in it.
TEST_F(Upgrade, MergesRowsIntoTheirFieldsFromAnyPath)
{
    const struct {
        const char *name;
        const char *file;
        bool reversed;
    } cases[] = {
        {"plain", "up.db", false},
        {"quote, blanks, Chinese", "新 文件夹's/升级 O'Brien #1 %20 题库.db", false},
        {"columns in another order", "reordered.db", true},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts from the fixture's bank again.
        if (n++)
            forgetUpgrades();
        const QString p = path(QString::fromUtf8(c.file));
        QDir().mkpath(QFileInfo(p).absolutePath());
        {
            UpgradeFile f(p, QStringLiteral("UPG-%1").arg(n), Product);
            fillGood(f);
            if (c.reversed)
                for (const char *t : {"tab_kmmc", "tab_exer", "tab_answ", "tab_rule", "tab_fgmc", "tab_title"})
                    f.reverseColumns(QString::fromLatin1(t));
        }
        const QByteArray before = bankDigest(b);
        const upgrade::Result r = import(p);
        ASSERT_EQ(describe(r.outcome), describe(Outcome::Merged)) << r.engineText.toStdString();
        EXPECT_NE(bankDigest(b), before);
        EXPECT_TRUE(cn2.isOpen());

        EXPECT_EQ(b.row(QStringLiteral("select A2, A2_1, K3, K4, K5, A10, A13, E2, F1 from tab_answ where A1='N2'")),
                  QVariantList({QStringLiteral("ACD"), 4, QStringLiteral("120001001"), QStringLiteral("110001001"),
                                QStringLiteral("110001002"), QStringLiteral("100102"), 65, QString(), 0}));
        EXPECT_EQ(b.row(QStringLiteral("select A15, jx from tab_exer where A1='N1'")),
                  QVariantList({QByteArray("{\\rtf1 body of N1}"), QByteArray("{\\rtf1 why}")}));
        EXPECT_EQ(b.row(QStringLiteral("select C1_1, C2, C7 from tab_kmmc where C1='1002'")),
                  QVariantList({QStringLiteral("提示 1002"), QStringLiteral("新章节 1002"), QStringLiteral("0")}));
        EXPECT_EQ(b.row(QStringLiteral("select id, sn from tab_rule where ftid='120001001'")),
                  QVariantList({QStringLiteral("120001"), QStringLiteral("新考点 120001001")}));
        EXPECT_EQ(b.value(QStringLiteral("select A15 from tab_title where A1='1002017300000001'")).toByteArray(),
                  QByteArray("{\\rtf1 case}"));
        EXPECT_EQ(b.row(QStringLiteral("select cpbs from tab_sj where sjbs=?"), {QStringLiteral("UPG-%1").arg(n)}),
                  QVariantList({Product}));
        EXPECT_EQ(count(QStringLiteral("select count(*) from pragma_database_list where name not in ('main','temp')")), 0) << "file left attached";
    }
}

// The bank's own rows count the upgraded questions as entering them would;
// rows the file brings keep the counts it gives them.
TEST_F(Upgrade, RaisesTheCountersOfTheRowsAlreadyThere)
{
    {
        UpgradeFile f(path(QStringLiteral("up.db")), QStringLiteral("UPG-1"), Product);
        fillGood(f);
    }
    ASSERT_EQ(describe(import(path(QStringLiteral("up.db"))).outcome), describe(Outcome::Merged));
    const struct {
        const char *sql;
        const char *key;
        int expected;
    } rows[] = {
        // Chapters: N1 and N2 lie in 1001; the sub-question in 1002.
        {"select C3 from tab_kmmc where C1=?", "100101", 2},
        {"select C3 from tab_kmmc where C1=?", "1001", 4},
        {"select C3 from tab_kmmc where C1=?", "10", 5},
        {"select C3 from tab_kmmc where C1=?", "1", 5},
        {"select C3 from tab_kmmc where C1=?", "100102", 2},
        {"select C3 from tab_kmmc where C1=?", "1002", 1},
        {"select C3 from tab_kmmc where C1=?", "100201", 1},
        // Key points: the sub-question's list starts empty and counts none.
        {"select q from tab_rule where ftid=?", "110001001", 3},
        {"select q from tab_rule where ftid=?", "110001002", 2},
        {"select q from tab_rule where ftid=?", "110001003", 1},
        {"select q from tab_rule where ftid=?", "120001001", 1},
        // Groups and the one-character heading once per question; the
        // two-character heading is not an entry counter.
        {"select q from tab_fgmc where id=?", "110001", 4},
        {"select q from tab_fgmc where id=?", "1", 4},
        {"select q from tab_fgmc where id=?", "11", 2},
        {"select q from tab_fgmc where id=?", "120001", 1},
        {"select q from tab_fgmc where id=?", "12", 1},
    };
    for (const auto &r : rows)
        EXPECT_EQ(count(QString::fromLatin1(r.sql), {QString::fromLatin1(r.key)}), r.expected) << r.sql << " " << r.key;
}

// The same file a second time is refused and changes nothing; a fresh
// window's connection sees the same.
TEST_F(Upgrade, TheSameFileTwiceIsRefused)
{
    const QString p = path(QStringLiteral("twice.db"));
    {
        UpgradeFile f(p, QStringLiteral("UPG-TWICE"), Product);
        fillGood(f);
    }
    ASSERT_EQ(describe(import(p).outcome), describe(Outcome::Merged));
    const QByteArray after = bankDigest(b);
    EXPECT_EQ(describe(import(p).outcome), describe(Outcome::AlreadyApplied));
    upgrade::UpgradeConnection other;
    EXPECT_EQ(describe(upgrade::importUpgrade(b.dm(), other, p).outcome), describe(Outcome::AlreadyApplied));
    EXPECT_EQ(bankDigest(b), after);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tab_answ")), 5);
    EXPECT_EQ(count(QStringLiteral("select C3 from tab_kmmc where C1='1'")), 5);
}

// The merge names each of its steps in the waiting window, its share done
// rising, and ends it; a refused file shows no waiting window.
TEST_F(Upgrade, TheMergeShowsItsStepsAndEnds)
{
    QStringList stages;
    QList<int> shares;
    store::setWorkHook([&](const QString &stage, int percent) {
        stages << stage;
        shares << percent;
    });
    const QString p = path(QStringLiteral("steps.db"));
    {
        UpgradeFile f(p, QStringLiteral("UPG-STEPS"), Product);
        fillGood(f);
    }
    const upgrade::Result r = import(p);
    const QStringList afterMerge = stages;
    const QList<int> sharesAfterMerge = shares;
    stages.clear();
    const upgrade::Result again = import(p);
    store::setWorkHook({});
    ASSERT_EQ(describe(r.outcome), describe(Outcome::Merged)) << r.engineText.toStdString();
    EXPECT_EQ(describe(again.outcome), describe(Outcome::AlreadyApplied));
    EXPECT_TRUE(stages.isEmpty());
    ASSERT_GE(afterMerge.size(), 8);
    // A named list: the list that operator<< returns would die before the loop ends.
    const QStringList tables = upgrade::mergedTables() << QStringLiteral("tab_title");
    for (const QString &table : tables)
        EXPECT_TRUE(afterMerge.contains(upgrade::mergeStage(table))) << table.toStdString();
    EXPECT_EQ(upgrade::mergeStage(QStringLiteral("tab_answ")), QStringLiteral("正在升级题库：试题，请等待..."));
    EXPECT_EQ(sharesAfterMerge.last(), -1);
    const QList<int> rising = sharesAfterMerge.mid(0, sharesAfterMerge.size() - 1);
    EXPECT_TRUE(std::is_sorted(rising.begin(), rising.end()));
    EXPECT_GE(rising.first(), 0);
    EXPECT_LT(rising.last(), 100);
}
