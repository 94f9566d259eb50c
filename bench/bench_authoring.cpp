// Saving a new question from the entry window on a 100,000-question bank:
// its RTF, its number, both rows and every counter in one transaction; and
// saving an edited question with its key points recounted.  Each round
// also runs the same statements as raw prepared SQLite statements on the
// program's own connection (the floor), interleaved with the program's.
//
//   bench_authoring [--questions N]      (or PELLBROOK_BENCH_QUESTIONS)
#include "BenchBank.h"

#include "authoring/QuestionEdit.h"
#include "authoring/QuestionEntry.h"
#include "keypoints/KeyPointRules.h"
#include "platform/RichText.h"
#include "store/dm.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

BenchBank *g_bank = nullptr;
double g_saveFloorMs = 0;
double g_editFloorMs = 0;

// Statements prepared on the program's connection: the bank is held by it
// alone, so the floor writes through the same handle.
struct Raw {
    sqlite3 *db = nullptr;
    std::vector<sqlite3_stmt *> stmts;
    Raw() : db(g_bank->dm().handle()) {}
    sqlite3_stmt *prepare(const char *sql)
    {
        sqlite3_stmt *s = benchPrepare(db, sql);
        stmts.push_back(s);
        return s;
    }
    ~Raw()
    {
        for (auto *s : stmts)
            sqlite3_finalize(s);
    }
};

// Steps a statement to its end; an error ends the program, since a floor
// that failed measured nothing.
int step(sqlite3_stmt *s)
{
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "floor: %s (%s)\n", sqlite3_errmsg(sqlite3_db_handle(s)), sqlite3_sql(s));
        std::exit(1);
    }
    return rc;
}

void text(sqlite3_stmt *s, int i, const QString &v)
{
    const QByteArray b = v.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}
void blob(sqlite3_stmt *s, int i, const QByteArray &b) { sqlite3_bind_blob(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT); }
void run(sqlite3_stmt *s)
{
    step(s);
    sqlite3_reset(s);
}
// The first row of a statement: false (and the program ends) on an error.
void first(sqlite3_stmt *s)
{
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "floor: %s (%s)\n", sqlite3_errmsg(sqlite3_db_handle(s)), sqlite3_sql(s));
        std::exit(1);
    }
}

// A body as the entry window holds it: a few formatted paragraphs.
void fillBody(QTextDocument &doc)
{
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("下列关于基本原则的说法中，正确的有（　）。"), bold);
    for (const char *o : {"A. 原则一的含义", "B. 原则二的适用", "C. 原则三的例外", "D. 原则四的范围"}) {
        c.insertBlock();
        c.insertText(QString::fromUtf8(o), QTextCharFormat());
    }
}

void BM_QuestionSave(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const QString chapter = dm.scalar(QStringLiteral("select C1 from tab_kmmc where length(C1)=6 order by bh limit 1 offset 5")).toString();
    QStringList keyPoints;
    {
        QSqlQuery q = dm.exec(QStringLiteral("select ftid from tab_rule order by ftid limit 2"));
        while (q.next())
            keyPoints << q.value(0).toString();
        q.finish();
    }
    QTextDocument body;
    fillBody(body);

    Raw r;
    auto *begin = r.prepare("begin");
    auto *commit = r.prepare("commit");
    auto *seq = r.prepare("select MAX(CAST(substr(A1,-4) AS INTEGER)) as r4m from tab_answ where A1 like 'U%'");
    auto *answ = r.prepare("insert into tab_answ (a1,a2,a2_1,a10,a13,k3,k4,f1) values (?,?,?,?,?,?,?,2)");
    auto *exer = r.prepare("insert into tab_exer (a1,a15) values(?,?)");
    auto *kmmc = r.prepare("update tab_kmmc set c3=c3+1 where (C1 = ?) or (C1 = ?) or (C1 = ?) or (C1 = ?)");
    auto *rule = r.prepare("update tab_rule set q=q+1 where ftid in (?,?)");
    auto *fgmc = r.prepare("update tab_fgmc set q=q+1 where id in (?,?)");
    const QByteArray floorBody = richtext::toRtf(body);
    int floorSeq = 0;
    double floorTotal = 0;
    int rounds = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        authoring::NewQuestion q;
        q.chapter = chapter;
        q.optionText = QStringLiteral("4");
        q.optionCount = 4;
        q.typeCode = QStringLiteral("65");
        q.answer = QStringLiteral("ABD");
        q.body = richtext::toRtf(body);
        q.keyPoints = keyPoints;
        const authoring::EntryOutcome out = authoring::saveNewQuestion(dm, q);
        state.SetIterationTime(benchMsSince(t) / 1000.0);
        if (out.result != authoring::EntryOutcome::Saved) {
            state.SkipWithError(out.error.isEmpty() ? "numbering exhausted" : out.error.toUtf8().constData());
            break;
        }

        QElapsedTimer f;
        f.start();
        run(begin);
        first(seq);
        floorSeq = sqlite3_column_int(seq, 0) + 1;
        sqlite3_reset(seq);
        text(answ, 1, QStringLiteral("UF") + chapter + QStringLiteral("654") + authoring::sequenceText(floorSeq));
        text(answ, 2, QStringLiteral("ABD"));
        text(answ, 3, QStringLiteral("4"));
        text(answ, 4, chapter);
        sqlite3_bind_int(answ, 5, 65);
        text(answ, 6, keyPoints.value(0));
        text(answ, 7, keyPoints.value(1));
        run(answ);
        text(exer, 1, QStringLiteral("UF") + chapter + QStringLiteral("654") + authoring::sequenceText(floorSeq));
        blob(exer, 2, floorBody);
        run(exer);
        text(kmmc, 1, chapter);
        text(kmmc, 2, chapter.left(4));
        text(kmmc, 3, chapter.left(2));
        text(kmmc, 4, chapter.left(1));
        run(kmmc);
        text(rule, 1, keyPoints.value(0));
        text(rule, 2, keyPoints.value(1));
        run(rule);
        text(fgmc, 1, keyPoints.value(0).left(6));
        text(fgmc, 2, keyPoints.value(1).left(6));
        run(fgmc);
        text(fgmc, 1, keyPoints.value(0).left(1));
        text(fgmc, 2, keyPoints.value(1).left(1));
        run(fgmc);
        run(commit);
        floorTotal += benchMsSince(f);
        ++rounds;
    }
    g_saveFloorMs = rounds ? floorTotal / rounds : 0;
    state.counters["floor_ms"] = g_saveFloorMs;
}

void BM_QuestionEditSave(benchmark::State &state)
{
    TDM1 &dm = g_bank->dm();
    const QString id = dm.scalar(QStringLiteral("select A1 from tab_answ where K4 <> '' and (K5 = '' or K5 is null) and A1 not like '%-%' limit 1")).toString();
    authoring::EditedQuestion q;
    if (id.isEmpty() || !authoring::loadEditedQuestion(dm, id, q)) {
        state.SkipWithError("no question with two key points");
        return;
    }
    QTextDocument body;
    fillBody(body);
    const QStringList before = q.keyPoints;

    Raw r;
    auto *begin = r.prepare("begin");
    auto *commit = r.prepare("commit");
    auto *exer = r.prepare("update tab_exer set a15=?, jx=? where a1=?");
    auto *answ = r.prepare("update tab_answ set a2_1=?, a2=?, a13=?, k3=?, k4=?, k5=?, k6=?, k7=?, k8=?, k9=?, k10=?, "
                           "k11=?, k12=?, ecount=ecount+1 where a1=?");
    auto *count = r.prepare(keypoints::citingCountSql().toUtf8().constData());
    auto *rule = r.prepare("update tab_rule set q=? where ftid=?");
    const QByteArray floorBody = richtext::toRtf(body);
    double floorTotal = 0;
    int rounds = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        q.body = richtext::toRtf(body);
        q.editCount = authoring::saveEditedQuestion(dm, q, before);
        state.SetIterationTime(benchMsSince(t) / 1000.0);

        QElapsedTimer f;
        f.start();
        run(begin);
        blob(exer, 1, floorBody);
        sqlite3_bind_null(exer, 2);
        text(exer, 3, q.id);
        run(exer);
        sqlite3_bind_int(answ, 1, q.optionCount);
        text(answ, 2, q.answer);
        sqlite3_bind_int(answ, 3, q.type);
        for (int k = 0; k < 10; ++k)
            text(answ, 4 + k, q.keyPoints.value(k));
        text(answ, 14, q.id);
        run(answ);
        for (int k = 0; k < 2; ++k) {
            text(count, 1, q.keyPoints.value(k));
            first(count);
            const int c = sqlite3_column_int(count, 0);
            sqlite3_reset(count);
            sqlite3_bind_int(rule, 1, c);
            text(rule, 2, q.keyPoints.value(k));
            run(rule);
        }
        run(commit);
        floorTotal += benchMsSince(f);
        ++rounds;
    }
    g_editFloorMs = rounds ? floorTotal / rounds : 0;
    state.counters["floor_ms"] = g_editFloorMs;
}

} // namespace

// Each round numbers two questions; 1,000 rounds stay well inside 9,999.
BENCHMARK(BM_QuestionSave)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(benchRounds(1000));
BENCHMARK(BM_QuestionEditSave)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(benchMinTime(2.0));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int questions = benchQuestions(argc, argv, 100000);
    QGuiApplication app(argc, argv);
    BenchBank bank(questions);
    g_bank = &bank;
    runBenchmarks(argc, argv);
    const double save = benchMs("BM_QuestionSave"), edit = benchMs("BM_QuestionEditSave");
    std::printf("question-save ms: %.3f (floor %.3f)\n", save, g_saveFloorMs);
    std::printf("question-save ratio: %.2f\n", g_saveFloorMs > 0 ? save / g_saveFloorMs : 0.0);
    std::printf("question-edit-save ms: %.3f (floor %.3f)\n", edit, g_editFloorMs);
    std::printf("question-edit-save ratio: %.2f\n", g_editFloorMs > 0 ? edit / g_editFloorMs : 0.0);
    std::printf("load average after: %s\n", qPrintable(benchLoadAverage()));
    return 0;
}
