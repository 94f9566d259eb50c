// The background music routine of the main window.
#include "common/BackgroundMusic.h"

#include "common/ShellState.h"
#include "platform/MusicPlayer.h"
#include "platform/Seams.h"

namespace music {

namespace {
MusicPlayer *g_player = nullptr;
}

void setPlayer(MusicPlayer *player) { g_player = player; }
MusicPlayer *player() { return g_player; }

QString tuneFile(const QString &tuneName)
{
    return seams::appDir() + QStringLiteral("sound/") + tuneName.trimmed() + QStringLiteral(".mid");
}

} // namespace music

void PlayMusic(MusicPlayer *player, const QString &file, bool on)
{
    if (!player || !player->openOutput()) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("没发现声卡！"), 1, seams::DlgWarning, QStringLiteral("NO"));
        return;
    }
    if (!on) {
        player->stop();
        return;
    }
    // The level start-up gave the wave-out volume is the synthesizer's gain.
    player->setVolumeLevel(shell().WaveVolumeLevel);
    if (!player->play(file)) {
        // The player stays closed: whatever played before has stopped.
        player->stop();
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("无法播放背景音乐！"), 1, seams::DlgWarning, QStringLiteral("NO"));
    }
}

void PlayMusic(const QString &file, bool on) { PlayMusic(music::player(), file, on); }
