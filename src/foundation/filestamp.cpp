#include "filestamp.h"

#include "textfile.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>
#include <time.h>

namespace vn {

namespace {

// A stamp taken within one tick of the file system's clock after the file's
// last change cannot tell a later change in the same tick by time alone.
// Local file systems keep times to the kernel's tick (a few milliseconds);
// some (FAT on a stick, some network shares) keep whole seconds or two,
// which shows as a time without a fraction.
qint64 racyWindowNs(qint64 mtimeNs)
{
    return mtimeNs % 1'000'000'000 == 0 ? 3'000'000'000 : 100'000'000;
}

struct StatNow {
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
};

StatNow statNow(const QString& path)
{
    struct stat st;
    StatNow s;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return s;
    s.exists = true;
    s.size = qint64(st.st_size);
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return s;
}

// File times are the file system's: they are compared with the system's
// real time, not with the program's clock (which tests may set anywhere).
qint64 realNowNs()
{
    struct timespec ts;
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

QByteArray readOrEmpty(const QString& path, bool* ok)
{
    try {
        *ok = true;
        return ReadFileBytes(path);
    } catch (...) {
        *ok = false;
        return QByteArray();
    }
}

} // namespace

QByteArray FileStamp::hashOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

FileStamp FileStamp::of(const QString& path, const QByteArray& bytes, bool hashNow)
{
    const StatNow s = statNow(path);
    FileStamp f;
    f.known = true;
    f.exists = s.exists;
    if (!s.exists)
        return f;
    f.size = bytes.size();
    f.mtimeNs = s.mtimeNs;
    // Racy as well when the file already differs in size from the bytes
    // given: it changed between the read and the stat.
    f.racy = s.size != bytes.size() || realNowNs() - s.mtimeNs < racyWindowNs(s.mtimeNs);
    if (hashNow)
        f.hash = hashOf(bytes);
    return f;
}

FileStamp FileStamp::read(const QString& path)
{
    if (!statNow(path).exists)
        return missing();
    bool ok = false;
    const QByteArray bytes = readOrEmpty(path, &ok);
    if (!ok)
        return FileStamp{};
    return of(path, bytes);
}

FileStamp FileStamp::missing()
{
    FileStamp f;
    f.known = true;
    return f;
}

bool FileStamp::holds(const QByteArray& bytes) const
{
    return known && exists && hashed() && bytes.size() == size && hashOf(bytes) == hash;
}

bool FileStamp::looksUnchanged(const QString& path) const
{
    if (!known)
        return true;
    const StatNow s = statNow(path);
    if (!exists || !s.exists)
        return exists == s.exists;
    return !racy && s.size == size && s.mtimeNs == mtimeNs;
}

OutsideBytes ReadIfChangedSince(const QString& path, const FileStamp& stamp)
{
    OutsideBytes out;
    if (!stamp.known)
        return out;
    const StatNow s = statNow(path);
    out.exists = s.exists;
    if (!s.exists) {
        out.changed = stamp.exists;
        return out;
    }
    if (!stamp.exists) {
        bool ok = false;
        out.bytes = readOrEmpty(path, &ok);
        out.changed = true;
        return out;
    }
    if (stamp.looksUnchanged(path))
        return out;
    bool ok = false;
    out.bytes = readOrEmpty(path, &ok);
    if (!ok) // cannot be read now: the write will say why, or succeed
        return OutsideBytes{};
    out.changed = !stamp.holds(out.bytes);
    if (!out.changed)
        out.bytes.clear();
    return out;
}

bool ChangedSince(const QString& path, const FileStamp& stamp)
{
    return ReadIfChangedSince(path, stamp).changed;
}

bool ChangedSinceSettling(const QString& path, FileStamp& stamp)
{
    if (!stamp.racy)
        return ChangedSince(path, stamp);
    const StatNow before = statNow(path);
    if (ChangedSince(path, stamp))
        return true;
    // Unchanged, and any later write would show in the modification time.
    if (stamp.exists && before.exists && before.size == stamp.size &&
        before.mtimeNs == stamp.mtimeNs &&
        realNowNs() - before.mtimeNs >= racyWindowNs(before.mtimeNs))
        stamp.racy = false;
    return false;
}

} // namespace vn
