// The menu movie player: a QQuickWidget playing pic/main.qml, whose root
// item sends every menu choice through its fsCommand(command, args) signal.
#pragma once

#include <QQuickWidget>
#include <functional>

class QQmlEngine;

class MenuPlayerWidget : public QQuickWidget {
    Q_OBJECT
public:
    explicit MenuPlayerWidget(QWidget *parent = nullptr);

    // True when a menu player can be created on this machine (the QtQuick
    // module loads).  The engine made for the check is reused by the player.
    static bool playerAvailable();

    // Loads and starts the movie; false when it cannot be loaded.
    bool play(const QString &file);

    // The menu delivers its commands here.
    std::function<void(const QString &, const QString &)> onCommand;

    // Sends a command as if the movie had (for tests and keyboard use).
    void sendCommand(const QString &command);

private Q_SLOTS:
    void fsCommand(const QString &command, const QString &args);
};

QQmlEngine *sharedMenuEngine();
