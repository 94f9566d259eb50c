// The bank's hot paths on a 100,000-question bank: the start of a practice
// run and the chapter totals; and the program's start on the bank (the
// data module opening it and the first statement after), with 2,000 kept
// papers and without, beside a floor: the engine opening the same bank and
// reading it once.  (The judged-answer write path and its floor are
// measured answer by answer in bench_answer_path.)
//
//   bench_store [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "exam/PaperGeneration.h"
#include "platform/Seams.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <vector>

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

// A program folder holding a copy of the generated bank, with `papers`
// kept papers (a paper table each and its record) added.
QString startFolder(const QTemporaryDir &dir, const QString &name, int papers)
{
    const QString folder = dir.path() + QLatin1Char('/') + name + QLatin1Char('/');
    QDir().mkpath(folder + QStringLiteral("data"));
    const QString bank = folder + QStringLiteral("data/VORDANBANK01.db");
    if (!QFile::copy(g_bank->sourcePath(), bank)) {
        std::fprintf(stderr, "cannot copy the bank\n");
        std::exit(1);
    }
    QFile(bank).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(bank.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QByteArray sql = "BEGIN;";
    for (int i = 1; i <= papers; ++i) {
        const QString table = QStringLiteral("tab_exam%1").arg(i);
        sql += exam::paperTableStatement(table).toUtf8() + ';';
        sql += QStringLiteral("insert into tab_cj (A1, A3, A3_1) values ('%1', 'paper %2', %2);").arg(table).arg(i).toUtf8();
    }
    sql += "COMMIT;";
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "papers: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_close(db);
    return folder;
}

// The program's start on a bank: the data module opens it and the first
// statement (the type table the menu reads) runs.
double startMs(const QString &folder)
{
    QElapsedTimer t;
    t.start();
    seams::setAppDir(folder);
    {
        TDM1 dm;
        if (!dm.DbOpened) {
            std::fprintf(stderr, "the bank did not open: %s\n", qPrintable(dm.openError));
            std::exit(1);
        }
        benchmark::DoNotOptimize(dm.scalar(QStringLiteral("select count(*) from tab_tx1")));
    }
    return benchMsSince(t);
}

// The floor: the engine opens the bank, reads its schema once and runs the
// same first statement.
double startFloorMs(const QString &folder)
{
    QElapsedTimer t;
    t.start();
    sqlite3 *db = nullptr;
    sqlite3_open_v2((folder + QStringLiteral("data/VORDANBANK01.db")).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from tab_tx1", -1, &s, nullptr);
    if (sqlite3_step(s) != SQLITE_ROW) {
        std::fprintf(stderr, "floor: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return benchMsSince(t);
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

    // Start-up, with and without kept papers, rounds alternating.
    const QString home = seams::appDir();
    {
        QTemporaryDir dir;
        const QString plain = startFolder(dir, QStringLiteral("plain"), 0);
        const QString papers = startFolder(dir, QStringLiteral("papers"), 2000);
        std::vector<double> withPapers, without, floor;
        for (int round = 0; round < benchRounds(15); ++round) {
            without.push_back(startMs(plain));
            withPapers.push_back(startMs(papers));
            floor.push_back(startFloorMs(papers));
        }
        std::printf("startup ms: %.1f (2,000 kept papers; floor %.1f)\n", benchMedian(withPapers), benchMedian(floor));
        std::printf("startup without papers ms: %.1f\n", benchMedian(without));
        std::printf("startup papers extra ms: %.1f\n", benchMedian(withPapers) - benchMedian(without));
    }
    seams::setAppDir(home);
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
