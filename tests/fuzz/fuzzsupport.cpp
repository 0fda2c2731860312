#include "fuzzsupport.h"

#include "foundation/textcodec.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace vn::fuzz {

void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "\nproperty failed: %s\n  at %s:%d\n", what, file, line);
    std::abort();
}

QString ThroughSjis(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (SjisCanHold(c) && c.unicode() != 0) {
            const QString back = FromSjis(ToSjis(QString(c)));
            out += back.size() == 1 ? back : QString(c);
        } else {
            out += c;
        }
    }
    return out;
}

QString AsSaved(const QString& text)
{
    bool ok = false;
    const QByteArray sjis = ToSjis(text, &ok);
    return ok ? FromSjis(sjis) : text;
}

QStringList AsSavedLines(const QStringList& lines)
{
    QString joined;
    for (const QString& l : lines)
        joined += l + QStringLiteral("\r\n");
    const QString saved = AsSaved(joined);
    QStringList out;
    qsizetype at = 0;
    for (const QString& l : lines) {
        out.append(saved.mid(at, l.size()));
        at += l.size() + 2;
    }
    return out;
}

QString Utf16Text(const char* data, size_t size, bool keepLoneSurrogates)
{
    QString s(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < size; i += 2)
        s[qsizetype(i / 2)] = QChar(char16_t(uchar(data[i]) | uchar(data[i + 1]) << 8));
    if (!keepLoneSurrogates) {
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
                ++i;
            else if (s[i].isSurrogate())
                s[i] = QChar(0xFFFD);
        }
    }
    return s;
}

QString ScratchFolder()
{
    static const QString base = [] {
        const QString root = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        return root + QStringLiteral("/vn-fuzz-") + QString::number(::getpid());
    }();
    QDir(base).removeRecursively();
    QDir().mkpath(base);
    static const bool cleanup = [] {
        std::atexit([] { QDir(base).removeRecursively(); });
        return true;
    }();
    (void)cleanup;
    return base;
}

void PutFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Fail("scratch file cannot be written", __FILE__, __LINE__);
    f.write(bytes);
}

QByteArray GetFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace vn::fuzz
