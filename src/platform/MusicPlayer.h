// The background-music player: FluidSynth with a General MIDI sound font
// stands in for the desktop's MIDI playback.  The synthesizer renders in
// its own audio thread and every slow step (loading the sound font,
// starting and stopping a tune) runs on a worker thread of the player, so
// the window thread never waits for the music.
#pragma once

#include <QString>
#include <memory>

class MusicPlayer {
public:
    // Where the music goes.  An empty driver is the synthesizer's default
    // audio output; a named FluidSynth driver may be given instead, e.g.
    // "file" with the WAV file it writes (the tests listen that way).
    struct Output {
        QString driver;
        QString fileName;
    };

    explicit MusicPlayer(Output output = {}, QString soundFont = {});
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer &) = delete;
    MusicPlayer &operator=(const MusicPlayer &) = delete;

    // Opens the audio output unless it is open already; false when no
    // output can be opened (the machine has no usable sound device).
    bool openOutput();
    bool outputOpen() const;

    // Starts a MIDI file from its beginning in place of whatever plays; the
    // tune plays once through.  False, and nothing plays, when the file is
    // missing or not a MIDI file or the sound font cannot be used.
    bool play(const QString &file);
    // Stops the music; stopping a stopped player does nothing.
    void stop();
    // The file last started, empty while stopped.
    QString currentFile() const;

    // Volume level 1..16 (clamped): 1 is silent, 16 full.
    void setVolumeLevel(int level);
    int volumeLevel() const;
    // The synthesizer gain of a level.
    static double gainForLevel(int level);

    // Waits until the commands given so far have been carried out.
    void flush();
    // The synthesizer's last complaint (diagnostics).
    QString lastError() const;

    // The General MIDI sound font the player loads when none is given.
    static QString defaultSoundFont();
    // Renders a MIDI file once through, as fast as the machine allows, into
    // a WAV file with the player's synthesizer settings; false with the
    // reason in error.
    static bool renderToFile(const QString &midi, const QString &wav, int level, QString *error = nullptr,
                             const QString &soundFont = {});

private:
    struct Engine;
    std::unique_ptr<Engine> d;
};
