// Importing a large question file into one section of the 100,000-question
// bank, as a GIFT file and as the same questions in Moodle XML: reading and
// parsing the file, the preview (checks, duplicates, rich text) and the save
// in one transaction.  The floor is the same inserts and counter raises as
// prepared statements through the sqlite3 C API on the program's own
// connection, in one transaction, run interleaved with the program's; the
// imported rows are taken back after each run, untimed.
//
// The file holds 9,999 questions: user question numbers end at 9999, so a
// bank takes no more user questions than that.
#include "BenchBank.h"

#include "authoring/GiftFormat.h"
#include "authoring/ImportXml.h"
#include "authoring/MoodleXmlFormat.h"
#include "authoring/QuestionImport.h"
#include "store/dm.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include <map>
#include <vector>

using namespace authoring;

namespace {

BenchBank *g_bank = nullptr;
QString g_section;
QString g_files[2];
std::vector<double> g_program[2], g_floor[2];
// The program's run in its three stages.
std::vector<double> g_read[2], g_preview[2], g_save[2];
constexpr int Questions = 9999;

// Questions of every kind a teacher's file holds, with explanations and
// key points of the bank.
QVector<ImportedQuestion> sampleQuestions(TDM1 &dm)
{
    QStringList keyPoints;
    dm.run(QStringLiteral("select ftid from tab_rule order by rowid limit 40"), {},
           [&](const QVariantList &r) { keyPoints << r.value(0).toString(); });
    QVector<ImportedQuestion> out;
    for (int i = 0; i < Questions; ++i) {
        ImportedQuestion q;
        q.body = QStringLiteral("第%1题：根据有关规定，下列关于工程项目管理的说法中，正确的是哪一项？").arg(i + 1);
        switch (i % 4) {
        case 0:
            q.kind = ImportKind::Single;
            q.options = {QStringLiteral("项目经理对质量负全部责任"), QStringLiteral("监理单位承担施工安全责任"),
                         QStringLiteral("建设单位应当组织竣工验收"), QStringLiteral("设计单位负责现场签证")};
            q.answer = QStringLiteral("C");
            break;
        case 1:
            q.kind = ImportKind::Multiple;
            q.options = {QStringLiteral("进度"), QStringLiteral("质量"), QStringLiteral("成本"), QStringLiteral("合同"),
                         QStringLiteral("信息")};
            q.answer = QStringLiteral("ABC");
            break;
        case 2:
            q.kind = ImportKind::TrueFalse;
            q.answer = QStringLiteral("A");
            break;
        default:
            q.kind = ImportKind::Subjective;
            q.answer = QStringLiteral("1");
        }
        if (i % 2 == 0)
            q.explanation = QStringLiteral("本题考查项目管理的基本规定，答案见教材第%1页。").arg(i % 300 + 1);
        if (!keyPoints.isEmpty() && i % 3 == 0)
            q.keyPoints = {keyPoints[i % keyPoints.size()], keyPoints[(i + 7) % keyPoints.size()]};
        out.append(q);
    }
    return out;
}

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void takeBack(TDM1 &dm, qint64 answ, qint64 exer)
{
    DbTransaction tx(dm);
    dm.run(QStringLiteral("delete from tab_answ where rowid > ?"), {answ});
    dm.run(QStringLiteral("delete from tab_exer where rowid > ?"), {exer});
    tx.commit();
}

void bind(sqlite3_stmt *s, const QVariantList &binds)
{
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant &v = binds[i];
        if (v.typeId() == QMetaType::QByteArray) {
            const QByteArray b = v.toByteArray();
            sqlite3_bind_blob(s, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else if (v.typeId() == QMetaType::Int) {
            sqlite3_bind_int(s, i + 1, v.toInt());
        } else {
            const QByteArray t = v.toString().toUtf8();
            sqlite3_bind_text(s, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
    }
}

// The save's statements with their values, made once from a preview.
struct FloorStatement {
    QByteArray sql;
    QVariantList binds;
};
std::vector<FloorStatement> floorStatements(const ImportPreview &p, int first)
{
    std::vector<FloorStatement> out;
    for (int i = 0; i < p.ready.size(); ++i) {
        const NewQuestion &q = p.ready[i].q;
        const QString id = questionId(q.chapter, q.typeCode, q.optionCount, sequenceText(first + i));
        const BoundStatement a = answInsert(id, q), e = exerInsert(id, q);
        out.push_back({a.sql.toUtf8(), a.binds});
        out.push_back({e.sql.toUtf8(), e.binds});
        for (const BoundStatement &u : counterUpdates(q))
            out.push_back({u.sql.toUtf8(), u.binds});
    }
    return out;
}

void runFloor(sqlite3 *db, const std::vector<FloorStatement> &statements)
{
    std::map<QByteArray, sqlite3_stmt *> prepared;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const FloorStatement &f : statements) {
        sqlite3_stmt *&s = prepared[f.sql];
        if (!s && sqlite3_prepare_v2(db, f.sql.constData(), int(f.sql.size()), &s, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "%s: %s\n", f.sql.constData(), sqlite3_errmsg(db));
            std::exit(1);
        }
        bind(s, f.binds);
        if (sqlite3_step(s) != SQLITE_DONE) {
            std::fprintf(stderr, "%s: %s\n", f.sql.constData(), sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_reset(s);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    for (auto &[sql, s] : prepared)
        sqlite3_finalize(s);
}

void BM_Import(benchmark::State &state)
{
    const int which = int(state.range(0));
    TDM1 &dm = g_bank->dm();
    const qint64 answ = dm.scalar(QStringLiteral("select coalesce(max(rowid),0) from tab_answ")).toLongLong();
    const qint64 exer = dm.scalar(QStringLiteral("select coalesce(max(rowid),0) from tab_exer")).toLongLong();
    const ImportTypes types = importTypes(loadTypeTable(dm, 1));
    const ImportPreview once = previewImport(dm, readQuestionFile(g_files[which]), g_section, types);
    if (!once.canSave() || once.ready.size() != Questions) {
        state.SkipWithError(qPrintable(QStringLiteral("preview: ") + once.refusal));
        return;
    }
    const std::vector<FloorStatement> statements = floorStatements(once, once.firstSequence);
    bool program = true;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (program) {
            QElapsedTimer stage;
            stage.start();
            const ParsedFile file = readQuestionFile(g_files[which]);
            g_read[which].push_back(benchMsSince(stage));
            stage.restart();
            const ImportPreview p = previewImport(dm, file, g_section, types);
            g_preview[which].push_back(benchMsSince(stage));
            stage.restart();
            const ImportOutcome out = saveImport(dm, p);
            g_save[which].push_back(benchMsSince(stage));
            if (out.result != ImportOutcome::Saved || out.saved != Questions) {
                state.SkipWithError(qPrintable(QStringLiteral("import: ") + out.error));
                return;
            }
        } else {
            runFloor(dm.handle(), statements);
        }
        const double ms = benchMsSince(t);
        state.SetIterationTime(ms / 1000.0);
        (program ? g_program : g_floor)[which].push_back(ms);
        program = !program;
        takeBack(dm, answ, exer);
    }
}

} // namespace

BENCHMARK(BM_Import)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(benchRounds(10));

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchBank bank(benchQuestions(argc, argv, 100000));
    g_bank = &bank;
    g_section = bank.dm().scalar(QStringLiteral("select C1 from tab_kmmc where length(C1) = 6 order by bh limit 1")).toString();
    const QVector<ImportedQuestion> questions = sampleQuestions(bank.dm());
    g_files[0] = bank.dir() + QStringLiteral("questions.gift");
    g_files[1] = bank.dir() + QStringLiteral("questions.xml");
    writeFile(g_files[0], writeGift(questions));
    writeFile(g_files[1], writeMoodleXml(questions));
    std::printf("import into section %s: %d questions, GIFT %lld bytes, Moodle XML %lld bytes\n", qPrintable(g_section),
                Questions, static_cast<long long>(QFile(g_files[0]).size()),
                static_cast<long long>(QFile(g_files[1]).size()));
    runBenchmarks(argc, argv);
    const char *names[2] = {"gift", "moodle-xml"};
    for (int i = 0; i < 2; ++i) {
        std::printf("import-%s ms: %.1f\n", names[i], benchMedian(g_program[i]));
        std::printf("import-%s floor ms: %.1f\n", names[i], benchMedian(g_floor[i]));
        std::printf("import-%s ratio: %.2f\n", names[i], benchMedian(g_program[i]) / benchMedian(g_floor[i]));
        std::printf("import-%s stages ms: read %.1f, preview %.1f, save %.1f\n", names[i], benchMedian(g_read[i]),
                    benchMedian(g_preview[i]), benchMedian(g_save[i]));
    }
    // What the XML reader alone takes over the file, without the program's
    // work: the part of the Moodle XML figure no import can go below.
    const QString xml = readImportFile(g_files[1]).text;
    std::vector<double> bare;
    for (int k = 0; k < 3; ++k) {
        QElapsedTimer t;
        t.start();
        XmlReader r(xml, MaxXmlDepth);
        XmlElement e;
        if (r.readRoot())
            while (r.readChild(e)) {
            }
        bare.push_back(benchMsSince(t));
    }
    std::printf("moodle-xml bare reader ms: %.1f\n", benchMedian(bare));
    return 0;
}
