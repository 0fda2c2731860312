#include "textfile.h"

#include "readonlyfolder.h"

#include "apperror.h"
#include "textcodec.h"
#include "writtenfiles.h"

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

FileKind FileKindOf(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? FileKind::Missing : FileKind::Other;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

QByteArray ReadFileBytes(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    // Without blocking: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        ThrowOpenError(shown, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        ThrowOpenError(shown, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        ThrowNotRegularFile(shown);
    }
    // The size as a first guess; a file that grows meanwhile is read to its end.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            ThrowOpenError(shown, err);
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
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

namespace {

// Calls take(from, to) for each line of the units [0, n), split as
// SplitLines splits.
template <typename Unit, typename Take> void forEachLine(const Unit* p, qsizetype n, Take&& take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == Unit('\r') || p[i] == Unit('\n')) {
            take(start, i);
            if (p[i] == Unit('\r') && i + 1 < n && p[i + 1] == Unit('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        take(start, n);
}

void decodeUtf16Lines(const QByteArray& bytes, FileLines& out)
{
    const bool le = bytes[0] == '\xFF';
    out.form = le ? TextForm::Utf16LE : TextForm::Utf16BE;
    const qsizetype units = (bytes.size() - 2) / 2;
    const QString all = FromUtf16(bytes.constData() + 2, units * 2, le);
    forEachLine(all.utf16(), units, [&](qsizetype from, qsizetype to) {
        QString line = all.mid(from, to - from);
        if (MarkNuls(line) || HasBrokenSurrogate(line))
            out.unreadable.append(out.lines.size());
        out.lines.append(std::move(line));
        out.spans.append({2 + 2 * from, 2 + 2 * to});
    });
}

// Shift-JIS or UTF-8 lines; false when some line has bytes the form cannot
// decode (NUL aside).
bool decodeByteLines(const QByteArray& bytes, bool utf8, FileLines& out)
{
    out.lines.clear();
    out.unreadable.clear();
    out.lines.reserve(out.spans.size());
    bool decodable = true;
    for (const FileLines::Span& span : out.spans) {
        const QByteArray raw =
            QByteArray::fromRawData(bytes.constData() + span.from, span.to - span.from);
        bool exact = true;
        QString line = utf8 ? FromUtf8(raw.constData(), raw.size()) : FromSjis(raw, &exact);
        if (utf8)
            exact = IsUtf8(raw);
        decodable = decodable && exact;
        if (MarkNuls(line))
            exact = false;
        if (!exact)
            out.unreadable.append(out.lines.size());
        out.lines.append(std::move(line));
    }
    return decodable;
}

} // namespace

FileLines DecodeFileLines(const QByteArray& bytes)
{
    FileLines out;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        decodeUtf16Lines(bytes, out);
        return out;
    }
    // The rule of DecodeText: UTF-8 with the mark, or when Shift-JIS cannot
    // decode the bytes and UTF-8 can; Shift-JIS otherwise.
    const bool mark = bytes.startsWith("\xEF\xBB\xBF");
    const qsizetype body = mark ? 3 : 0;
    forEachLine(bytes.constData() + body, bytes.size() - body, [&](qsizetype from, qsizetype to) {
        out.spans.append({body + from, body + to});
    });
    out.form = mark ? TextForm::Utf8 : TextForm::Sjis;
    if (!decodeByteLines(bytes, mark, out) && !mark && IsUtf8(bytes)) {
        out.form = TextForm::Utf8;
        decodeByteLines(bytes, true, out);
    }
    return out;
}

FileLines ReadFileLines(const QString& path)
{
    return DecodeFileLines(ReadFileBytes(path));
}

QStringList ReadLines(const QString& path)
{
    return ReadFileLines(path).lines;
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
    // Shown, never written: the text goes on past a NUL.
    QString text = DecodeForeignText(ReadFileBytes(path));
    MarkNuls(text);
    return NormalizeLineBreaks(text);
}

void WriteLines(const QString& path, const QStringList& lines)
{
    WriteFileAtomic(path, EncodeText(JoinLinesCrLf(lines)));
}

void WriteEditText(const QString& path, const QString& text, NewFileMode mode)
{
    WriteFileAtomic(path, EncodeText(text), mode);
}

namespace {

// The process's umask, read without changing it (other threads may be
// creating files); the usual 022 where the system does not tell.
mode_t userUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask & 0777);
            }
    return 022;
}

} // namespace

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

void WriteFileAtomic(const QString& path, const QByteArray& bytes, NewFileMode mode)
{
    if (!MayWriteAt(path))
        return; // the data folder is open read-only: another instance writes it
    const QString shown = QDir::toNativeSeparators(path);
    const QString resolved = WriteTargetOf(path);
    if (resolved.isEmpty())
        ThrowCreateError(shown, ELOOP);
    const QByteArray target = QFile::encodeName(resolved);
    struct stat old;
    if (::stat(target.constData(), &old) == 0 && !S_ISREG(old.st_mode))
        ThrowNotRegularFile(shown, true); // a folder, a FIFO, a device: left as it is
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash > 0 ? target.left(slash) : QByteArray("/");
    QByteArray tmpl = dir + "/." + target.mid(slash + 1) + ".XXXXXX";

    int fd = ::mkstemp(tmpl.data()); // created with mode 0600
    if (fd < 0)
        ThrowCreateError(shown, errno);
    struct stat st;
    if (::stat(target.constData(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777); // keep the old file's permissions
    else if (mode == NewFileMode::UserUmask)
        ::fchmod(fd, 0666 & ~userUmask());

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
        ThrowCreateError(shown, err);
    }
    int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    NoteFileWritten(path);
}

} // namespace vn
