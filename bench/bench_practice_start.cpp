// What the user waits for when a practice run starts on the largest chapter
// of a large bank: from the chapter window's "练习新题" to the practice
// window painted with its first question.  Beside it, in the same run and
// alternating with it, the floor: the same selection stepped through with
// the sqlite3 C API, every column read.
//
//   bench_practice_start [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "common/ShellState.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeSelection.h"
#include "practice/Ulxxt.h"
#include "store/dm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSqlQuery>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
QString g_chapter;
std::vector<double> g_ours, g_floor, g_window;
double g_rssBase = 0, g_rssPeak = 0;

// Steps the selection through the engine's C API, reading every column as
// the list reader does (texts as UTF-8, numbers as integers).
int floorRead(sqlite3 *db, const QByteArray &sql)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    int rows = 0;
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_INTEGER)
                bytes += size_t(sqlite3_column_int(stmt, c));
            else {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
                bytes += size_t(sqlite3_column_bytes(stmt, c));
            }
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(bytes);
    return rows;
}

void BM_PracticeStart(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const QString sql = practice::practiceSql(practice::PracticeKind::New, g_chapter);
    const QByteArray utf8 = sql.toUtf8();
    int rows = 0;
    for (auto _ : state) {
        // The list alone, ours and the floor alternating.
        {
            QElapsedTimer t;
            t.start();
            practice::PracticeRun run(dm);
            run.loadRows(sql);
            g_ours.push_back(benchMsSince(t));
            rows = run.count();
        }
        {
            QElapsedTimer t;
            t.start();
            benchmark::DoNotOptimize(floorRead(dm.handle(), utf8));
            g_floor.push_back(benchMsSince(t));
        }
        // The whole start as the user sees it: the run started, the window
        // built and painted with its first question.
        QElapsedTimer t;
        t.start();
        shell().PracticeSql = sql;
        auto *w = new TFrmLxxt;
        BenchPaintWatch spy(w);
        if (!w->LoadQuestionList()) {
            state.SkipWithError("the practice window did not load");
            delete w;
            return;
        }
        w->show();
        spy.wait();
        g_window.push_back(benchMsSince(t));
        g_rssPeak = std::max(g_rssPeak, benchRssMb());
        delete w;
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = rows;
}

} // namespace

BENCHMARK(BM_PracticeStart)->Unit(benchmark::kMillisecond)->Iterations(25);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    benchCopyPictures(bank);
    g_chapter = bank.dm().scalar(QStringLiteral("select C1 from tab_kmmc where length(C1)=4 order by C3 desc, bh limit 1")).toString();
    const int chapterRows = bank.dm().scalar(QStringLiteral("select C3 from tab_kmmc where C1=?"), {g_chapter}).toInt();
    std::printf("bank: %d questions, largest chapter %s with %d questions, load average %s\n", questions, qPrintable(g_chapter),
                chapterRows, qPrintable(benchLoadAverage()));
    // What the program holds before any practice window: the bank open.
    g_rssBase = benchRssMb();
    runBenchmarks(argc, argv);
    std::printf("practice-start ms: %.1f\n", benchMedian(g_window));
    std::printf("practice-start extra MB: %.1f (resident with the window open, above the open bank)\n", g_rssPeak - g_rssBase);
    std::printf("practice-load ms: %.2f (floor %.2f)\n", benchMedian(g_ours), benchMedian(g_floor));
    std::printf("practice-load ratio: %.2f (median of %zu paired ratios)\n", benchPairedRatio(g_ours, g_floor), g_ours.size());
    return 0;
}
