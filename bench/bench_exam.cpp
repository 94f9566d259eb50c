// What the user waits for when a mock exam starts ("mnks", subject 1, 110
// questions): the paper numbered, recorded, created and drawn, loaded, and
// the exam window painted (offscreen).  Beside it, in the same run and
// alternating with it, the draw alone against its floor: every line's
// candidates read and drawn, against the same candidate statements stepped
// through the sqlite3 C API.
//
//   bench_exam [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "common/CommonRoutines.h"
#include "exam/PaperGeneration.h"
#include "exam/UexamProgress.h"
#include "exam/UexamStart.h"
#include "exam/Uexam.h"
#include "platform/Seams.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

#include <QApplication>
#include <QDialog>
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
std::vector<double> g_start, g_draw, g_floor;
int g_questions = 0;

// The lines of subject 1 whose type takes part (B2 > 0), in the order drawn.
std::vector<exam::DrawGroup> drawnLines(TDM1 &dm)
{
    std::vector<exam::DrawGroup> out;
    dm.setTypeTable(1);
    QSqlQuery t = dm.execText(QStringLiteral("select A1, B2 from tab_tx1 order by rowid"));
    while (t.next())
        if (t.value(1).toDouble() > 0)
            for (const exam::DrawGroup &g : exam::compositionOfType(1, t.value(0).toInt()))
                out.push_back(g);
    t.finish();
    return out;
}

// The draw of every line as the paper does it.
int ourDraw(TDM1 &dm, const std::vector<exam::DrawGroup> &lines, quint32 seed)
{
    int length = 0;
    for (const exam::DrawGroup &g : lines) {
        exam::DrawRandom random(seed);
        length += int(exam::DrawGroupQuestions(dm, g, random).size());
    }
    return length;
}

// The same candidate statements, prepared, bound and stepped.
int floorDraw(sqlite3 *db, const std::vector<exam::DrawGroup> &lines)
{
    const QByteArray sql = exam::groupCandidateSelection().toUtf8();
    int rows = 0;
    for (const exam::DrawGroup &g : lines) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
        const QByteArray prefix = g.prefix.toUtf8();
        sqlite3_bind_text(stmt, 1, prefix.constData(), int(prefix.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(stmt, 2, g.typeCode);
        sqlite3_int64 sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int64(stmt, 0);
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
        sqlite3_finalize(stmt);
    }
    return rows;
}

void BM_ExamStart(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const std::vector<exam::DrawGroup> lines = drawnLines(dm);
    quint32 seed = 36000000;
    for (auto _ : state) {
        // The draw alone, ours and the floor alternating.
        {
            QElapsedTimer t;
            t.start();
            benchmark::DoNotOptimize(ourDraw(dm, lines, seed += 7919));
            g_draw.push_back(benchMsSince(t));
        }
        {
            QElapsedTimer t;
            t.start();
            benchmark::DoNotOptimize(floorDraw(dm.handle(), lines));
            g_floor.push_back(benchMsSince(t));
        }
        // The whole start through the menu command's own road, up to the
        // exam window's first paint.
        bool shown = false;
        QString table;
        const double ms = benchPaintedModal<TFrmExam>([] { mnks(1); }, [&](TFrmExam *w) {
            g_questions = int(w->questions().size());
            table = w->paper().tableName;
            shown = true;
            w->hide();
        });
        if (shown)
            g_start.push_back(ms);
        state.PauseTiming();
        if (!shown) {
            state.SkipWithError("the exam window did not open");
            return;
        }
        DropExamTable(dm, table);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["questions"] = g_questions;
}

// The line-by-line draw against the draw over the subject's whole candidate
// list ("select * ... order by E3"), for a few seeds, on this bank.
int drawCheck(TDM1 &dm, int *lines)
{
    QVector<exam::Candidate> whole;
    QSqlQuery q = dm.execText(exam::candidateSelection(1));
    while (q.next())
        whole.append({q.value(QStringLiteral("A1")).toString(), q.value(QStringLiteral("A10")).toString(),
                      q.value(QStringLiteral("A13")).toInt()});
    q.finish();
    int differing = 0;
    *lines = 0;
    for (quint32 seed : {0u, 36000000u, 51234567u, 86399999u}) {
        for (const exam::DrawGroup &g : exam::paperComposition(1)) {
            exam::DrawRandom a(seed), b(seed);
            differing += exam::DrawQuestions(whole, g.typeCode, g.count, g.prefix, a) != exam::DrawGroupQuestions(dm, g, b);
            ++*lines;
        }
    }
    return differing;
}

} // namespace

BENCHMARK(BM_ExamStart)->Unit(benchmark::kMillisecond)->Iterations(benchRounds(25));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    benchCopyPictures(bank);
    // A refusal would end the program: here it only fails the benchmark.
    seams::setProgramEnd([] {});
    const int candidates = bank.dm()
                               .scalar(QStringLiteral("select count(*) from tab_answ where (substr(A10,1,2) = '01' or "
                                                      "substr(A10,1,2) = '05') and (f1 <> 1)"))
                               .toInt();
    std::printf("bank: %d questions, %d candidates of subject 1, load average %s\n", questions, candidates,
                qPrintable(benchLoadAverage()));
    int lines = 0;
    const int differing = drawCheck(bank.dm(), &lines);
    std::printf("draw check: %d of %d seeded lines differ from the whole-list draw\n", differing, lines);
    runBenchmarks(argc, argv);
    std::printf("exam-start ms: %.1f (%d questions, window painted)\n", benchMedian(g_start), g_questions);
    std::printf("exam-draw ms: %.2f (floor %.2f)\n", benchMedian(g_draw), benchMedian(g_floor));
    std::printf("exam-draw ratio: %.2f (median of %zu paired ratios)\n", benchPairedRatio(g_draw, g_floor), g_draw.size());
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
