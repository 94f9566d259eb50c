// Moving on to the next question in the practice window, as the user sees
// it: an option pressed, "下一题" clicked, and the time until the window has
// painted again (the answer judged and counted, the next body loaded and
// laid out, the answer area, the board and the labels brought up to date).
// Timed answer by answer over 400 answers on the largest chapter, offscreen.
//
//   bench_practice [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "common/ShellState.h"
#include "platform/Seams.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/PracticeSelection.h"
#include "practice/Ulxxt.h"
#include "store/dm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
QString g_chapter;
std::vector<double> g_next;
int g_prompts = 0;
const int Answers = benchSmoke() ? 10 : 400;
const int WarmUp = benchSmoke() ? 2 : 10;

void BM_NextQuestion(benchmark::State &state)
{
    shell().PracticeSql = practice::practiceSql(practice::PracticeKind::New, g_chapter);
    auto *w = new TFrmLxxt;
    if (!w->LoadQuestionList()) {
        state.SkipWithError("the practice window did not load");
        delete w;
        return;
    }
    BenchPaintWatch spy(w);
    w->show();
    spy.wait();
    int answered = 0;
    for (auto _ : state) {
        for (int i = 0; i < Answers + WarmUp; ++i) {
            // Press the first or second option of the page on show, so that
            // answers are right and wrong by turns.
            const int page = w->answerArea->page();
            if (QToolButton *b = w->answerArea->optionButton(page, 1 + i % 2); b && b->isVisible())
                b->click();
            QCoreApplication::processEvents();
            spy.expect();
            const int from = w->currentRecord();
            QElapsedTimer t;
            t.start();
            w->epEfTrBtn2->click();
            spy.wait();
            if (w->currentRecord() != from + 1) {
                state.SkipWithError("下一题 did not move on");
                break;
            }
            if (i >= WarmUp)
                g_next.push_back(benchMsSince(t));
            ++answered;
        }
    }
    state.counters["answers"] = answered;
    state.counters["questions"] = w->run().count();
    delete w;
}

} // namespace

BENCHMARK(BM_NextQuestion)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    benchCopyPictures(bank);
    // A prompt (the time limit of a question) is answered at once.
    seams::setPromptHandler([](const seams::Prompt &p) {
        ++g_prompts;
        return seams::defaultAnswer(p);
    });
    g_chapter = bank.largestChapter();
    std::printf("bank: %d questions, chapter %s, load average %s\n", questions, qPrintable(g_chapter), qPrintable(benchLoadAverage()));
    runBenchmarks(argc, argv);
    std::printf("next-question ms: %.2f (90th percentile %.2f, 99th %.2f, worst %.2f over %zu answers; %d prompts)\n",
                benchPercentile(g_next, 0.5), benchPercentile(g_next, 0.9), benchPercentile(g_next, 0.99), benchPercentile(g_next, 1.0), g_next.size(),
                g_prompts);
    std::printf("next-question p99 ms: %.2f (the 99th percentile alone, for the large-bank target)\n", benchPercentile(g_next, 0.99));
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
