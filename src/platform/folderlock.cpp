#include "folderlock.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"

#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace vn {

namespace {

// Readable by others (the user's umask permitting): another user of a shared
// folder can then ask the lock and read whom it names. It holds no data.
constexpr mode_t kLockFileMode = 0644;

QString firstLineOf(const char* path)
{
    QFile f(QString::fromLatin1(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readLine().trimmed());
}

// Field 22 of /proc/<pid>/stat, after the command name in parentheses
// (which may itself hold spaces and parentheses); -1 when no such process.
qint64 processStart(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    bool ok = false;
    const qint64 start = fields.size() > 19 ? fields[19].toLongLong(&ok) : -1; // field 22
    return ok ? start : -1;
}

bool sameMachine(const LockHolder& a, const LockHolder& b)
{
    if (!a.machine.isEmpty() && !b.machine.isEmpty())
        return a.machine == b.machine;
    return a.host == b.host;
}

// File systems whose byte-range locks may stay with the client that took
// them: SMB/CIFS (Samba may or may not pass them on; with "nobrl" they stay
// local), FUSE (sshfs, rclone, gvfs), 9p, Coda, NCP.
bool locksMayStayLocal(int fd)
{
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return true;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x517BUL:     // SMB
    case 0x65735546UL: // FUSE
    case 0x01021997UL: // 9p
    case 0x73757245UL: // Coda
    case 0x564CUL:     // NCP
        return true;
    default: return false;
    }
}

QByteArray readAll(int fd)
{
    QByteArray text;
    char buf[1024];
    off_t at = 0;
    while (text.size() < 16384) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n <= 0)
            break;
        text.append(buf, n);
        at += n;
    }
    return text;
}

qint64 nowSecs()
{
    return ToQDateTime(Now()).toSecsSinceEpoch();
}

} // namespace

QByteArray LockHolderText(const LockHolder& h)
{
    QByteArray t = "Velnote data folder lock\n";
    t += "host=" + h.host.toUtf8() + '\n';
    t += "machine=" + h.machine.toUtf8() + '\n';
    t += "boot=" + h.boot.toUtf8() + '\n';
    t += "pid=" + QByteArray::number(h.pid) + '\n';
    t += "started=" + QByteArray::number(h.started) + '\n';
    t += "user=" + h.user.toUtf8() + '\n';
    t += "since=" + h.since.toUtf8() + '\n';
    return t;
}

LockHolder ParseLockHolder(const QByteArray& text)
{
    LockHolder h;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "host")
            h.host = value;
        else if (key == "machine")
            h.machine = value;
        else if (key == "boot")
            h.boot = value;
        else if (key == "pid")
            h.pid = value.toLongLong();
        else if (key == "started")
            h.started = value.toLongLong();
        else if (key == "user")
            h.user = value;
        else if (key == "since")
            h.since = value;
    }
    return h.isEmpty() ? LockHolder{} : h;
}

LockHolder CurrentLockHolder()
{
    LockHolder h;
    h.host = QSysInfo::machineHostName();
    h.machine = firstLineOf("/etc/machine-id");
    h.boot = firstLineOf("/proc/sys/kernel/random/boot_id");
    h.pid = ::getpid();
    h.started = processStart(h.pid);
    if (const passwd* pw = ::getpwuid(::getuid()))
        h.user = QString::fromLocal8Bit(pw->pw_name);
    else
        h.user = QString::number(::getuid());
    h.since = RenderDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), Now());
    return h;
}

bool FolderLockHeld(const FolderLockFacts& f)
{
    if (f.kernelRefused)
        return true;
    if (f.locksShared || f.holder.isEmpty())
        return false;
    if (sameMachine(f.holder, f.here)) {
        if (f.holder.boot != f.here.boot)
            return false; // the machine started again since
        if (f.holder.pid == f.here.pid && f.holder.started == f.here.started)
            return false; // this very process
        return f.holder.started > 0 && f.holderStartHere == f.holder.started;
    }
    // A clock of the other PC a little ahead makes the age negative: held.
    return f.heartbeatAgeSecs <= kStaleAfterSecs;
}

QString DataFolderLock::fileName()
{
    return QStringLiteral(".~lock.Velnote#");
}

DataFolderLock::DataFolderLock(QString folder, Trust trust)
    : path_(folder + u'/' + fileName()), trust_(trust)
{
}

DataFolderLock::~DataFolderLock()
{
    release();
}

DataFolderLock::Result DataFolderLock::acquire()
{
    if (fd_ >= 0)
        return Result::Taken;
    const QByteArray name = QFile::encodeName(path_);
    // Close-on-exec: a browser or calculator started from here must not
    // keep the folder locked after the program has ended.
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kLockFileMode);
    bool writable = fd >= 0;
    if (!writable) // made by another user of a shared folder: it can still be asked
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return Result::Unlockable;

    FolderLockFacts facts;
    facts.locksShared =
        trust_ == Trust::FromFileSystem ? !locksMayStayLocal(fd) : trust_ == Trust::Shared;
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    if (writable) {
        int rc = ::fcntl(fd, F_OFD_SETLK, &fl);
        if (rc != 0 && errno == EINVAL) // a kernel without OFD locks
            rc = ::fcntl(fd, F_SETLK, &fl);
        facts.kernelRefused = rc != 0 && (errno == EAGAIN || errno == EACCES);
        if (rc != 0 && !facts.kernelRefused) // no locks at all there (ENOLCK): the file speaks
            facts.locksShared = false;
    } else {
        facts.kernelRefused = ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    }
    facts.holder = ParseLockHolder(readAll(fd));
    facts.here = CurrentLockHolder();
    if (sameMachine(facts.holder, facts.here))
        facts.holderStartHere = processStart(facts.holder.pid);
    struct stat st;
    if (::fstat(fd, &st) == 0)
        facts.heartbeatAgeSecs = nowSecs() - qint64(st.st_mtim.tv_sec);

    const bool held = FolderLockHeld(facts);
    if (held || !writable) {
        holder_ = facts.holder;
        ::close(fd);
        return held ? Result::Held : Result::Unlockable;
    }
    // In place, not through a temporary file: the lock belongs to this file.
    // Written over the old lines, then cut to length, so that a sync tool
    // or another start never finds it empty in between.
    mine_ = LockHolderText(facts.here);
    if (::pwrite(fd, mine_.constData(), size_t(mine_.size()), 0) != ssize_t(mine_.size()) ||
        ::ftruncate(fd, mine_.size()) != 0) {
        ::close(fd);
        return Result::Unlockable;
    }
    ::fsync(fd);
    fd_ = fd;
    shared_ = facts.locksShared;
    holder_ = facts.here;
    return Result::Taken;
}

bool DataFolderLock::heartbeat()
{
    if (fd_ < 0)
        return false;
    const QByteArray text = readAll(fd_);
    if (text != mine_) {
        holder_ = ParseLockHolder(text);
        ::close(fd_); // not release(): the file is someone else's now
        fd_ = -1;
        return false;
    }
    ::futimens(fd_, nullptr);
    return true;
}

DataFolderLock::Follow DataFolderLock::followFile()
{
    if (fd_ < 0)
        return Follow::Lost;
    struct stat held, now;
    const QByteArray name = QFile::encodeName(path_);
    if (::fstat(fd_, &held) == 0 && ::stat(name.constData(), &now) == 0 &&
        held.st_dev == now.st_dev && held.st_ino == now.st_ino)
        return Follow::Same;
    if (!shared_)
        return heartbeat() ? Follow::Same : Follow::Lost;
    const int fd =
        ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kLockFileMode);
    if (fd < 0)
        return Follow::Same; // nothing to lock there; keep what there is
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &fl) != 0 && ::fcntl(fd, F_SETLK, &fl) != 0) {
        holder_ = ParseLockHolder(readAll(fd));
        ::close(fd);
        ::close(fd_);
        fd_ = -1;
        return Follow::Lost;
    }
    if (readAll(fd).trimmed().isEmpty() &&
        ::pwrite(fd, mine_.constData(), size_t(mine_.size()), 0) == ssize_t(mine_.size()))
        ::fsync(fd);
    ::close(fd_);
    fd_ = fd;
    return Follow::Moved;
}

void DataFolderLock::release()
{
    if (fd_ < 0)
        return;
    if (readAll(fd_) == mine_ && ::ftruncate(fd_, 0) == 0)
        ::fsync(fd_);
    ::close(fd_);
    fd_ = -1;
}

} // namespace vn
