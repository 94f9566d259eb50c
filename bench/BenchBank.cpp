// Large banks and figure collection for the benchmarks.
#include "BenchBank.h"

#include <sqlite3.h>

#include "DemoBank.h"
#include "platform/Seams.h"
#include "store/Schema.h"
#include "store/dm.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

demobank::Options withQuestions(int questions)
{
    demobank::Options o;
    o.questions = questions;
    return o;
}

} // namespace

BenchBank::BenchBank(int questions) : BenchBank(withQuestions(questions)) {}

BenchBank::BenchBank(const demobank::Options &o)
{
    // The cached bank is named after its size and the schema it was made
    // with, so a bank of an earlier schema is never picked up.
    const QByteArray schema = store::schemaStatements().join(QLatin1Char(';')).toUtf8();
    const QString version = QString::fromLatin1(QCryptographicHash::hash(schema, QCryptographicHash::Sha1).toHex().left(8));
    QString cached = QDir::tempPath() + QStringLiteral("/pellbrook-bench-%1-%2").arg(o.questions).arg(version);
    if (o.keyPointGroups > 0 || o.keyPoints > 0)
        cached += QStringLiteral("-kp%1x%2").arg(o.keyPointGroups).arg(o.keyPoints);
    cached += QStringLiteral(".db");
    if (!QFile::exists(cached)) {
        // Programs started together may all find the bank missing: each
        // writes a file of its own and renames it into place, so none reads
        // a bank another is still writing.
        QElapsedTimer t;
        t.start();
        const QString own = cached + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
        QFile::remove(own);
        demobank::generate(own, o);
        if (!QFile::exists(cached))
            ::rename(QFile::encodeName(own).constData(), QFile::encodeName(cached).constData());
        QFile::remove(own);
        std::printf("generated %d-question bank in %.1f s\n", o.questions, double(t.elapsed()) / 1000.0);
    }
    m_source = cached;
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    if (!QFile::copy(cached, bankPath())) {
        std::fprintf(stderr, "bench bank could not be copied from %s\n", qPrintable(cached));
        std::exit(1);
    }
    QFile(bankPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    seams::setAppDir(m_dir.path());
    m_dm = std::make_unique<TDM1>();
    if (!m_dm->DbOpened) {
        std::fprintf(stderr, "bench bank did not open: %s\n", qPrintable(m_dm->openError));
        std::exit(1);
    }
}

BenchBank::~BenchBank() { m_dm.reset(); }

QString BenchBank::bankPath() const { return m_dir.path() + QStringLiteral("/data/VORDANBANK01.db"); }

namespace {

std::map<std::string, double> &figures()
{
    static std::map<std::string, double> f;
    return f;
}

class FigureReporter : public benchmark::ConsoleReporter {
public:
    // Plain output, so the figure lines read the same in a terminal and a log.
    FigureReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.iterations > 0 && !r.error_occurred)
                figures()[r.benchmark_name().substr(0, r.benchmark_name().find('/'))] = r.GetAdjustedRealTime() * multiplier(r.time_unit) * 1000.0;
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    static double multiplier(benchmark::TimeUnit u)
    {
        switch (u) {
        case benchmark::kNanosecond: return 1e-9;
        case benchmark::kMicrosecond: return 1e-6;
        case benchmark::kMillisecond: return 1e-3;
        default: return 1.0;
        }
    }
};

} // namespace

QString BenchBank::largestChapter()
{
    return m_dm->scalar(QStringLiteral("select C1 from tab_kmmc where length(C1)=4 order by C3 desc, bh limit 1")).toString();
}

int benchQuestions(int &argc, char **argv, int defaultCount)
{
    int n = qEnvironmentVariableIntValue("PELLBROOK_BENCH_QUESTIONS");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--questions") == 0) {
            n = QByteArray(argv[i + 1]).toInt();
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    }
    return n > 0 ? n : defaultCount;
}

sqlite3_stmt *benchPrepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "floor: %s: %s\n", sql, sqlite3_errmsg(db));
        std::exit(1);
    }
    return s;
}

bool benchSmoke()
{
    static const bool smoke = qEnvironmentVariableIsSet("PELLBROOK_BENCH_SMOKE");
    return smoke;
}

int benchRounds(int rounds) { return benchSmoke() ? std::min(rounds, 2) : rounds; }

double benchMinTime(double seconds) { return benchSmoke() ? 0.01 : seconds; }

void benchCopyPictures(const BenchBank &bank)
{
    // build/bench/<program> -> build/pic
    const QDir from(QCoreApplication::applicationDirPath() + QStringLiteral("/../pic"));
    QDir(bank.dir()).mkpath(QStringLiteral("pic"));
    for (const QString &f : from.entryList(QDir::Files))
        QFile::copy(from.filePath(f), bank.dir() + QStringLiteral("pic/") + f);
}

double benchRssMb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

double benchPeakRssMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

bool benchResetPeakRss()
{
    // Writing 5 to clear_refs sets the peak back to what is resident now.
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

QString benchLoadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

double benchMsSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

double benchPercentile(std::vector<double> v, double p)
{
    if (v.empty())
        return std::nan("");
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

double benchMedian(std::vector<double> v) { return benchPercentile(std::move(v), 0.5); }

BenchPaintWatch::BenchPaintWatch(QWidget *window) : m_window(window) { QCoreApplication::instance()->installEventFilter(this); }

BenchPaintWatch::~BenchPaintWatch() { QCoreApplication::instance()->removeEventFilter(this); }

void BenchPaintWatch::wait()
{
    while (!m_painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool BenchPaintWatch::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget *>(o)->window() == m_window)
        m_painted = true;
    return QObject::eventFilter(o, e);
}

BenchGapWatch::BenchGapWatch() { QCoreApplication::instance()->installEventFilter(this); }

BenchGapWatch::~BenchGapWatch() { QCoreApplication::instance()->removeEventFilter(this); }

void BenchGapWatch::start()
{
    m_clock.start();
    m_last = 0;
    m_longest = 0;
    m_paints = 0;
    m_running = true;
}

double BenchGapWatch::stop(int *paints)
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longest = std::max(m_longest, now - m_last);
    m_running = false;
    if (paints)
        *paints = m_paints;
    return double(m_longest) / 1e6;
}

bool BenchGapWatch::eventFilter(QObject *o, QEvent *e)
{
    if (m_running && e->type() == QEvent::Paint && o->isWidgetType()) {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        ++m_paints;
    }
    return QObject::eventFilter(o, e);
}

double benchMs(const char *name)
{
    auto it = figures().find(name);
    return it == figures().end() ? std::nan("") : it->second;
}

double benchPairedRatio(const std::vector<double> &ours, const std::vector<double> &floor)
{
    std::vector<double> r;
    for (size_t i = 0; i < ours.size() && i < floor.size(); ++i)
        if (floor[i] > 0)
            r.push_back(ours[i] / floor[i]);
    if (r.empty())
        return std::nan("");
    std::sort(r.begin(), r.end());
    return r[r.size() / 2];
}

void runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
