// The count-up clock of the exam window: it can be reset, started, paused
// and resumed, and tells the elapsed time as h:mm:ss; while paused the
// elapsed time does not advance.  Also the text the pause cover scrolls.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace exam {

class ExamClock {
public:
    // A monotonic time source in milliseconds; the default one runs on
    // the system's monotonic clock.  Tests give their own.
    using Source = std::function<qint64()>;
    explicit ExamClock(Source source = {});
    void setSource(Source source);

    // Back to 0:00:00, not running.
    void reset();
    void start();    // runs from the elapsed time it has
    void pause();    // stops advancing, keeps the elapsed time
    void resume() { start(); }
    bool running() const { return m_running; }

    qint64 elapsedMs() const;
    qint64 elapsedSeconds() const { return elapsedMs() / 1000; }
    QString elapsedText() const { return timeText(elapsedSeconds()); }

    // Whole seconds as the clock text h:mm:ss (see common/ClockText.h).
    static QString timeText(qint64 seconds);

private:
    Source m_source;
    bool m_running = false;
    qint64 m_base = 0;      // elapsed ms before the current run
    qint64 m_started = 0;   // source time the current run began
};

// The thirteen lines that scroll over the question while the exam is
// paused.
QStringList pauseCoverLines();

} // namespace exam
