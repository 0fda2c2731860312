#include "showrequest.h"

#include <QFile>
#include <QObject>
#include <QSocketNotifier>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// A plain Unix socket watched by the event loop: Qt's local sockets would
// load the network library into every start for one knock.

namespace vn {

namespace {

const char kShow[] = "show\n";

// A socket that never waits, with the address of path; -1 when the path
// does not fit an address or no socket can be had.
int socketFor(const QString& path, sockaddr_un& addr)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.size() >= qsizetype(sizeof addr.sun_path))
        return -1;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

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
    // Never waits: a socket nobody listens on refuses at once.
    sockaddr_un addr;
    const int fd = socketFor(path, addr);
    if (fd < 0)
        return false;
    const ssize_t size = ssize_t(sizeof kShow - 1);
    const bool sent = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 &&
                      ::send(fd, kShow, size_t(size), MSG_NOSIGNAL) == size;
    ::close(fd);
    return sent;
}

bool ListenForShowRequests(QObject* parent, const QString& path, std::function<void()> onShow)
{
    sockaddr_un addr;
    const int fd = socketFor(path, addr);
    if (fd < 0)
        return false;
    ::unlink(addr.sun_path); // left by an ended process; the caller holds the lock
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::chmod(addr.sun_path, 0600) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    auto* notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd, onShow] {
        for (;;) {
            const int c = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                return;
            // The knock is written before the knocking program ends.
            pollfd p{c, POLLIN, 0};
            char buf[16];
            const ssize_t n = ::poll(&p, 1, 200) == 1 ? ::recv(c, buf, sizeof buf, 0) : -1;
            ::close(c);
            if (n > 0 && std::memchr(buf, '\n', size_t(n)))
                onShow();
        }
    });
    const QByteArray name(addr.sun_path);
    QObject::connect(notifier, &QObject::destroyed, [fd, name] {
        ::close(fd);
        ::unlink(name.constData());
    });
    return true;
}

} // namespace vn
