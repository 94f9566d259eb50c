// The background-music player: the six tunes beside the program render as
// music at full volume and as silence at level 1, and the player refuses
// what it cannot play.
#include "platform/MusicPlayer.h"
#include "support/WavLevel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString tune(int n)
{
    return QStringLiteral(PELLBROOK_SOURCE_DIR "/sound/乐曲%1.mid").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

TEST(MusicPlayer, TheSixTunesRenderAsMusic)
{
    // PELLBROOK_RENDER_DIR keeps the rendered files for listening.
    QTemporaryDir tmp;
    const QString dir = qEnvironmentVariableIsSet("PELLBROOK_RENDER_DIR") ? qEnvironmentVariable("PELLBROOK_RENDER_DIR")
                                                                            : tmp.path();
    QDir().mkpath(dir);
    for (int n = 1; n <= 6; ++n) {
        const QString wav = dir + QStringLiteral("/tune%1.wav").arg(n);
        QString error;
        ASSERT_TRUE(MusicPlayer::renderToFile(tune(n), wav, 16, &error)) << error.toStdString();
        const WavLevel l = readWavLevel(wav);
        ASSERT_TRUE(l.ok) << n;
        EXPECT_EQ(l.channels, 2);
        EXPECT_EQ(l.sampleRate, 44100);
        EXPECT_GT(l.seconds, 40) << n;
        EXPECT_LT(l.seconds, 75) << n;
        EXPECT_GT(l.rmsDb, -30) << n;           // clearly audible
        EXPECT_EQ(l.clipped, 0) << n;           // and never clipped at full volume
        EXPECT_GT(l.soundingShare, 0.8) << n;   // sounds nearly all the way (the last second rings out)
        std::printf("tune %d: %.1f s, rms %.1f dBFS, peak %d\n", n, l.seconds, l.rmsDb, l.peak);
    }
}

TEST(MusicPlayer, VolumeLevelScalesTheSynthesizer)
{
    QTemporaryDir tmp;
    struct Case {
        int level;
        bool silent;
    } cases[] = {{1, true}, {0, true}, {8, false}, {16, false}};
    double quieter = -200;
    for (const Case &c : cases) {
        const QString wav = tmp.filePath(QStringLiteral("l%1.wav").arg(c.level));
        ASSERT_TRUE(MusicPlayer::renderToFile(tune(2), wav, c.level));
        const WavLevel l = readWavLevel(wav);
        ASSERT_TRUE(l.ok);
        if (c.silent) {
            EXPECT_LE(l.peak, 1) << c.level;   // the converter's dither only
        } else {
            EXPECT_GT(l.rmsDb, quieter) << c.level;   // level 16 is louder than level 8
            quieter = l.rmsDb;
        }
    }
}

TEST(MusicPlayer, RefusesWhatItCannotPlay)
{
    QTemporaryDir tmp;
    const QString text = tmp.filePath(QStringLiteral("乐曲09.mid"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a tune");
    f.close();
    struct Case {
        QString file;
        QString soundFont;
        bool plays;
    } cases[] = {
        {tune(3), QString(), true},
        {tmp.filePath(QStringLiteral("乐曲07.mid")), QString(), false},   // missing
        {text, QString(), false},                                        // not MIDI
        {tune(3), text, false},                                          // no usable sound font
    };
    for (const Case &c : cases) {
        // A driver that cannot open keeps the test away from any sound card.
        MusicPlayer p({QStringLiteral("file"), tmp.filePath(QStringLiteral("nowhere/out.wav"))}, c.soundFont);
        EXPECT_EQ(p.play(c.file), c.plays) << c.file.toStdString();
        EXPECT_EQ(p.currentFile(), c.plays ? c.file : QString());
        if (!c.plays) {
            EXPECT_FALSE(p.lastError().isEmpty());
        }
        p.stop();
        p.flush();
        EXPECT_EQ(p.currentFile(), QString());
    }
}
