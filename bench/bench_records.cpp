// Opening the study log and the score chart on a bank with ten years of
// log days (3,650 rows) and 5,000 chapter rows, up to the painted window,
// against a floor of the same SQL stepped through the sqlite3 C API on the
// program's own connection in the same rounds.
//
//   bench_records [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "common/ShellState.h"
#include "records/StudyRecords.h"
#include "records/Uchart.h"
#include "records/Urz.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
std::vector<double> g_logFloor, g_chartFloor;
int g_chapterRows = 5000;

void fillRecords(TDM1 &dm)
{
    DbTransaction t(dm);
    dm.run(QStringLiteral("delete from tab_rz"));
    const QDate first = QDate::currentDate().addDays(-3649);
    for (int d = 0; d < 3650; ++d) {
        const int given = 20 + d % 70, wrong = d % 13;
        dm.run(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, D1, A4) values (?, ?, ?, ?, ?, ?, ?)"),
               {sqltext::dateText(first.addDays(d)), given, wrong, given - 3, wrong / 2, QStringLiteral("01:%1:00").arg(d % 60, 2, 10, QLatin1Char('0')),
                records::overallScore(given, wrong)});
    }
    dm.run(QStringLiteral("delete from tab_kmmc"));
    for (int i = 0; i < g_chapterRows; ++i) {
        dm.run(QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C4, C7, D1, D2) values (?, ?, ?, ?, ?, ?, '0', ?, ?)"),
               {i + 1, QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')), QStringLiteral("提示"), QStringLiteral("第%1章").arg(i + 1),
                40 + i % 60, (i * 7) % 40, 100 + i % 300, i % 50});
    }
    t.commit();
}

// Steps every row of each statement and touches its columns.
double floorMs(sqlite3 *db, const std::vector<const char *> &sqls)
{
    QElapsedTimer t;
    t.start();
    for (const char *sql : sqls) {
        sqlite3_stmt *s = benchPrepare(db, sql);
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(s, c));
        }
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE) {
            std::fprintf(stderr, "floor: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
    }
    return double(t.nsecsElapsed()) / 1e6;
}

template <class Window>
void openWindow(benchmark::State &state, std::vector<double> &floors, const std::vector<const char *> &sqls)
{
    // The bank is held by the program's connection alone: the floor reads
    // through that connection's handle.
    sqlite3 *db = g_bank->dm().handle();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        {
            Window w;
            w.show();
            // Painting the whole window into an image: what the screen
            // would show first.
            const QPixmap painted = w.grab();
            benchmark::DoNotOptimize(painted.cacheKey());
            state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
            w.close();
        }
        QApplication::processEvents();
        floors.push_back(floorMs(db, sqls));
    }
}

void BM_StudyLog(benchmark::State &state)
{
    openWindow<TFrmRz>(state, g_logFloor,
                       {"select A1, B1, B2, A2, A3, D1, A4 from tab_rz order by A1 desc",
                        "select sum(A2) as count_d1,sum(A3) as count_d2 from tab_rz "});
}

void BM_ScoreChart(benchmark::State &state)
{
    openWindow<Tfrmchart>(state, g_chartFloor, {"select C2, C3, C4, D1, D2 from tab_kmmc where C7='0'"});
}

} // namespace

BENCHMARK(BM_StudyLog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(benchRounds(30));
BENCHMARK(BM_ScoreChart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(benchRounds(30));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 20000);
    QApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    if (benchSmoke())
        g_chapterRows = 200;
    std::printf("bank: %d questions, %d chapter rows, load average %s\n", questions, g_chapterRows, qPrintable(benchLoadAverage()));
    shell().ScreenMode = QStringLiteral("1024");
    fillRecords(bank.dm());
    runBenchmarks(argc, argv);
    const double log = benchMs("BM_StudyLog"), logFloor = benchMedian(g_logFloor);
    const double chart = benchMs("BM_ScoreChart"), chartFloor = benchMedian(g_chartFloor);
    std::printf("study-log ms: %.2f\n", log);
    std::printf("study-log floor ms: %.2f (ratio %.1f)\n", logFloor, log / logFloor);
    std::printf("score-chart ms: %.2f\n", chart);
    std::printf("score-chart floor ms: %.2f (ratio %.1f)\n", chartFloor, chart / chartFloor);
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
