// Opening the key-point directory and opening its largest group on a bank
// of 1,000 groups and 20,000 key points, each up to the painted window,
// beside a floor: the same SQL through the sqlite3 C API on the program's
// own connection, run in the same iterations.  Then "练习" on the key point
// cited by the most questions, up to the practice window
// painted with its first question, beside the floor of its selection.
//
//   bench_keypoints [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "DemoBank.h"
#include "common/ShellState.h"
#include "keypoints/KeyPointRules.h"
#include "keypoints/Laws.h"
#include "keypoints/details.h"
#include "practice/uRulelxxt.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSqlQuery>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
QString g_largest;   // code of the group with the most key points
std::vector<double> g_dirMs, g_dirFloorMs, g_groupMs, g_groupFloorMs, g_practiceMs, g_practiceFloorMs;
// The key point cited by the most questions: its group, its place in the
// group's list, its id and how many questions cite it.
int g_entry = -1, g_cited = 0;
QString g_ftid, g_practiceGroup;

// The floor: the same statements prepared on the program's connection
// (the bank is held by it alone), every column of every row read.
struct Floor {
    sqlite3 *db = nullptr;
    sqlite3_stmt *groups = nullptr, *count = nullptr, *points = nullptr;
    Floor() : db(g_bank->dm().handle())
    {
        groups = prepare("select * from tab_fgmc order by bh");
        count = prepare("select count(*) as icou1 from tab_rule where (id = ?)");
        points = prepare("select * from tab_rule where id=? order by ftid");
    }
    ~Floor()
    {
        for (sqlite3_stmt *s : {groups, count, points})
            sqlite3_finalize(s);
    }
    sqlite3_stmt *prepare(const char *sql)
    {
        return benchPrepare(db, sql);
    }
    static size_t readAll(sqlite3_stmt *s)
    {
        size_t bytes = 0;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                sqlite3_column_blob(s, c);
                bytes += size_t(sqlite3_column_bytes(s, c));
            }
        sqlite3_reset(s);
        if (rc != SQLITE_DONE) {
            std::fprintf(stderr, "floor: %s\n", sqlite3_errstr(rc));
            std::exit(1);
        }
        return bytes;
    }
    size_t directory() { return readAll(groups); }
    size_t group(const QByteArray &code)
    {
        for (sqlite3_stmt *s : {count, points})
            sqlite3_bind_text(s, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        return readAll(count) + readAll(points);
    }
};

void BM_KeypointDirectory(benchmark::State &state)
{
    Floor floor;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto w = std::make_unique<TfrmLawsFaGui>();
        w->show();
        QCoreApplication::processEvents();
        const double window = benchMsSince(t);
        state.SetIterationTime(window / 1000.0);
        g_dirMs.push_back(window);
        t.restart();
        benchmark::DoNotOptimize(floor.directory());
        g_dirFloorMs.push_back(benchMsSince(t));
        w.reset();
        QCoreApplication::processEvents();
    }
}

void BM_KeypointGroup(benchmark::State &state)
{
    Floor floor;
    TfrmLawsFaGui w;
    w.show();
    QCoreApplication::processEvents();
    const int row = int(w.codes().indexOf(g_largest));
    if (row < 0) {
        state.SkipWithError("largest group not listed");
        return;
    }
    const QByteArray code = g_largest.toUtf8();
    for (auto _ : state) {
        w.m_grid->setCurrentCell(row, 0);
        QElapsedTimer t;
        t.start();
        w.m_btnSelectClick();
        QCoreApplication::processEvents();
        const double window = benchMsSince(t);
        state.SetIterationTime(window / 1000.0);
        g_groupMs.push_back(window);
        t.restart();
        benchmark::DoNotOptimize(floor.group(code));
        g_groupFloorMs.push_back(benchMsSince(t));
        w.m_btnBackClick();
        QCoreApplication::processEvents();
    }
}

void BM_KeypointPractice(benchmark::State &state)
{
    TfrmLawsFaGui w;
    w.show();
    QCoreApplication::processEvents();
    w.m_grid->setCurrentCell(int(w.codes().indexOf(g_practiceGroup)), 0);
    w.m_btnSelectClick();
    QCoreApplication::processEvents();
    if (!w.detail() || g_entry < 0 || g_entry >= w.detail()->m_LBmenu->count()) {
        state.SkipWithError("the key point is not listed in its group");
        return;
    }
    w.detail()->m_LBmenu->setCurrentRow(g_entry);
    const QByteArray sql = keypoints::keyPointPracticeSql(g_ftid).toUtf8();
    sqlite3_stmt *floor = benchPrepare(g_bank->dm().handle(), sql.constData());
    for (auto _ : state) {
        bool painted = false;
        const double ms = benchPaintedModal<TFrmRuleLxxt>([&w] { w.m_btnQuestionClick(); },
                                                          [&](TFrmRuleLxxt *p) { painted = p->run().count() == g_cited; });
        QCoreApplication::processEvents();
        if (!painted) {
            state.SkipWithError("the practice window did not open on the key point's questions");
            break;
        }
        g_practiceMs.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        QElapsedTimer t;
        t.start();
        benchmark::DoNotOptimize(Floor::readAll(floor));
        g_practiceFloorMs.push_back(benchMsSince(t));
    }
    sqlite3_finalize(floor);
}

} // namespace

BENCHMARK(BM_KeypointDirectory)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(benchMinTime(2.0));
BENCHMARK(BM_KeypointGroup)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(benchMinTime(2.0));
BENCHMARK(BM_KeypointPractice)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(benchRounds(25));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 20000);
    QApplication app(argc, argv);
    demobank::Options o;
    o.questions = questions;
    // One group per 20 questions and a key point per question, as in the
    // 20,000-question bank of 1,000 groups.
    o.keyPointGroups = std::max(10, questions / 20);
    o.keyPoints = questions;
    BenchBank bank(o);
    g_bank = &bank;
    // The practice window needs the program's pictures beside the bank.
    benchCopyPictures(bank);
    shell().ScreenMode = QStringLiteral("1024");
    g_largest = bank.dm().scalar(QStringLiteral("select id from tab_rule group by id order by count(*) desc limit 1")).toString();
    const int groups = bank.dm().scalar(QStringLiteral("select count(*) from tab_fgmc where length(id) = 6")).toInt();
    const int points = bank.dm().scalar(QStringLiteral("select count(*) from tab_rule")).toInt();
    const int largest = bank.dm().scalar(QStringLiteral("select count(*) from tab_rule where id=?"), {g_largest}).toInt();
    std::printf("bank: %d groups, %d key points, largest group %s with %d key points\n", groups, points,
                qPrintable(g_largest), largest);
    // The key point most often cited first by a question, its group, its
    // place in the group's list (ftid order) and its questions counted the
    // program's own way.
    g_ftid = bank.dm().scalar(QStringLiteral("select k3 from tab_answ where k3<>'' and k3 in (select ftid from tab_rule) "
                                             "group by k3 order by count(*) desc, k3 limit 1")).toString();
    g_practiceGroup = bank.dm().scalar(QStringLiteral("select id from tab_rule where ftid=?"), {g_ftid}).toString();
    g_entry = bank.dm().scalar(QStringLiteral("select count(*) from tab_rule where id=? and ftid<?"), {g_practiceGroup, g_ftid}).toInt();
    bank.dm().run(keypoints::citingCountSql(), {g_ftid}, [](const QVariantList &row) { g_cited = row.value(0).toInt(); });
    std::printf("practised key point: %s of group %s, cited by %d questions\n", qPrintable(g_ftid), qPrintable(g_practiceGroup), g_cited);
    runBenchmarks(argc, argv);
    const double dir = benchMedian(g_dirMs), dirFloor = benchMedian(g_dirFloorMs);
    const double grp = benchMedian(g_groupMs), grpFloor = benchMedian(g_groupFloorMs);
    std::printf("keypoint-directory floor ms: %.3f (window / floor %.1f)\n", dirFloor, dir / dirFloor);
    std::printf("keypoint-group floor ms: %.3f (window / floor %.1f)\n", grpFloor, grp / grpFloor);
    std::printf("keypoint-directory ms: %.3f\n", dir);
    std::printf("keypoint-group ms: %.3f\n", grp);
    std::printf("keypoint-practice-start ms: %.1f (floor %.2f, %d questions)\n", benchMedian(g_practiceMs),
                benchMedian(g_practiceFloorMs), g_cited);
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
