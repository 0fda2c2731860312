#include "flockinstancelock.h"

#include <QFileInfo>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vn {

QString DefaultInstanceLockPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/EX_Vnote.lock");
    return QStringLiteral("/tmp/EX_Vnote-%1.lock").arg(::getuid());
}

FlockInstanceLock::FlockInstanceLock(QString path) : path_(std::move(path)) {}

FlockInstanceLock::~FlockInstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool FlockInstanceLock::acquire()
{
    if (fd_ >= 0)
        return true;
    // Close-on-exec: programs started from here (a calculator, a browser)
    // must not carry the lock on after this process has ended. No following
    // of links: the fallback lives in the shared /tmp.
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace vn
