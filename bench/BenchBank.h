// A large generated bank for benchmarks: generated once per size into the
// system temporary folder and copied fresh into a program folder for each
// benchmark program, with AppDir pointing at it.
#pragma once

#include "widgets/ModalGui.h"

#include <QDialog>
#include <QObject>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

class QElapsedTimer;
class QWidget;
class TDM1;
struct sqlite3;
struct sqlite3_stmt;
namespace demobank {
struct Options;
}

class BenchBank {
public:
    explicit BenchBank(int questions = 100000);
    // A bank of other proportions (key-point groups and key points).
    explicit BenchBank(const demobank::Options &options);
    ~BenchBank();
    TDM1 &dm() { return *m_dm; }
    QString bankPath() const;
    // The generated bank this one was copied from (not held by the
    // program's connection, so other connections may read it).
    QString sourcePath() const { return m_source; }
    QString dir() const { return m_dir.path() + QLatin1Char('/'); }
    // The chapter (four-character code) with the most questions; the first
    // in book order among equals.
    QString largestChapter();

private:
    QTemporaryDir m_dir;
    QString m_source;
    std::unique_ptr<TDM1> m_dm;
};

// A floor statement prepared on a connection; a statement the engine
// refuses ends the program with the engine's text, so a floor never times
// an error.
sqlite3_stmt *benchPrepare(sqlite3 *db, const char *sql);

// The bank size of a benchmark program: --questions N on its command line
// (removed from argv) or PELLBROOK_BENCH_QUESTIONS, else the default.
int benchQuestions(int &argc, char **argv, int defaultCount);

// The smoke run (PELLBROOK_BENCH_SMOKE set, as the test suite does): every
// benchmark once on a small bank, to prove it runs and prints its figures.
// Rounds and minimum times shrink to a token; the figures mean nothing.
bool benchSmoke();
int benchRounds(int rounds);
double benchMinTime(double seconds);

// Copies the program's pictures (built beside the program) into the bank's
// program folder, for benchmarks that open windows.
void benchCopyPictures(const BenchBank &bank);

// The process's resident memory in MB, and the machine's load average text.
double benchRssMb();
QString benchLoadAverage();
// The process's peak resident memory in MB (VmHWM), and a fresh start for
// it from the memory resident now; false where the system cannot reset it.
double benchPeakRssMb();
bool benchResetPeakRss();

// Milliseconds since the timer started.
double benchMsSince(const QElapsedTimer &t);
// The median, and the value at fraction p (0..1) of the sorted figures;
// NaN when there are none.
double benchMedian(std::vector<double> v);
double benchPercentile(std::vector<double> v, double p);

// Waits for a window's next paint: any paint of the window or of a widget
// inside it (one repaint pass paints every widget that changed), watched
// while the object lives.
class BenchPaintWatch : public QObject {
public:
    explicit BenchPaintWatch(QWidget *window);
    ~BenchPaintWatch() override;
    // Forgets paints seen so far; wait() then waits for the next one.
    void expect() { m_painted = false; }
    void wait();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QWidget *m_window;
    bool m_painted = false;
};

// Times a window the program opens modally: `open` runs (a click, a menu
// command) and, when a window of type W comes to run, it is shown and
// waited on up to its first paint; the milliseconds from the start of
// `open` to that paint are returned, and the painted window is handed to
// `painted` before its own loop would start.  NaN when no W opened.
template <class W>
double benchPaintedModal(const std::function<void()> &open, const std::function<void(W *)> &painted = {})
{
    QElapsedTimer t;
    double ms = std::nan("");
    ui::setModalHook([&](QDialog *d) {
        auto *w = qobject_cast<W *>(d);
        if (!w)
            return 0;
        BenchPaintWatch spy(w);
        w->show();
        spy.wait();
        ms = benchMsSince(t);
        if (painted)
            painted(w);
        return 0;
    });
    t.start();
    open();
    ui::setModalHook(nullptr);
    return ms;
}

// The longest time the screen went without painting: every paint of any
// widget is seen while the watch runs, and the gaps from start() to the
// first paint and from the last paint to stop() count too.
class BenchGapWatch : public QObject {
public:
    BenchGapWatch();
    ~BenchGapWatch() override;
    void start();
    // The longest gap in ms since start(); the number of paints in *paints.
    double stop(int *paints = nullptr);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_paints = 0;
    bool m_running = false;
};

// Median of a benchmark's per-iteration real time in milliseconds, as
// collected by the figure reporter (NaN when it did not run).
double benchMs(const char *name);

// The median of the ratios ours[i] / floor[i]: each of our timings over the
// floor's timing taken right after it, so that both of a pair saw the same
// load on the machine.
double benchPairedRatio(const std::vector<double> &ours, const std::vector<double> &floor);

// Runs the registered benchmarks with a console reporter that also keeps
// every run's time for benchMs().
void runBenchmarks(int argc, char **argv);
