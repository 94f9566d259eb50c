// The bank's hot paths on a 100,000-question bank: the start of a practice
// run and the chapter totals.  (The judged-answer write path and its floor
// are measured answer by answer in bench_answer_path.)
//
//   bench_store [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "store/SqlText.h"
#include "store/dm.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

BenchBank *g_bank = nullptr;

// The start of a practice run: E2_1 emptied everywhere (after a previous
// run left answers in 60 rows) and one chapter's new questions selected.
void BM_PracticeStart(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const QString chapter = dm.scalar(QStringLiteral("select C1 from tab_kmmc where length(C1)=4 order by bh limit 1 offset 3")).toString();
    for (auto _ : state) {
        state.PauseTiming();
        dm.execText(QStringLiteral("update tab_answ set E2_1='A' where rowid in (select rowid from tab_answ order by rowid desc limit 60)"));
        state.ResumeTiming();
        dm.exec(QStringLiteral("update tab_answ set E2_1='' where E2_1 IS NOT ''"));
        QSqlQuery q = dm.execText(
            QStringLiteral("select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount "
                           "from tab_answ where (substr(A10,1,%1) = %2) and (E2 = '' or E2 is null)  and (f1<>1)  order by a13,a10,xx,a1")
                .arg(chapter.size())
                .arg(sqltext::quoted(chapter)));
        int rows = 0;
        while (q.next())
            ++rows;
        benchmark::DoNotOptimize(rows);
        state.counters["rows"] = rows;
    }
}

void BM_ChapterTotals(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    for (auto _ : state) {
        QSqlQuery q = dm.exec(QStringLiteral(
            "select sum(C3) as count_c3,sum(D1) as count_d1,sum(D2) as count_d2 from tab_kmmc where length(c1)=6"));
        q.next();
        benchmark::DoNotOptimize(q.value(0));
        q.finish();
    }
}

} // namespace

BENCHMARK(BM_PracticeStart)->Unit(benchmark::kMillisecond)->MinTime(benchMinTime(0.5));
BENCHMARK(BM_ChapterTotals)->Unit(benchmark::kMicrosecond)->MinTime(benchMinTime(0.5));

int main(int argc, char **argv)
{
    const int questions = benchQuestions(argc, argv, 100000);
    QCoreApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    runBenchmarks(argc, argv);
    std::printf("practice-select ms: %.2f\n", benchMs("BM_PracticeStart"));
    std::printf("chapter-totals ms: %.3f\n", benchMs("BM_ChapterTotals"));
    return 0;
}
