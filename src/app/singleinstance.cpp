#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// Long enough for a busy window to answer, short enough not to keep a click waiting.
constexpr int handOverTimeoutMs = 3000;

// What one start may hand over: far more files than a file manager passes,
// and the bytes of their paths. A message declaring more is refused before
// anything is allocated for it.
constexpr quint32 handOverPathLimit = 100000;
constexpr qint64 handOverByteLimit = 64 * 1024 * 1024;

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent), startLock(serverName() + QStringLiteral(".lock"))
{
}

QString SingleInstance::serverName()
{
    // A display name can be a long path (Wayland): hashed to stay within a socket path's limit.
    QByteArray display = qgetenv("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qgetenv("DISPLAY");
    const QByteArray hash = QCryptographicHash::hash(display, QCryptographicHash::Sha1).toHex().left(12);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/kestrix-picturist-")
           + QString::fromLatin1(hash);
}

bool SingleInstance::handOverOrListen(const QStringList &paths)
{
    // A start whose lock holder hangs goes on alone rather than never.
    startLock.tryLock(2 * handOverTimeoutMs);
    if (handOver(paths)) {
        startLock.unlock();
        return true;
    }
    server = new QLocalServer(this);
    // Nothing answered: a socket left by a window that crashed is in the way.
    if (!server->listen(serverName())) {
        QLocalServer::removeServer(serverName());
        server->listen(serverName());
    }
    startLock.unlock();
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, &SingleInstance::readFiles);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return false;
}

bool SingleInstance::handOver(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(handOverTimeoutMs))
        return false;
    QStringList absolute;
    for (const QString &path : paths)
        absolute << QFileInfo(path).absoluteFilePath();
    QDataStream stream(&socket);
    stream << absolute;
    // The window answers once it has the list; a window that has just ended does not.
    return socket.waitForBytesWritten(handOverTimeoutMs) && socket.waitForReadyRead(handOverTimeoutMs);
}

void SingleInstance::readFiles()
{
    auto *socket = qobject_cast<QLocalSocket *>(sender());
    if (socket->bytesAvailable() > handOverByteLimit) {
        socket->abort();
        return;
    }
    // The list read an entry at a time: its declared length is not trusted.
    QDataStream stream(socket);
    stream.startTransaction();
    quint32 count = 0;
    stream >> count;
    if (stream.status() == QDataStream::Ok && count > handOverPathLimit) {
        socket->abort();
        return;
    }
    QStringList paths;
    for (quint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        QString path;
        stream >> path;
        paths << path;
    }
    if (!stream.commitTransaction())
        return;
    socket->write("ok");
    socket->flush();
    emit filesReceived(paths);
}
