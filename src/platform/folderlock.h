#pragma once
// One writer per data folder. The runtime-folder lock (FlockInstanceLock)
// keeps one instance per session; this lock lives in the data folder itself,
// so a second login on the same PC, or a PC that reaches the folder over the
// network, finds it taken as well.
//
// The lock file ".~lock.Velnote#" names its holder in a few text lines (host,
// machine id, boot id, process id and start, user, since when) and carries a
// byte-range lock on its open file description (an OFD lock: a lock of the
// open file, not of the process, so no other descriptor of the program can
// drop it; NFS passes these locks to the server, so they hold across PCs).
// The name is one that Nextcloud and Dropbox do not carry to other machines,
// and the program's listings pass it over (IsSyncLeftover).
//
// Whether the lock is held:
// - The kernel refuses the lock: another instance holds it. Held.
// - Where the file system shares locks between all its users (a local disk,
//   NFS), the kernel is the whole truth: a lock it grants is free, whatever
//   the file says. The file may name a process that crashed, or come from
//   another PC through a sync tool (Syncthing carries the file; each PC then
//   has a folder of its own and a lock of its own).
// - Where locks may be kept per client and not reach others (SMB/CIFS, FUSE
//   mounts such as sshfs, 9p), or the file system takes none at all, the
//   file's content decides:
//   - empty or unreadable: free;
//   - this machine (same machine id, or same host name when either has no
//     machine id): held while the named process runs with the same start
//     time; a process gone, a process id now used by another process, or
//     another boot of the machine: free (a stale lock left by a crash);
//   - another machine: held while the file was touched within
//     kStaleAfterSecs; older: free (the other PC crashed or lost the
//     network). The holder touches the file every kHeartbeatSecs, on such
//     file systems only, so a local folder costs no timer at all. A PC that
//     sleeps longer than the bound loses its claim: its next heartbeat finds
//     the file naming someone else, and it stops writing.
#include <QByteArray>
#include <QString>

namespace vn {

struct LockHolder {
    QString host;    // host name
    QString machine; // /etc/machine-id, empty where there is none
    QString boot;    // the kernel's boot id
    qint64 pid = 0;
    qint64 started = 0; // the process's start, in clock ticks after boot
    QString user;       // login name
    QString since;      // local time the lock was taken, "yyyy/mm/dd hh:nn"
    bool isEmpty() const { return host.isEmpty() || pid <= 0; }
    bool operator==(const LockHolder&) const = default;
};
QByteArray LockHolderText(const LockHolder& holder);
LockHolder ParseLockHolder(const QByteArray& text); // empty when it names nobody
// This process on this machine.
LockHolder CurrentLockHolder();

inline constexpr qint64 kHeartbeatSecs = 120;
inline constexpr qint64 kStaleAfterSecs = 600;

// What the rule above looks at.
struct FolderLockFacts {
    bool kernelRefused = false; // another open file holds the byte-range lock
    bool locksShared = true;    // the file system passes locks to every user of it
    LockHolder holder;          // what the lock file says
    LockHolder here;            // this process
    // The start of the process holder.pid on this machine, -1 when none runs
    // (looked at only when the holder is on this machine).
    qint64 holderStartHere = -1;
    qint64 heartbeatAgeSecs = 0; // now minus the lock file's modification time
};
bool FolderLockHeld(const FolderLockFacts& facts);

class DataFolderLock {
public:
    // How far the file system's locks are trusted; tests force either.
    enum class Trust { FromFileSystem, Shared, PerClient };
    static QString fileName(); // ".~lock.Velnote#"

    explicit DataFolderLock(QString folder, Trust trust = Trust::FromFileSystem);
    ~DataFolderLock(); // release()
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    // Taken: this process writes the folder. Held: another instance does
    // (holder() names it). Unlockable: no lock file can be made (a folder
    // that cannot be written); the program runs as it did without one.
    enum class Result { Taken, Held, Unlockable };
    Result acquire();
    bool taken() const { return fd_ >= 0; }
    const LockHolder& holder() const { return holder_; }
    const QString& path() const { return path_; }

    // The holder touches the file on file systems whose locks may not
    // reach other PCs.
    bool needsHeartbeat() const { return taken() && !shared_; }
    // Touches the file; false (and the lock is let go) when the file no
    // longer names this process: another instance took it as stale, and
    // holder() names that one.
    bool heartbeat();
    // Empties the file, so other PCs see it free at once, and lets go.
    void release();

    // After the lock file changed. A sync tool that carries the file between
    // PCs (Syncthing does; Nextcloud and Dropbox leave ".~lock.*" alone)
    // replaces it by a rename, and the lock would stay on the old file, out
    // of sight of the next start. Same: the lock is on the file at the path.
    // Moved: the lock is now on the new file (whose lines, naming the other
    // PC, are left as they are, or become this process's when it is empty).
    // Lost: another instance holds the new file (holder() names it), or, on a
    // file system whose locks may stay local, the file names someone else.
    enum class Follow { Same, Moved, Lost };
    Follow followFile();

private:
    QString path_;
    Trust trust_;
    int fd_ = -1;
    bool shared_ = true;
    QByteArray mine_;
    LockHolder holder_;
};

} // namespace vn
