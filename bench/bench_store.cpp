// The bank's hot paths on a 100,000-question bank: the judged-answer write
// path against a floor of raw prepared SQLite statements, the start of a
// practice run, and the chapter totals.
#include "BenchBank.h"

#include "store/SqlText.h"
#include "store/dm.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlQuery>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;

struct Question {
    QString id, chapter;
    QStringList keyPoints;
};

// Questions with three key points, the shape the answer path is measured on.
std::vector<Question> questionsWithThreeKeyPoints(TDM1 &dm, int count)
{
    std::vector<Question> out;
    QSqlQuery q = dm.exec(QStringLiteral("select A1, A10, K3, K4, K5 from tab_answ where K5 <> '' and (K6 = '' or K6 is null) limit ?"), {count});
    while (q.next())
        out.push_back({q.value(0).toString(), q.value(1).toString(),
                       {q.value(2).toString(), q.value(3).toString(), q.value(4).toString()}});
    q.finish();
    return out;
}

void answerOnce(TDM1 &dm, const Question &q, const QString &today);

void BM_AnswerPath(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const auto qs = questionsWithThreeKeyPoints(dm, 500);
    if (qs.empty()) {
        state.SkipWithError("no question with three key points");
        return;
    }
    size_t i = 0;
    const QString today = sqltext::dateText(QDate::currentDate());
    // Both paths are measured warm: one unmeasured round over the questions
    // brings their pages into the connection's cache first.
    const size_t warmUp = qs.size();
    for (auto _ : state) {
        if (i == 0) {
            state.PauseTiming();
            for (size_t w = 0; w < warmUp; ++w)
                answerOnce(dm, qs[w], today);
            state.ResumeTiming();
        }
        answerOnce(dm, qs[i++ % qs.size()], today);
    }
}

void answerOnce(TDM1 &dm, const Question &q, const QString &today)
{
    {
        QStringList groups, heads;
        for (const QString &k : q.keyPoints) {
            groups << k.left(6);
            heads << k.left(2);
        }
        DbTransaction tx(dm);
        dm.run(QStringLiteral("update tab_answ set E2_1=?, E2=?, E1=?, E3=E3+1, E4=? where A1=?"),
                {QStringLiteral("B"), QStringLiteral("B"), today, -1, q.id});
        dm.LogAnswerToday(1, 2, 2);
        dm.CountChapterAnswer(q.chapter, 1, 2);
        dm.CountKeyPointAnswer(sqltext::valueList(q.keyPoints), sqltext::valueList(groups), sqltext::valueList(heads), 1, 2);
        tx.commit();
    }
}

struct Raw {
    sqlite3 *db = nullptr;
    bool borrowed = false;   // the data module's own handle: not closed here
    std::vector<sqlite3_stmt *> stmts;
    sqlite3_stmt *prepare(const char *sql)
    {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
            std::exit(1);
        }
        stmts.push_back(s);
        return s;
    }
    ~Raw()
    {
        for (auto *s : stmts)
            sqlite3_finalize(s);
        if (!borrowed)
            sqlite3_close(db);
    }
};

void text(sqlite3_stmt *s, int i, const QString &v)
{
    const QByteArray b = v.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), b.size(), SQLITE_TRANSIENT);
}

void run(sqlite3_stmt *s)
{
    sqlite3_step(s);
    sqlite3_reset(s);
}

// The same row updates as raw prepared statements on the bank's engine
// handle (the data module holds the bank exclusively, so no second
// connection may write it): the floor the answer path is compared with.
void BM_AnswerPathFloor(benchmark::State &state)
{
    const auto qs = questionsWithThreeKeyPoints(g_bank->dm(), 500);
    Raw r;
    const QVariant handle = g_bank->dm().db().driver()->handle();
    r.db = *static_cast<sqlite3 *const *>(handle.constData());
    r.borrowed = true;
    auto *begin = r.prepare("begin");
    auto *commit = r.prepare("commit");
    auto *answ = r.prepare("update tab_answ set E2_1=?, E2=?, E1=?, E3=E3+1, E4=? where A1=?");
    auto *rz = r.prepare("insert into tab_rz (A1,A2,A3,B1,B2) values (?,1,1,1,1) "
                         "on conflict(A1) do update set A2=A2+1, A3=A3+1, B1=B1+0, B2=B2+0");
    auto *kmmc = r.prepare("update tab_kmmc set C4=C4+0, D1=D1+1, D2=D2+1 where C1 in (?,?,?,?,?,?)");
    const char *kp[] = {"update tab_rule set %1=%1+1 where ftid in (?,?,?)", "update tab_fgmc set %1=%1+1 where id in (?,?,?)",
                        "update tab_fgmc set %1=%1+1 where id in (?,?,?)"};
    std::vector<sqlite3_stmt *> kps;
    for (const char *field : {"q2", "q4"})
        for (const char *k : kp)
            kps.push_back(r.prepare(QString::fromLatin1(k).arg(QLatin1String(field)).toUtf8().constData()));
    const QString today = sqltext::dateText(QDate::currentDate());
    size_t i = 0;
    auto answer = [&](const Question &q) {
        run(begin);
        text(answ, 1, QStringLiteral("B"));
        text(answ, 2, QStringLiteral("B"));
        text(answ, 3, today);
        sqlite3_bind_int(answ, 4, -1);
        text(answ, 5, q.id);
        run(answ);
        text(rz, 1, today);
        run(rz);
        for (int c = 0; c < 6; ++c)
            text(kmmc, c + 1, c < q.chapter.size() ? q.chapter.left(q.chapter.size() - c) : QString());
        run(kmmc);
        for (size_t s = 0; s < kps.size(); ++s) {
            for (int k = 0; k < 3; ++k) {
                const QString &id = q.keyPoints[k];
                text(kps[s], k + 1, s % 3 == 0 ? id : (s % 3 == 1 ? id.left(6) : id.left(2)));
            }
            run(kps[s]);
        }
        run(commit);
    };
    for (auto _ : state) {
        if (i == 0) {
            state.PauseTiming();
            for (const Question &q : qs)
                answer(q);
            state.ResumeTiming();
        }
        answer(qs[i++ % qs.size()]);
    }
}

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

BENCHMARK(BM_AnswerPath)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_AnswerPathFloor)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_PracticeStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChapterTotals)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchBank bank(100000);
    g_bank = &bank;
    runBenchmarks(argc, argv);
    std::printf("practice-select ms: %.2f\n", benchMs("BM_PracticeStart"));
    std::printf("chapter-totals ms: %.3f\n", benchMs("BM_ChapterTotals"));
    std::printf("answer-path ms: %.3f (floor %.3f)\n", benchMs("BM_AnswerPath"), benchMs("BM_AnswerPathFloor"));
    std::printf("answer-path ratio: %.2f\n", benchMs("BM_AnswerPath") / benchMs("BM_AnswerPathFloor"));
    return 0;
}
