#include "showrequest.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace vn {

namespace {
constexpr int kWaitMs = 2000;
const QByteArray kShow = QByteArrayLiteral("show\n");
} // namespace

QString ShowRequestSocketPath(const QString& lockPath)
{
    QString path = lockPath;
    if (path.endsWith(QLatin1String(".lock")))
        path.chop(5);
    return path + QStringLiteral(".show");
}

bool RequestShow(const QString& path)
{
    QLocalSocket socket;
    socket.connectToServer(path, QIODevice::WriteOnly);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kShow);
    const bool sent = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return sent;
}

bool ListenForShowRequests(QObject* parent, const QString& path, std::function<void()> onShow)
{
    auto* server = new QLocalServer(parent);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        delete server;
        return false;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server, onShow] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, onShow] {
                if (socket->readAll().contains('\n'))
                    onShow();
            });
        }
    });
    return true;
}

} // namespace vn
