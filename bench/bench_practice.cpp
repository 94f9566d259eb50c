// Moving from one answered question to the next in practice on a
// 100,000-question bank: judging, counting, and loading and laying out the
// next question's body.
#include "BenchBank.h"

#include "practice/PracticeRun.h"
#include "practice/PracticeSelection.h"
#include "store/dm.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

BenchBank *g_bank = nullptr;

void BM_NextQuestion(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const QString chapter = dm.scalar(QStringLiteral("select C1 from tab_kmmc where length(C1)=4 order by bh limit 1 offset 3")).toString();
    practice::PracticeRun run(dm);
    if (!run.load(practice::practiceSql(practice::PracticeKind::New, chapter))) {
        state.SkipWithError("no questions to practise");
        return;
    }
    QTextDocument upper, lower;
    upper.setTextWidth(700);
    lower.setTextWidth(700);
    int record = 1;
    int round = 0;
    for (auto _ : state) {
        const int next = record % run.count() + 1;
        // Each round gives another answer, so every move is counted.
        const QString answer = (round % 2) ? QStringLiteral("B") : QStringLiteral("A");
        benchmark::DoNotOptimize(practice::judgeAndShowNext(run, record, answer, next, upper, lower));
        benchmark::DoNotOptimize(upper.size());
        record = next;
        if (record == 1)
            ++round;
    }
    state.counters["questions"] = run.count();
}

} // namespace

BENCHMARK(BM_NextQuestion)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchBank bank(100000);
    g_bank = &bank;
    runBenchmarks(argc, argv);
    std::printf("next-question ms: %.3f\n", benchMs("BM_NextQuestion"));
    return 0;
}
