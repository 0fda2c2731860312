#include "textfile.h"

#include "apperror.h"
#include "textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vn {

namespace {

QString causeText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QByteArray untilNul(QByteArray bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return bytes;
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

bool FileExists(const QString& path)
{
    return QFileInfo(path).isFile();
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        ThrowOpenError(QDir::toNativeSeparators(path), f.errorString());
    return f.readAll();
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString JoinLinesCrLf(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 2;
    QString out;
    out.reserve(total);
    for (const QString& l : lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

QString NormalizeLineBreaks(const QString& text)
{
    // Fast path: already CR LF only.
    bool clean = true;
    for (qsizetype i = 0; i < text.size() && clean; ++i) {
        if (text[i] == u'\r')
            clean = i + 1 < text.size() && text[i + 1] == u'\n' && (++i, true);
        else if (text[i] == u'\n')
            clean = false;
    }
    if (clean)
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += QLatin1String("\r\n");
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

QStringList ReadLines(const QString& path)
{
    return SplitLines(DecodeText(untilNul(ReadFileBytes(path))));
}

QString ReadEditText(const QString& path)
{
    return DecodeEditText(ReadFileBytes(path));
}

QString DecodeEditText(const QByteArray& bytes)
{
    return NormalizeLineBreaks(DecodeText(untilNul(bytes)));
}

QString ReadForeignEditText(const QString& path)
{
    return NormalizeLineBreaks(DecodeForeignText(untilNul(ReadFileBytes(path))));
}

void WriteLines(const QString& path, const QStringList& lines)
{
    WriteFileAtomic(path, EncodeText(JoinLinesCrLf(lines)));
}

void WriteEditText(const QString& path, const QString& text)
{
    WriteFileAtomic(path, EncodeText(text));
}

QString WriteTargetOf(const QString& path)
{
    QString p = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray name = QFile::encodeName(p);
        struct stat st;
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(name.constData(), link.data(), size_t(link.size()));
        if (n <= 0 || n >= link.size())
            return p;
        link.truncate(n);
        const QString next = QFile::decodeName(link);
        // A relative link is relative to the folder that holds the link.
        p = QDir::isAbsolutePath(next) ? next : p.left(p.lastIndexOf(u'/') + 1) + next;
    }
    return QString(); // a loop of links
}

void WriteFileAtomic(const QString& path, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QString resolved = WriteTargetOf(path);
    if (resolved.isEmpty())
        ThrowCreateError(shown, causeText(ELOOP));
    const QFileInfo info(resolved);
    if (info.isDir())
        ThrowCreateError(shown, causeText(EISDIR));
    const QByteArray target = QFile::encodeName(resolved);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash > 0 ? target.left(slash) : QByteArray("/");
    QByteArray tmpl = dir + "/." + target.mid(slash + 1) + ".XXXXXX";

    int fd = ::mkstemp(tmpl.data()); // created with mode 0600
    if (fd < 0)
        ThrowCreateError(shown, causeText(errno));
    struct stat st;
    if (::stat(target.constData(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777); // keep the old file's permissions

    // A write past the file-size limit fails with EFBIG (the program ignores
    // SIGXFSZ), like a full disk: the temporary file goes, the old file stays.
    bool ok = writeAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmpl.constData(), target.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmpl.constData());
        ThrowCreateError(shown, causeText(err));
    }
    int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace vn
