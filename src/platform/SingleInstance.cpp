// Single-instance check: a lock file beside the bank decides which start is
// the first; a local socket carries the later start's request to come
// forward.
#include "platform/SingleInstance.h"

#include "platform/Seams.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace {

QString userName()
{
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty())
        u = qEnvironmentVariable("USERNAME");
    return u;
}

// How long a later start waits for the first one to answer: the first may
// hold the lock but not listen yet.
constexpr int HandOverTries = 50;
constexpr int HandOverPauseMs = 100;

} // namespace

SingleInstance::SingleInstance(const QString &title, QObject *parent) : QObject(parent)
{
    const QByteArray key = (title + QLatin1Char('|') + userName()).toUtf8();
    m_name = QStringLiteral("pellbrook-") + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    m_lock = std::make_unique<QLockFile>(seams::bankDir() + QStringLiteral("pellbrook.lock"));
    // The first instance may run for days: its lock never goes stale by
    // age, only when its process has gone.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(500))
        return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(500);
    socket.waitForReadyRead(500);   // the first instance acknowledges
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::ActivatePreviousInstance()
{
    // Creating the lock file is atomic, so of two starts at the same moment
    // exactly one gets it; a lock of a process that has gone is taken over.
    const bool locked = m_lock->tryLock(0);
    if (!locked) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            for (int i = 0; i < HandOverTries; ++i) {
                if (askRunningInstance())
                    return true;
                QThread::msleep(HandOverPauseMs);
            }
            // The first start holds the bank but does not answer (still
            // starting, or stuck): this one ends all the same.
            return true;
        }
        // No lock can be made here (the folder cannot be written): the
        // socket alone decides, and the bank refuses a second writer.
        if (askRunningInstance())
            return true;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // With the lock held, a socket of that name is a leftover of a run
        // that ended without closing it; without it, another start may have
        // begun listening in the meantime.
        if (!locked && askRunningInstance())
            return true;
        QLocalServer::removeServer(m_name);
        m_server->listen(m_name);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, s, [this, s] {
                s->readAll();
                s->write("ok\n");
                s->flush();
                Q_EMIT activationRequested();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    return false;
}
