// What the user waits for when a practice run starts on the largest chapter
// of a large bank: from a click on the chapter window's "练习新题" (and on
// "错题重做", "习题重温", and a double-click on the chapter) to the
// practice window painted with its first question.  Beside it, in the same
// run and alternating with it, the floor: the same selection stepped
// through with the sqlite3 C API, every column read.  The program's memory
// is read the way the user's machine sees it: resident with the menu alone,
// then the peak from opening the chapter window to the last practice start.
//
//   bench_practice_start [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "app/start.h"
#include "common/ShellState.h"
#include "platform/Seams.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeSelection.h"
#include "practice/Ukmmc.h"
#include "practice/Ulxxt.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <algorithm>
#include <functional>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
QString g_chapter;
TFrmkmmc *g_chapters = nullptr;
std::vector<double> g_ours, g_floor, g_window, g_wrongWindow, g_reviewWindow, g_doubleClickWindow;
// The wrong-question and review lists of the same chapter, ours and the
// floor paired the same way.
std::vector<double> g_wrongOurs, g_wrongFloor, g_reviewOurs, g_reviewFloor;
int g_wrongRows = 0, g_reviewRows = 0;

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

// One list read by the run's reader and by the floor.  Which of the two
// goes first alternates from round to round: the first read after a
// practice window has been painted and closed finds the processor's caches
// cold, and that cost is shared out evenly rather than laid on one side.
int pairedLoad(TDM1 &dm, const QString &sql, std::vector<double> &ours, std::vector<double> &floor, bool floorFirst)
{
    const QByteArray utf8 = sql.toUtf8();
    auto floorRound = [&] {
        QElapsedTimer t;
        t.start();
        benchmark::DoNotOptimize(floorRead(dm.handle(), utf8));
        floor.push_back(benchMsSince(t));
    };
    if (floorFirst)
        floorRound();
    int rows = 0;
    {
        QElapsedTimer t;
        t.start();
        practice::PracticeRun run(dm);
        run.loadRows(sql);
        ours.push_back(benchMsSince(t));
        rows = run.count();
    }
    if (!floorFirst)
        floorRound();
    return rows;
}

// One start as the user sees it: the button clicked, the run started, the
// window built and painted with its first question.  The chapter window
// then closes the practice window and refreshes itself, which is not timed.
bool paintedStart(const std::function<void()> &click, int rows, std::vector<double> &times)
{
    bool painted = false;
    const double ms = benchPaintedModal<TFrmLxxt>(click, [&](TFrmLxxt *w) { painted = w->run().totalCount() == rows; });
    QCoreApplication::processEvents();
    if (painted)
        times.push_back(ms);
    return painted;
}

void BM_PracticeStart(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const QString sql = practice::practiceSql(practice::PracticeKind::New, g_chapter);
    const QString wrong = practice::practiceSql(practice::PracticeKind::Wrong, g_chapter);
    const QString review = practice::practiceSql(practice::PracticeKind::Review, g_chapter);
    int rows = 0;
    bool floorFirst = false;
    for (auto _ : state) {
        // The lists alone, ours and the floor alternating.
        rows = pairedLoad(dm, sql, g_ours, g_floor, floorFirst);
        g_wrongRows = pairedLoad(dm, wrong, g_wrongOurs, g_wrongFloor, floorFirst);
        g_reviewRows = pairedLoad(dm, review, g_reviewOurs, g_reviewFloor, floorFirst);
        floorFirst = !floorFirst;
        // The whole starts as the user sees them: "练习新题", "错题重做"
        // and "习题重温" clicked in turn, then the chapter double-clicked.
        if (!paintedStart([] { g_chapters->SpeedButton1->click(); }, rows, g_window)
            || !paintedStart([] { g_chapters->SpeedButton2->click(); }, g_wrongRows, g_wrongWindow)
            || !paintedStart([] { g_chapters->SpeedButton3->click(); }, g_reviewRows, g_reviewWindow)
            || !paintedStart([] { g_chapters->DBGrid1DblClick(); }, rows, g_doubleClickWindow)) {
            state.SkipWithError("the practice window did not open on the chapter's list");
            return;
        }
    }
    state.counters["rows"] = rows;
}

} // namespace

BENCHMARK(BM_PracticeStart)->Unit(benchmark::kMillisecond)->Iterations(benchRounds(25));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    benchCopyPictures(bank);
    // Study state, so that the wrong-question and review lists have rows:
    // two questions in three answered, every other one of them wrong.
    bank.dm().run(QStringLiteral("update tab_answ set E2=A2, E3=1+rowid%3, E4=case when rowid%2=0 then -1-rowid%3 else rowid%3 end, "
                                 "E1=printf('2026-%02d-%02d', 1+rowid%12, 1+rowid%28) where rowid%3<>0"));
    g_chapter = bank.largestChapter();
    const int chapterRows = bank.dm().scalar(QStringLiteral("select C3 from tab_kmmc where C1=?"), {g_chapter}).toInt();
    std::printf("bank: %d questions, largest chapter %s with %d questions, load average %s\n", questions, qPrintable(g_chapter),
                chapterRows, qPrintable(benchLoadAverage()));
    // Prompts are answered at once rather than waited on, and printed.
    int prompts = 0;
    seams::setPromptHandler([&](const seams::Prompt &p) {
        ++prompts;
        std::printf("prompt: [%s] %s\n", qPrintable(p.caption), qPrintable(p.text));
        return seams::defaultAnswer(p);
    });
    // The menu alone, painted: what the program holds before the user
    // goes to chapter practice.
    TFrmStart menu;
    menu.FormCreate();
    {
        BenchPaintWatch spy(&menu);
        menu.show();
        spy.wait();
    }
    QCoreApplication::processEvents();
    const double menuMb = benchRssMb();
    const bool peakReset = benchResetPeakRss();
    // The menu's chapter-practice command sets the subject, then opens the
    // chapter window.
    shell().PracticeSubject = 1;
    TFrmkmmc chapters(&menu);
    g_chapters = &chapters;
    chapters.show();
    QCoreApplication::processEvents();
    if (!chapters.locateChapter(g_chapter)) {
        std::printf("the chapter window could not select chapter %s\n", qPrintable(g_chapter));
        return 1;
    }
    runBenchmarks(argc, argv);
    const double peakMb = benchPeakRssMb();
    std::printf("practice-start ms: %.1f\n", benchMedian(g_window));
    std::printf("wrong-start ms: %.1f\n", benchMedian(g_wrongWindow));
    std::printf("review-start ms: %.1f\n", benchMedian(g_reviewWindow));
    std::printf("double-click-start ms: %.1f\n", benchMedian(g_doubleClickWindow));
    std::printf("practice-start extra MB: %.1f (peak %.1f MB from the chapter window to the last practice window, above %.1f "
                "with the menu alone%s; %d prompts)\n",
                peakMb - menuMb, peakMb, menuMb, peakReset ? "" : "; the peak could not be reset, so it may predate the menu", prompts);
    std::printf("practice-load ms: %.2f (floor %.2f)\n", benchMedian(g_ours), benchMedian(g_floor));
    std::printf("practice-load ratio: %.2f (median of %zu paired ratios)\n", benchPairedRatio(g_ours, g_floor), g_ours.size());
    std::printf("wrong-load ms: %.2f (floor %.2f, %d rows)\n", benchMedian(g_wrongOurs), benchMedian(g_wrongFloor), g_wrongRows);
    std::printf("wrong-load ratio: %.2f (median of %zu paired ratios)\n", benchPairedRatio(g_wrongOurs, g_wrongFloor), g_wrongOurs.size());
    std::printf("review-load ms: %.2f (floor %.2f, %d rows)\n", benchMedian(g_reviewOurs), benchMedian(g_reviewFloor), g_reviewRows);
    std::printf("review-load ratio: %.2f (median of %zu paired ratios)\n", benchPairedRatio(g_reviewOurs, g_reviewFloor),
                g_reviewOurs.size());
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
