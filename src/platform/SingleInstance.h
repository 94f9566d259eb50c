// One running copy of the program: a lock file beside the bank (in
// seams::bankDir(), so each user's bank has its own) decides
// which start is the first (a lock of a process that has gone is taken
// over); the first listens on a local socket named after the window title
// and the user, and a later start connects to it, asks it to come forward,
// and ends.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &title, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance is running; it has then been asked to come
    // forward and this one should end.  Otherwise this instance starts
    // listening and returns false.
    bool ActivatePreviousInstance();

    QString serverName() const { return m_name; }

Q_SIGNALS:
    // Another start asked this instance to come forward.
    void activationRequested();

private:
    bool askRunningInstance();
    QString m_name;
    QLocalServer *m_server = nullptr;
    std::unique_ptr<QLockFile> m_lock;
};
