// The background-music player on FluidSynth.
#include "platform/MusicPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <fluidsynth.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

// The gain at level 16.  The tunes peak near a third of full scale at gain
// 1.0, so full volume keeps clear of clipping.
constexpr double kFullGain = 1.0;
constexpr int kSampleRate = 44100;

std::mutex g_logMutex;
QString g_lastMessage;

// The synthesizer reports its problems here instead of on the terminal;
// the player hands the last one on through lastError().
void logMessage(int level, const char *message, void *)
{
    if (level == FLUID_DBG)
        return;
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_lastMessage = QString::fromLocal8Bit(message);
}

void installLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, logMessage, nullptr);
    });
}

QString takeLastMessage()
{
    std::lock_guard<std::mutex> lock(g_logMutex);
    QString m = g_lastMessage;
    g_lastMessage.clear();
    return m;
}

QByteArray fileName(const QString &path) { return QFile::encodeName(path); }

fluid_settings_t *newSettings(int level)
{
    fluid_settings_t *s = new_fluid_settings();
    fluid_settings_setnum(s, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(s, "synth.gain", MusicPlayer::gainForLevel(level));
    fluid_settings_setstr(s, "player.timing-source", "sample");
    // The player never takes real-time priority from the desktop.
    fluid_settings_setint(s, "audio.realtime-prio", 0);
    return s;
}

bool usableSoundFont(const QString &path) { return QFileInfo(path).isFile() && fluid_is_soundfont(fileName(path).constData()); }

bool usableMidi(const QString &path) { return QFileInfo(path).isFile() && fluid_is_midifile(fileName(path).constData()); }

} // namespace

struct MusicPlayer::Engine {
    Output output;
    QString soundFont;
    fluid_settings_t *settings = nullptr;
    fluid_synth_t *synth = nullptr;
    fluid_audio_driver_t *driver = nullptr;   // window thread
    int level = 16;

    // Worker thread only.
    fluid_player_t *player = nullptr;
    int fontId = FLUID_FAILED;

    std::thread worker;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<std::function<void()>> commands;
    bool running = false;   // a command is being carried out
    bool quit = false;

    mutable std::mutex stateMutex;
    QString current;
    QString error;

    void setError(const QString &text)
    {
        std::lock_guard<std::mutex> lock(stateMutex);
        error = text;
    }
    void setCurrent(const QString &file)
    {
        std::lock_guard<std::mutex> lock(stateMutex);
        current = file;
    }

    void post(std::function<void()> command)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            commands.push_back(std::move(command));
        }
        wake.notify_one();
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return quit || !commands.empty(); });
            if (commands.empty() && quit)
                return;
            std::function<void()> command = std::move(commands.front());
            commands.pop_front();
            running = true;
            lock.unlock();
            command();
            lock.lock();
            running = false;
            if (commands.empty())
                idle.notify_all();
        }
    }

    // Worker thread: loads the sound font the first time music is asked for.
    bool loadFont()
    {
        if (fontId != FLUID_FAILED)
            return true;
        fontId = fluid_synth_sfload(synth, fileName(soundFont).constData(), 1);
        if (fontId == FLUID_FAILED)
            setError(QStringLiteral("%1: %2").arg(soundFont, takeLastMessage()));
        return fontId != FLUID_FAILED;
    }

    void stopPlayer()
    {
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
            player = nullptr;
        }
        fluid_synth_all_sounds_off(synth, -1);
    }

    void start(const QString &file)
    {
        stopPlayer();
        if (!loadFont()) {
            setCurrent(QString());
            return;
        }
        player = new_fluid_player(synth);
        if (!player || fluid_player_add(player, fileName(file).constData()) != FLUID_OK
            || fluid_player_play(player) != FLUID_OK) {
            setError(QStringLiteral("%1: %2").arg(file, takeLastMessage()));
            stopPlayer();
            setCurrent(QString());
        }
    }
};

MusicPlayer::MusicPlayer(Output output, QString soundFont) : d(std::make_unique<Engine>())
{
    installLog();
    d->output = std::move(output);
    d->soundFont = soundFont.isEmpty() ? defaultSoundFont() : std::move(soundFont);
    d->settings = newSettings(d->level);
    if (!d->output.driver.isEmpty())
        fluid_settings_setstr(d->settings, "audio.driver", d->output.driver.toUtf8().constData());
    if (!d->output.fileName.isEmpty())
        fluid_settings_setstr(d->settings, "audio.file.name", fileName(d->output.fileName).constData());
    d->synth = new_fluid_synth(d->settings);
    d->worker = std::thread([e = d.get()] { e->run(); });
}

MusicPlayer::~MusicPlayer()
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->quit = true;
    }
    d->wake.notify_one();
    d->worker.join();
    // The audio thread ends first, so nothing renders from a player being
    // taken apart.
    if (d->driver)
        delete_fluid_audio_driver(d->driver);
    if (d->player)
        delete_fluid_player(d->player);
    if (d->synth)
        delete_fluid_synth(d->synth);
    delete_fluid_settings(d->settings);
}

bool MusicPlayer::openOutput()
{
    if (d->driver)
        return true;
    if (!d->synth)
        return false;
    d->driver = new_fluid_audio_driver(d->settings, d->synth);
    if (!d->driver)
        d->setError(takeLastMessage());
    return d->driver != nullptr;
}

bool MusicPlayer::outputOpen() const { return d->driver != nullptr; }

bool MusicPlayer::play(const QString &file)
{
    if (!usableMidi(file)) {
        d->setError(QStringLiteral("%1: not a MIDI file").arg(file));
        return false;
    }
    if (!usableSoundFont(d->soundFont)) {
        d->setError(QStringLiteral("%1: not a sound font").arg(d->soundFont));
        return false;
    }
    d->setCurrent(file);
    d->post([e = d.get(), file] { e->start(file); });
    return true;
}

void MusicPlayer::stop()
{
    d->setCurrent(QString());
    d->post([e = d.get()] { e->stopPlayer(); });
}

QString MusicPlayer::currentFile() const
{
    std::lock_guard<std::mutex> lock(d->stateMutex);
    return d->current;
}

void MusicPlayer::setVolumeLevel(int level)
{
    d->level = level < 1 ? 1 : (level > 16 ? 16 : level);
    fluid_synth_set_gain(d->synth, float(gainForLevel(d->level)));
}

int MusicPlayer::volumeLevel() const { return d->level; }

double MusicPlayer::gainForLevel(int level)
{
    // The same steps as a wave-out volume word: (level - 1) x 0x1111 of 0xFFFF.
    const int l = level < 1 ? 1 : (level > 16 ? 16 : level);
    return kFullGain * (l - 1) / 15.0;
}

void MusicPlayer::flush()
{
    std::unique_lock<std::mutex> lock(d->mutex);
    d->idle.wait(lock, [this] { return d->commands.empty() && !d->running; });
}

QString MusicPlayer::lastError() const
{
    std::lock_guard<std::mutex> lock(d->stateMutex);
    return d->error;
}

QString MusicPlayer::defaultSoundFont()
{
    for (const char *path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"}) {
        const QString p = QString::fromLatin1(path);
        if (QFileInfo::exists(p))
            return p;
    }
    return QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
}

bool MusicPlayer::renderToFile(const QString &midi, const QString &wav, int level, QString *error,
                               const QString &soundFont)
{
    installLog();
    const QString font = soundFont.isEmpty() ? defaultSoundFont() : soundFont;
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!usableMidi(midi))
        return fail(QStringLiteral("%1: not a MIDI file").arg(midi));
    if (!usableSoundFont(font))
        return fail(QStringLiteral("%1: not a sound font").arg(font));

    fluid_settings_t *settings = newSettings(level);
    fluid_settings_setstr(settings, "audio.file.name", fileName(wav).constData());
    fluid_settings_setstr(settings, "audio.file.type", "wav");
    fluid_synth_t *synth = new_fluid_synth(settings);
    fluid_player_t *player = nullptr;
    fluid_file_renderer_t *renderer = nullptr;
    bool ok = synth && fluid_synth_sfload(synth, fileName(font).constData(), 1) != FLUID_FAILED;
    if (ok) {
        player = new_fluid_player(synth);
        ok = player && fluid_player_add(player, fileName(midi).constData()) == FLUID_OK
             && fluid_player_play(player) == FLUID_OK;
    }
    if (ok) {
        renderer = new_fluid_file_renderer(synth);
        ok = renderer != nullptr;
    }
    QString why;
    if (ok) {
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING)
            if (fluid_file_renderer_process_block(renderer) != FLUID_OK) {
                ok = false;
                break;
            }
        // The last notes ring out for a second.
        const int tailBlocks = kSampleRate / 64;
        for (int i = 0; ok && i < tailBlocks; ++i)
            ok = fluid_file_renderer_process_block(renderer) == FLUID_OK;
    }
    if (!ok)
        why = takeLastMessage();
    if (renderer)
        delete_fluid_file_renderer(renderer);
    if (player)
        delete_fluid_player(player);
    if (synth)
        delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return ok ? true : fail(why.isEmpty() ? QStringLiteral("cannot render %1").arg(midi) : why);
}
