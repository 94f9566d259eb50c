// Single-instance check over a local socket.
#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

QString userName()
{
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty())
        u = qEnvironmentVariable("USERNAME");
    return u;
}

} // namespace

SingleInstance::SingleInstance(const QString &title, QObject *parent) : QObject(parent)
{
    const QByteArray key = (title + QLatin1Char('|') + userName()).toUtf8();
    m_name = QStringLiteral("pellbrook-") + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
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
    if (askRunningInstance())
        return true;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Another start may have begun listening in the meantime; if so it
        // is the running instance.  Otherwise the socket is a leftover of a
        // crashed run and is replaced.
        if (askRunningInstance())
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
