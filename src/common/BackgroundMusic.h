// The background music: the main window's PlayMusic routine and the way the
// settings window reaches the main window's player.
#pragma once

#include <QString>

class MusicPlayer;

namespace music {

// The main window installs its player here while it lives; nullptr none.
void setPlayer(MusicPlayer *player);
MusicPlayer *player();

// The file of a tune of the list: AppDir + "sound/" + name + ".mid".
QString tuneFile(const QString &tuneName);

} // namespace music

// Plays file when on, else closes the player.  Says "没发现声卡！" when no
// audio output can be opened (nothing is tried then) and "无法播放背景音乐！"
// when the file is missing or cannot be played.  A null player is a
// machine without sound.
void PlayMusic(MusicPlayer *player, const QString &file, bool on);
// The same on the installed player.
void PlayMusic(const QString &file, bool on);
