// The exam clock: counting up, pausing, resuming, and its time text.
#include "exam/ExamClock.h"

#include <gtest/gtest.h>

using exam::ExamClock;

TEST(ExamClock, CountsOnlyWhileRunning)
{
    qint64 now = 5000;
    ExamClock c([&] { return now; });
    EXPECT_EQ(c.elapsedText(), QStringLiteral("0:00:00"));
    c.start();
    now += 61500;
    EXPECT_EQ(c.elapsedSeconds(), 61);
    c.pause();
    now += 3600 * 1000;   // an hour paused: nothing counted
    EXPECT_EQ(c.elapsedText(), QStringLiteral("0:01:01"));
    c.pause();            // pausing twice changes nothing
    c.resume();
    now += 500;
    EXPECT_EQ(c.elapsedMs(), 62000);
    c.start();            // starting a running clock keeps its count
    now += 1000;
    EXPECT_EQ(c.elapsedSeconds(), 63);
    c.reset();
    EXPECT_FALSE(c.running());
    now += 9999;
    EXPECT_EQ(c.elapsedMs(), 0);

    // A new source carries the elapsed time over.
    c.start();
    now += 2000;
    qint64 other = 100;
    c.setSource([&] { return other; });
    other += 1000;
    EXPECT_EQ(c.elapsedSeconds(), 3);
}

TEST(ExamClock, TimeText)
{
    const std::pair<qint64, const char *> cases[] = {
        {0, "0:00:00"}, {59, "0:00:59"}, {3723, "1:02:03"}, {36000, "10:00:00"}, {450001, "125:00:01"}, {-5, "0:00:00"}};
    for (auto [s, text] : cases)
        EXPECT_EQ(ExamClock::timeText(s), QLatin1String(text)) << s;
    const QStringList lines = exam::pauseCoverLines();
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.first(), QStringLiteral("你知道么？"));
    EXPECT_EQ(lines.at(11), QStringLiteral("一盘在手，全局把握。"));
    for (int i : {1, 4, 6, 8, 10, 12})
        EXPECT_TRUE(lines.at(i).isEmpty()) << i;
}
