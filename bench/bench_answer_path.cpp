// One judged practice answer written to the bank (the question row, today's
// log row, every enclosing chapter with the look-up of the chapter the
// chapter table ends on, the key points with their groups and headings, in
// one transaction), measured answer by answer against its floor: the very
// statements the data module runs, with the same values, prepared once on
// the engine's handle.  Ours and the floor alternate on questions of the
// same kind (three key points, never answered, the same verdict), so both
// see the same cache and the same load.
//
//   bench_answer_path [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "platform/Seams.h"
#include "practice/AnswerLogic.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QSqlQuery>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
std::vector<double> g_ours, g_floor;
const int Answers = benchSmoke() ? 10 : 400;
const int WarmUp = benchSmoke() ? 2 : 20;

std::vector<practice::QuestionState> unansweredWithThreeKeyPoints(TDM1 &dm, int count)
{
    std::vector<practice::QuestionState> out;
    QSqlQuery q = dm.exec(QStringLiteral("select A1, A2, A10, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12, E1, E2, E2_1, E3, E4 "
                                         "from tab_answ where K5 <> '' and (K6 = '' or K6 is null) and f1 <> 1 "
                                         "and (E2 = '' or E2 is null) order by rowid limit ?"),
                          {count});
    while (q.next()) {
        practice::QuestionState s;
        s.id = q.value(0).toString();
        s.key = q.value(1).toString();
        s.chapter = q.value(2).toString();
        for (int k = 3; k < 13; ++k)
            s.keyPoints << q.value(k).toString();
        s.lastDate = q.value(13).toString();
        s.lastAnswer = q.value(14).toString();
        s.runAnswer = q.value(15).toString();
        s.attempts = q.value(16).toInt();
        s.wrongScore = q.value(17).toInt();
        out.push_back(s);
    }
    q.finish();
    return out;
}

// The data module's statements as prepared statements of their own.
class Floor {
public:
    explicit Floor(sqlite3 *db) : m_db(db) {}
    ~Floor()
    {
        for (sqlite3_stmt *s : std::as_const(m_stmts))
            sqlite3_finalize(s);
    }
    void answer(const practice::QuestionState &before, const QString &answer, const QDate &today)
    {
        const practice::JudgeOutcome out = practice::judge(before, answer, today);
        const practice::AnswerCodes &c = out.codes;
        const practice::KeyPointLists lists = practice::keyPointLists(before.keyPoints);
        const int w = c.result == 2 ? 1 : 0;
        int b1 = 0, b2 = 0;
        if (c.firstToday == 2) {
            b1 = 1;
            b2 = w;
        } else if (c.previous == 1 && c.result == 2) {
            b2 = 1;
        } else if (c.previous == 2 && c.result == 1) {
            b2 = -1;
        }
        const QString day = sqltext::dateText(today);
        QStringList prefixes;
        for (int cut = 0; cut < 6; ++cut)
            prefixes << (cut < before.chapter.size() ? before.chapter.left(before.chapter.size() - cut) : QString());

        run("BEGIN", {});
        run("insert into tab_rz (A1,A2,A3,B1,B2) values (?,1,?,1,?) "
            "on conflict(A1) do update set A2=A2+1, A3=A3+?, B1=B1+?, B2=B2+?",
            {day, w, w, w, b1, b2});
        QVariantList kmmc{c.attemptKind == 2 ? 1 : 0, w};
        for (const QString &p : prefixes)
            kmmc << p;
        run("update tab_kmmc set C4=C4+?, D1=D1+1, D2=D2+? where C1 in (?,?,?,?,?,?) and C1<>''", kmmc);
        kmmc.remove(0, 2);
        run("select C1, C1_1 from tab_kmmc where C1 in (?,?,?,?,?,?) and C1<>'' order by length(C1), bh limit 1", kmmc);
        auto raise = [&](const char *f) {
            const QString field = QLatin1String(f);
            const std::pair<QString, const QString *> parts[] = {
                {QStringLiteral("update tab_rule set %1=%1+1 where ftid in ").arg(field), &lists.ids},
                {QStringLiteral("update tab_fgmc set %1=%1+1 where id in ").arg(field), &lists.groups},
                {QStringLiteral("update tab_fgmc set %1=%1+1 where id in ").arg(field), &lists.headings},
            };
            for (const auto &[head, list] : parts) {
                QStringList values;
                sqltext::parseValueList(*list, &values);
                QVariantList binds;
                for (const QString &v : values)
                    binds << v;
                run((head + sqltext::placeholders(int(values.size()))).toUtf8(), binds);
            }
        };
        raise("q2");
        if (c.attemptKind == 2)
            raise("q1");
        if (c.result == 2)
            raise("q4");
        const practice::QuestionState &a = out.after;
        run("update tab_answ set E2_1=?, E2=?, E1=?, E3=?, E4=? where A1=?",
            {a.runAnswer, a.lastAnswer, a.lastDate, a.attempts, a.wrongScore, before.id});
        run("COMMIT", {});
    }

private:
    void run(const QByteArray &sql, const QVariantList &binds)
    {
        sqlite3_stmt *&s = m_stmts[sql];
        if (!s && sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &s, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "%s: %s\n", sql.constData(), sqlite3_errmsg(m_db));
            std::exit(1);
        }
        for (int i = 0; i < binds.size(); ++i) {
            const QVariant &v = binds.at(i);
            if (v.typeId() == QMetaType::Int) {
                sqlite3_bind_int(s, i + 1, v.toInt());
            } else {
                const QByteArray b = v.toString().toUtf8();
                sqlite3_bind_text(s, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            }
        }
        while (sqlite3_step(s) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(s, 0));
        sqlite3_reset(s);
    }
    sqlite3 *m_db;
    QHash<QByteArray, sqlite3_stmt *> m_stmts;
};

void BM_AnswerPath(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const auto qs = unansweredWithThreeKeyPoints(dm, 2 * (Answers + WarmUp));
    if (qs.size() < size_t(2 * (Answers + WarmUp))) {
        state.SkipWithError("too few questions with three key points");
        return;
    }
    Floor floor(dm.handle());
    const QDate today = seams::clock().today();
    int pair = 0;
    for (auto _ : state) {
        for (int i = 0; i < Answers + WarmUp; ++i, ++pair) {
            // Each pair gets one verdict, right or wrong in turn.
            const practice::QuestionState &mine = qs[size_t(2 * i)], &theirs = qs[size_t(2 * i + 1)];
            const bool right = pair % 2 == 0;
            const QString wrongAnswer = QStringLiteral("Z");
            QElapsedTimer t;
            t.start();
            practice::applyJudgedAnswer(dm, mine, right ? mine.key : wrongAnswer);
            const double ours = benchMsSince(t);
            t.restart();
            floor.answer(theirs, right ? theirs.key : wrongAnswer, today);
            const double raw = benchMsSince(t);
            if (i >= WarmUp) {
                g_ours.push_back(ours);
                g_floor.push_back(raw);
            }
        }
    }
}

} // namespace

BENCHMARK(BM_AnswerPath)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    const int questions = benchQuestions(argc, argv, 100000);
    QCoreApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    std::printf("bank: %d questions, load average %s\n", questions, qPrintable(benchLoadAverage()));
    runBenchmarks(argc, argv);
    const double ours = benchPercentile(g_ours, 0.5), raw = benchPercentile(g_floor, 0.5);
    std::printf("answer-path ms: %.3f (floor %.3f; 90th percentile %.3f / %.3f; %zu answers each)\n", ours, raw,
                benchPercentile(g_ours, 0.9), benchPercentile(g_floor, 0.9), g_ours.size());
    std::printf("answer-path ratio: %.2f (median of %zu paired ratios)\n", benchPairedRatio(g_ours, g_floor), g_ours.size());
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
