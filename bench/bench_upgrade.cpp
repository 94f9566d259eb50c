// Merging an upgrade of 20,000 questions into the 100,000-question bank:
// what the user waits for after "开始升级" (the checks, the appends, the
// counter raises and the stamp in one transaction), against a floor of the
// same SQL through the sqlite3 C API on the program's own connection (the
// bank is held by it alone).  The two run interleaved; the bank is taken
// back after each merge, untimed.  The program's merge runs as in the
// program, with the waiting window (offscreen) kept painted: the longest
// time without a paint is printed beside it.  Then the first start on a
// bank made by an earlier build (without the indexes added since): the
// index refresh, its longest time without a paint, and its floor (the same
// statements straight on a copy of that bank).
//
//   bench_upgrade [--questions N]      (or PELLBROOK_BENCH_QUESTIONS; the
//                                       upgrade file holds a fifth of N)
#include "BenchBank.h"
#include "UpgradeBank.h"

#include "store/Schema.h"
#include "store/dm.h"
#include "platform/Seams.h"
#include "upgrade/BankUpgrade.h"
#include "widgets/Uprogress.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
QString g_upgrade;
std::vector<double> g_program, g_floor, g_gaps;
int g_paints = 0;

const char *const Tables[] = {"tab_kmmc", "tab_exer", "tab_answ", "tab_rule", "tab_fgmc", "tab_title", "tab_sj"};

struct Marks {
    std::vector<qint64> rowid;
};

Marks marks(TDM1 &dm)
{
    Marks m;
    for (const char *t : Tables)
        m.rowid.push_back(dm.scalar(QStringLiteral("select coalesce(max(rowid),0) from ") + QLatin1String(t)).toLongLong());
    return m;
}

// Takes the bank back to its rows before a merge (the raised counters stay
// raised; they do not change the work of the next merge).
void takeBack(TDM1 &dm, const Marks &m)
{
    DbTransaction tx(dm);
    for (size_t i = 0; i < std::size(Tables); ++i)
        dm.runText(QStringLiteral("delete from %1 where rowid > %2").arg(QLatin1String(Tables[i])).arg(m.rowid[i]));
    tx.commit();
    dm.execText(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")).finish();
}

void exec(sqlite3 *db, const QString &sql, const QVariantList &binds = {})
{
    sqlite3_stmt *s = nullptr;
    const QByteArray b = sql.toUtf8();
    if (sqlite3_prepare_v2(db, b.constData(), int(b.size()), &s, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", b.constData(), sqlite3_errmsg(db));
        std::exit(1);
    }
    for (int i = 0; i < binds.size() && i < sqlite3_bind_parameter_count(s); ++i) {
        if (binds[i].typeId() == QMetaType::QString) {
            const QByteArray t = binds[i].toString().toUtf8();
            sqlite3_bind_text(s, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(s, i + 1, binds[i].toLongLong());
        }
    }
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "%s: %s\n", b.constData(), sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_finalize(s);
}

// The merge's statements straight on the engine's handle.
void floorMerge(sqlite3 *db, const QString &file)
{
    const QString uri = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    exec(db, QStringLiteral("ATTACH DATABASE ? AS upgrade_file"), {uri});
    exec(db, QStringLiteral("BEGIN"));
    auto last = [&](const char *t) {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, (QByteArray("select coalesce(max(rowid),0) from ") + t).constData(), -1, &s, nullptr);
        sqlite3_step(s);
        const qint64 v = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        return v;
    };
    const QVariantList marks{last("tab_kmmc"), last("tab_rule"), last("tab_fgmc")};
    const QStringList tables = upgrade::mergedTables() << QStringLiteral("tab_title");
    for (const QString &t : tables)
        exec(db, upgrade::appendStatement(t, store::tableColumns(t), QStringLiteral("upgrade_file")));
    for (const QString &raise : upgrade::counterRaiseStatements(QStringLiteral("upgrade_file")))
        exec(db, raise, marks);
    exec(db, QStringLiteral("insert into tab_sj(sjbs,cpbs) values('floor','floor')"));
    exec(db, QStringLiteral("COMMIT"));
    exec(db, QStringLiteral("DETACH DATABASE upgrade_file"));
}

void BM_UpgradeMerge(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const Marks before = marks(dm);
    bool program = true;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (program) {
            upgrade::UpgradeConnection cn2;
            BenchGapWatch gaps;
            gaps.start();
            const upgrade::Result r = upgrade::importUpgrade(dm, cn2, g_upgrade);
            int paints = 0;
            g_gaps.push_back(gaps.stop(&paints));
            g_paints = paints;
            if (r.outcome != upgrade::Outcome::Merged) {
                state.SkipWithError(qPrintable(QStringLiteral("merge failed: ") + r.engineText));
                return;
            }
        } else {
            floorMerge(dm.handle(), g_upgrade);
        }
        const double ms = double(t.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000.0);
        (program ? g_program : g_floor).push_back(ms);
        program = !program;
        takeBack(dm, before);
    }
}

// The indexes a bank of an earlier build lacks: those of the key-point
// fields after the first and of wrong-question and review practice.
QStringList laterIndexes()
{
    QStringList out;
    for (const QString &s : store::schemaStatements()) {
        const QString name = s.section(QLatin1Char(' '), 2, 2);
        if (s.startsWith(QLatin1String("CREATE INDEX"))
            && (name.endsWith(QLatin1String("_wrong")) || name.endsWith(QLatin1String("_done"))
                || (name.startsWith(QLatin1String("ix_answ_k")) && name != QLatin1String("ix_answ_k3"))))
            out << s;
    }
    return out;
}

// A program folder with a copy of the generated bank as an earlier build
// left it.
QString earlierBank(const QString &folder, const QStringList &later)
{
    QDir().mkpath(folder + QStringLiteral("/data"));
    const QString path = folder + QStringLiteral("/data/VORDANBANK01.db");
    QFile::copy(g_bank->sourcePath(), path);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    for (const QString &s : later)
        exec(db, QStringLiteral("DROP INDEX ") + s.section(QLatin1Char(' '), 2, 2));
    sqlite3_close(db);
    return path;
}

} // namespace

BENCHMARK(BM_UpgradeMerge)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(benchRounds(10));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QApplication app(argc, argv);
    // Long work shows the waiting window, as the program has it.
    installWorkWindow();
    BenchBank bank(questions);
    g_bank = &bank;
    demobank::UpgradeOptions o;
    o.questions = std::max(10, questions / 5);
    g_upgrade = bank.dir() + QStringLiteral("upgrade-%1.db").arg(o.questions);
    const demobank::UpgradeSummary s = demobank::writeUpgradeFile(g_upgrade, bank.sourcePath(), o);
    std::printf("upgrade file: %d questions, %d materials, %d sections, %lld bytes\n", s.questions, s.materials, s.sections,
                static_cast<long long>(QFile(g_upgrade).size()));
    runBenchmarks(argc, argv);
    std::printf("upgrade-merge ms: %.1f (floor %.1f)\n", benchMedian(g_program), benchMedian(g_floor));
    std::printf("upgrade-merge ratio: %.2f\n", benchMedian(g_program) / benchMedian(g_floor));
    QString each;
    for (double g : g_gaps)
        each += QStringLiteral(" %1").arg(g, 0, 'f', 1);
    std::printf("upgrade longest gap ms: %.1f (worst of %zu merges:%s; %d paints in the last)\n",
                g_gaps.empty() ? std::nan("") : *std::max_element(g_gaps.begin(), g_gaps.end()), g_gaps.size(), qPrintable(each),
                g_paints);

    // The first start on a bank of an earlier build: its indexes refreshed.
    // One refresh is a single wait of a few hundred milliseconds, moved by
    // whatever else the machine does at that moment: three rounds, each
    // followed by its floor, give the medians and the worst gap.
    {
        const QStringList later = laterIndexes();
        const QString home = seams::appDir();
        std::vector<double> refreshes, floors, gaps;
        int paints = 0;
        for (int round = 0, rounds = benchRounds(3); round < rounds; ++round) {
            QTemporaryDir dir;
            earlierBank(dir.path() + QStringLiteral("/program"), later);
            BenchGapWatch watch;
            QElapsedTimer t;
            t.start();
            watch.start();
            seams::setAppDir(dir.path() + QStringLiteral("/program/"));
            {
                TDM1 dm;
                refreshes.push_back(benchMsSince(t));
                gaps.push_back(watch.stop(&paints));
                if (!dm.DbOpened) {
                    std::fprintf(stderr, "the earlier bank did not open: %s\n", qPrintable(dm.openError));
                    return 1;
                }
            }
            seams::setAppDir(home);
            const QString floorBank = earlierBank(dir.path() + QStringLiteral("/floor"), later);
            t.restart();
            sqlite3 *db = nullptr;
            sqlite3_open_v2(floorBank.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            exec(db, QStringLiteral("BEGIN"));
            for (const QString &s : later)
                exec(db, s);
            exec(db, QStringLiteral("COMMIT"));
            sqlite3_close(db);
            floors.push_back(benchMsSince(t));
        }
        std::printf("index-refresh ms: %.1f (median of %zu; %lld indexes; floor %.1f, the bank opened and the same indexes made)\n",
                    benchMedian(refreshes), refreshes.size(), static_cast<long long>(later.size()), benchMedian(floors));
        std::printf("index-refresh longest gap ms: %.1f (worst of %zu; %d paints in the last)\n",
                    *std::max_element(gaps.begin(), gaps.end()), gaps.size(), paints);
    }
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
