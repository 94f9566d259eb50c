// Generating a 110-question mock paper (subject 1) on a 100,000-question
// bank: numbering, the record, the paper table and the drawn questions.
#include "BenchBank.h"

#include "common/CommonRoutines.h"
#include "exam/PaperGeneration.h"
#include "store/dm.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

BenchBank *g_bank = nullptr;

void BM_PaperGeneration(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    int questions = 0;
    for (auto _ : state) {
        const exam::PaperState paper = exam::generatePaper(dm, 1);
        state.PauseTiming();
        questions = dm.scalar(QStringLiteral("select count(*) from ") + paper.tableName).toInt();
        DropExamTable(dm, paper.tableName);
        state.ResumeTiming();
    }
    state.counters["questions"] = questions;
}

} // namespace

BENCHMARK(BM_PaperGeneration)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchBank bank(100000);
    g_bank = &bank;
    runBenchmarks(argc, argv);
    std::printf("paper-generation ms: %.2f\n", benchMs("BM_PaperGeneration"));
    return 0;
}
