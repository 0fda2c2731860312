#include "inifile.h"

#include "apperror.h"
#include "filestamp.h"
#include "inidocument.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <optional>
#include <tuple>
#include <utility>

namespace vn {

namespace {

// Files read, kept while their bytes stay the same: every read reads the
// file and compares it with the bytes seen last time, so a change by anyone
// (another window, another program) is seen at once. A file read for the
// first time is scanned line by line; when the same bytes are read many
// times (start-up reads many values of one settings file), an index is built.
struct CachedFile {
    QByteArray bytes;
    IniDocument doc;
    bool indexed = false;
    int reads = 0;
    IniDocument::Index values;

    void buildIndex()
    {
        values = doc.index();
        indexed = true;
    }

    std::optional<QString> find(const QString& section, const QString& key) const
    {
        if (!indexed)
            return doc.value(section, key);
        const auto sec = values.constFind(section.toCaseFolded());
        if (sec == values.constEnd())
            return std::nullopt;
        const auto val = sec->constFind(key.toCaseFolded());
        if (val == sec->constEnd())
            return std::nullopt;
        return *val;
    }
};

QHash<QString, CachedFile>& cache()
{
    static QHash<QString, CachedFile> c;
    return c;
}

int g_burstDepth = 0;
QSet<QString> g_readInBurst;
int g_batchDepth = 0;
QSet<QString> g_unwritten; // files whose cached document is newer than the file
// For each of those: the bytes the batch started from and the values it set,
// so that what another program wrote meanwhile is kept under them.
struct BatchWrites {
    FileStamp base;
    QList<std::tuple<QString, QString, QString>> values; // section, key, value
};
QHash<QString, BatchWrites> g_batchWrites;

const CachedFile* cachedFile(const QString& path, bool manyReads = false)
{
    if (g_unwritten.contains(path)) {
        auto it = cache().find(path);
        if (!it->indexed && (manyReads || ++it->reads >= 8))
            it->buildIndex();
        return &*it;
    }
    if (g_burstDepth > 0 && g_readInBurst.contains(path)) {
        auto it = cache().find(path);
        if (it != cache().end()) {
            if (!it->indexed && (manyReads || ++it->reads >= 8))
                it->buildIndex();
            return &*it;
        }
    }
    if (g_burstDepth > 0)
        g_readInBurst.insert(path);
    std::optional<QByteArray> read;
    if (QFileInfo(path).isFile()) {
        try {
            read = ReadFileBytes(path); // never blocks on what is not a regular file
        } catch (const AppError&) {
        }
    }
    if (!read) {
        cache().remove(path);
        return nullptr;
    }
    QByteArray bytes = std::move(*read);
    auto it = cache().find(path);
    if (it != cache().end() && it->bytes == bytes) {
        if (!it->indexed && (manyReads || ++it->reads >= 8))
            it->buildIndex();
        return &*it;
    }
    CachedFile c;
    c.doc = IniDocument::parse(bytes);
    c.bytes = std::move(bytes);
    if (manyReads)
        c.buildIndex();
    if (cache().size() > 16 && g_unwritten.isEmpty())
        cache().clear();
    return &*cache().insert(path, std::move(c));
}

} // namespace

struct IniReadAhead {
    QString path;
    QByteArray bytes;
    IniDocument doc;
};

std::shared_ptr<IniReadAhead> ReadIniAhead(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    try {
        auto ahead = std::make_shared<IniReadAhead>();
        ahead->path = path;
        ahead->bytes = ReadFileBytes(path);
        ahead->doc = IniDocument::parse(ahead->bytes);
        return ahead;
    } catch (const AppError&) {
        return nullptr; // the first read says what is wrong
    }
}

void AdoptIniReadAhead(const std::shared_ptr<IniReadAhead>& ahead)
{
    if (!ahead || cache().contains(ahead->path))
        return;
    CachedFile c;
    c.bytes = ahead->bytes;
    c.doc = ahead->doc;
    cache().insert(ahead->path, std::move(c));
}

namespace {

// The file as it is now, for a write; an empty document when it is missing.
IniDocument load(const QString& path)
{
    if (g_unwritten.contains(path))
        return cache().constFind(path)->doc;
    if (!QFileInfo(path).isFile())
        return {};
    const CachedFile* c = cachedFile(path);
    if (!c) // exists but cannot be read: say so
        ReadFileBytes(path);
    return c ? c->doc : IniDocument();
}

} // namespace

std::optional<QString> IniFile::readValue(const QString& section, const QString& key) const
{
    const CachedFile* c = cachedFile(path_);
    return c ? c->find(section, key) : std::nullopt;
}

QList<std::optional<QString>> IniFile::readValues(const QList<QPair<QString, QString>>& keys) const
{
    QList<std::optional<QString>> out;
    out.reserve(keys.size());
    const CachedFile* c = cachedFile(path_, keys.size() > 4);
    for (const auto& [section, key] : keys)
        out.append(c ? c->find(section, key) : std::nullopt);
    return out;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    return readValue(section, key).value_or(def);
}

std::optional<int> IniFile::parseInt(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || t.startsWith(u'$')) {
        const QString digits = t.mid(t.startsWith(u'$') ? 1 : 2);
        if (digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-'))
            return std::nullopt;
        const qulonglong v = digits.toULongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFull)
            return std::nullopt;
        return int(quint32(v));
    }
    const int v = t.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

int IniFile::readInt(const QString& section, const QString& key, int def) const
{
    const auto v = readValue(section, key);
    if (!v)
        return def;
    return parseInt(*v).value_or(def);
}

QStringList IniFile::sectionNames() const
{
    const CachedFile* c = cachedFile(path_);
    return c ? c->doc.sectionNames() : QStringList();
}

void IniFile::writeValue(const QString& section, const QString& key, const QString& value)
{
    writeValues(section, {{key, value}});
}

void IniFile::writeInt(const QString& section, const QString& key, int value)
{
    writeValue(section, key, QString::number(value));
}

IniReadBurst::IniReadBurst()
{
    ++g_burstDepth;
}

IniReadBurst::~IniReadBurst()
{
    if (--g_burstDepth == 0)
        g_readInBurst.clear();
}

namespace {

QString writeFailure(const QString& path)
{
    return QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(path));
}

// Writes the documents a batch kept; the first failure is thrown once all
// have been tried.
void writeUnwritten()
{
    const QSet<QString> paths = std::exchange(g_unwritten, {});
    const QHash<QString, BatchWrites> writes = std::exchange(g_batchWrites, {});
    std::optional<AppError> first;
    for (const QString& path : paths) {
        QByteArray bytes = cache().constFind(path)->bytes;
        const BatchWrites& batch = writes[path];
        const OutsideBytes outside = ReadIfChangedSince(path, batch.base);
        if (outside.changed && outside.exists) {
            // Changed outside since the batch began: its values go over the
            // file as it is now, so keys the program did not set keep theirs.
            IniDocument now = IniDocument::parse(outside.bytes);
            for (const auto& [section, key, value] : batch.values)
                now.setValue(section, key, value);
            bytes = now.bytes();
            cache().remove(path);
            if (bytes == outside.bytes)
                continue; // nothing of the program's is missing there
        }
        g_readInBurst.remove(path);
        try {
            WriteFileAtomic(path, bytes);
        } catch (const AppError&) {
            cache().remove(path); // the next read sees the file as it is
            if (!first)
                first = AppError(writeFailure(path));
        }
    }
    if (first)
        throw *first;
}

} // namespace

IniWriteBatch::IniWriteBatch()
{
    ++g_batchDepth;
}

IniWriteBatch::~IniWriteBatch()
{
    if (--g_batchDepth == 0 && !g_unwritten.isEmpty()) {
        try {
            writeUnwritten();
        } catch (const AppError&) {
            // Only reached without commit(), while another error is on its way.
        }
    }
}

void IniWriteBatch::commit()
{
    writeUnwritten();
}

void IniFile::writeValues(const QString& section, const QList<QPair<QString, QString>>& values)
{
    const QString failed = writeFailure(path_);
    g_readInBurst.remove(path_); // a write starts from the file as it is now
    IniDocument doc;
    try {
        doc = load(path_);
    } catch (const AppError&) {
        throw AppError(failed);
    }
    for (const auto& [key, value] : values)
        doc.setValue(section, key, value);
    if (g_batchDepth > 0) { // kept, and written once at the batch's end
        BatchWrites& batch = g_batchWrites[path_];
        if (!g_unwritten.contains(path_)) {
            const auto c = cache().constFind(path_);
            batch.base = c != cache().constEnd() && QFileInfo(path_).isFile()
                             ? FileStamp::of(path_, c->bytes)
                             : FileStamp::read(path_);
        }
        for (const auto& [key, value] : values)
            batch.values.append({section, key, value});
        CachedFile kept;
        kept.bytes = doc.bytes();
        kept.doc = std::move(doc);
        cache().insert(path_, std::move(kept));
        g_unwritten.insert(path_);
        return;
    }
    g_readInBurst.remove(path_); // the next read sees what is written now
    try {
        WriteFileAtomic(path_, doc.bytes());
    } catch (const AppError&) {
        throw AppError(failed);
    }
}

} // namespace vn
