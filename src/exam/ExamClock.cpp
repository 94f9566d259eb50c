// The exam's count-up clock.
#include "exam/ExamClock.h"

#include "common/ClockText.h"

#include <QElapsedTimer>

namespace exam {

namespace {
qint64 monotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}
} // namespace

ExamClock::ExamClock(Source source) { setSource(std::move(source)); }

void ExamClock::setSource(Source source)
{
    const qint64 now = elapsedMs();
    m_source = source ? std::move(source) : Source(monotonicMs);
    // The elapsed time carries over to the new source.
    m_base = now;
    m_started = m_source();
}

void ExamClock::reset()
{
    m_running = false;
    m_base = 0;
    m_started = m_source ? m_source() : 0;
}

void ExamClock::start()
{
    if (m_running)
        return;
    m_started = m_source();
    m_running = true;
}

void ExamClock::pause()
{
    if (!m_running)
        return;
    m_base += m_source() - m_started;
    m_running = false;
}

qint64 ExamClock::elapsedMs() const
{
    if (!m_source)
        return m_base;
    return m_running ? m_base + (m_source() - m_started) : m_base;
}

QString ExamClock::timeText(qint64 seconds) { return clockText(seconds); }

QStringList pauseCoverLines()
{
    return {QStringLiteral("你知道么？"),
            QString(),
            QStringLiteral("Velmora 考试辅导系统"),
            QStringLiteral("海量题库，涵盖全面；"),
            QString(),
            QStringLiteral("考点关联，错题重做；"),
            QString(),
            QStringLiteral("智能组卷，电脑评判；"),
            QString(),
            QStringLiteral("筛选重点，分类输出；"),
            QString(),
            QStringLiteral("一盘在手，全局把握。"),
            QString()};
}

} // namespace exam
