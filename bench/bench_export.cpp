// Exporting a 110-question mock paper (subject 1) of a 100,000-question
// bank to a document: typing the paper with every body, material,
// explanation and key point read from the bank, writing the ODT (and, on
// the road of a desktop without a word processor, the PDF too) and handing
// the file out.  The floor is the same reads as raw prepared SQLite
// statements on the program's own connection, timed in the same rounds.
//
//   bench_export [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "exam/ExamAnswers.h"
#include "exam/PaperExport.h"
#include "exam/PaperGeneration.h"
#include "platform/DocumentWriter.h"
#include "store/dm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <vector>

namespace {

struct Paper {
    exam::PaperState state;
    QVector<exam::PaperQuestion> rows;
    exam::TypeTable types;
};
Paper *g_paper = nullptr;
BenchBank *g_bank = nullptr;

void removeExportFolder(const QString &file)
{
    if (!file.isEmpty())
        QDir(QFileInfo(file).absolutePath()).removeRecursively();
}

exam::ExportResult exportOnce(bool odtOpens)
{
    docwriter::setOpener([odtOpens](const QString &path) { return odtOpens || path.endsWith(QStringLiteral(".pdf")); });
    exam::ExportResult r = exam::ExportPaperToWord(g_bank->dm(), g_paper->state.title, g_paper->rows, g_paper->types);
    docwriter::setOpener({});
    return r;
}

void exportRounds(benchmark::State &state, bool odtOpens)
{
    for (auto _ : state) {
        const exam::ExportResult r = exportOnce(odtOpens);
        state.PauseTiming();
        if (!r.ok)
            state.SkipWithError("the export failed");
        removeExportFolder(r.odtPath);
        state.ResumeTiming();
    }
    state.counters["questions"] = g_paper->rows.size();
}

void BM_PaperExport(benchmark::State &state) { exportRounds(state, true); }
void BM_PaperExportWithPdf(benchmark::State &state) { exportRounds(state, false); }

// The bank reads of one export as raw statements on the program's
// connection (the bank is held by it alone).
struct FloorReads {
    sqlite3 *db = nullptr;
    sqlite3_stmt *title = nullptr, *body = nullptr, *rule = nullptr, *group = nullptr;
    explicit FloorReads(sqlite3 *handle) : db(handle)
    {
        title = prepare("select a15 from tab_title where a1=?");
        body = prepare("select a15 from tab_exer where a1=?");
        rule = prepare("select sn, n from tab_rule where ftid=?");
        group = prepare("select n from tab_fgmc where id=?");
    }
    ~FloorReads()
    {
        for (sqlite3_stmt *s : {title, body, rule, group})
            sqlite3_finalize(s);
    }
    sqlite3_stmt *prepare(const char *sql)
    {
        return benchPrepare(db, sql);
    }
    static long long read(sqlite3_stmt *s, const QString &key)
    {
        const QByteArray k = key.toUtf8();
        sqlite3_bind_text(s, 1, k.constData(), k.size(), SQLITE_TRANSIENT);
        long long bytes = 0;
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                bytes += sqlite3_column_bytes(s, c);
        sqlite3_reset(s);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            std::fprintf(stderr, "floor: %s\n", sqlite3_errstr(rc));
            std::exit(1);
        }
        return bytes;
    }
    long long run(const QVector<exam::PaperQuestion> &rows)
    {
        long long bytes = 0;
        for (const exam::PaperQuestion &r : rows) {
            if (r.isSubQuestion())
                bytes += read(title, r.a1.left(16));
            bytes += read(body, r.a1);
            for (const QString &k : r.k)
                if (!k.trimmed().isEmpty()) {
                    bytes += read(rule, k.trimmed());
                    bytes += read(group, k.trimmed().left(6));
                }
        }
        return bytes;
    }
};

} // namespace

BENCHMARK(BM_PaperExport)->Unit(benchmark::kMillisecond)->MinTime(benchMinTime(2.0));
BENCHMARK(BM_PaperExportWithPdf)->Unit(benchmark::kMillisecond)->MinTime(benchMinTime(2.0));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QGuiApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    // Exports go to a documents folder of the benchmark's own, removed
    // after each round.
    QTemporaryDir documents;
    docwriter::setDocumentsFolder(documents.path());
    Paper paper;
    paper.state = exam::generatePaper(bank.dm(), 1);
    paper.rows = exam::LoadPaper(bank.dm(), paper.state);
    paper.types = exam::readTypeTable(bank.dm());
    g_paper = &paper;
    runBenchmarks(argc, argv);

    // The export and its floor, round by round.
    FloorReads floor(bank.dm().handle());
    std::vector<double> exports, floors;
    long long bytes = 0;
    for (int round = 0; round < benchRounds(15); ++round) {
        QElapsedTimer t;
        t.start();
        const exam::ExportResult r = exportOnce(true);
        exports.push_back(t.nsecsElapsed() / 1e6);
        removeExportFolder(r.odtPath);
        t.restart();
        bytes += floor.run(paper.rows);
        floors.push_back(t.nsecsElapsed() / 1e6);
    }
    benchmark::DoNotOptimize(bytes);
    std::printf("paper questions: %d\n", int(paper.rows.size()));
    std::printf("paper-export ms: %.2f\n", benchMs("BM_PaperExport"));
    std::printf("paper-export with pdf ms: %.2f\n", benchMs("BM_PaperExportWithPdf"));
    std::printf("paper-export interleaved ms: %.2f (floor %.3f)\n", benchMedian(exports), benchMedian(floors));
    std::printf("paper-export ratio: %.1f\n", benchMedian(exports) / benchMedian(floors));
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
