// TFrmStart: the program's full-screen main window.  Its only content is the
// menu movie; every menu choice arrives as a command string and opens one
// window modally, opens a page, or ends the program through the plan check.
#pragma once

#include "app/MenuCommands.h"

#include <QWidget>
#include <functional>
#include <memory>

class MenuPlayerWidget;
class MusicPlayer;
class QDialog;

class TFrmStart : public QWidget {
    Q_OBJECT
public:
    explicit TFrmStart(QWidget *parent = nullptr);
    ~TFrmStart() override;

    // Chooses the screen mode; false when the display is not at 96 dpi (the
    // message has then been shown and the program should end).
    bool FormCreate();
    // Full screen, music state, current subject, answer times, menu movie.
    void FormShow();
    // Closes the bank; always allows closing.
    bool FormCloseQuery();
    void ShockwaveFlash1FSCommand(const QString &command, const QString &args);

    MenuPlayerWidget *ShockwaveFlash1 = nullptr;
    // The background music; it stops when the main window goes.
    std::unique_ptr<MusicPlayer> MidiMediaPlayer;
    // Plays file when on, else closes the player (the settings window's
    // switch and tune list come here).
    void PlayMusic(const QString &file, bool on);

    // Creates the window a command opens; nullptr for a window that the
    // program does not have (yet).  Tests may replace entries.
    using WindowFactory = std::function<QDialog *(QWidget *owner, const MenuCommand &)>;
    void setWindowFactory(MenuCommand::Action action, WindowFactory factory);
    // Runs a mock exam of a subject (paper generation, exam window).
    std::function<void(int subject)> mockExam;

    // Stand-in for the wave-out volume: the level is kept for the player.
    static void SetWaveVolume(int level);

    // The screen mode for a screen size ("800" or "1024").
    static QString screenModeFor(const QSize &screen);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void dispatch(const MenuCommand &c);
    void openWindow(const MenuCommand &c);
    void quitCommand();
    std::map<int, WindowFactory> m_factories;
    bool m_shown = false;
};

// Whether the display's own logical resolution, before Qt's high-dpi
// scaling, is 96 dpi.
bool IsSmallFonts();
