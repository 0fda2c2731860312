#include "inifile.h"

#include "apperror.h"
#include "textcodec.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace vn {

namespace {

constexpr int kMaxValueBytes = 2047;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// The section name of a "[name]" line, or nothing.
std::optional<QStringView> sectionOf(QStringView line)
{
    QStringView t = trimBlanks(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    qsizetype close = t.indexOf(u']');
    if (close < 0)
        close = t.size();
    return trimBlanks(t.mid(1, close - 1));
}

// Key and raw value of a "key=value" line.
bool splitKeyLine(QStringView line, QStringView* key, QStringView* value)
{
    QStringView t = trimBlanks(line);
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'['))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = trimBlanks(t.left(eq));
    *value = t.mid(eq + 1);
    return true;
}

QString unquote(QStringView raw)
{
    QStringView v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.toString();
}

QString quoteIfNeeded(const QString& value)
{
    if (value.isEmpty())
        return value;
    const bool edges = isBlank(value.front()) || isBlank(value.back());
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    return (edges || quoted) ? u'"' + value + u'"' : value;
}

bool sameName(QStringView a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Files read, kept while their bytes stay the same: every read reads the
// file and compares it with the bytes seen last time, so a change by anyone
// (another window, another program) is seen at once. A file read for the
// first time is scanned line by line; when the same bytes are read many
// times (start-up reads many values of one settings file), an index is built.
struct CachedFile {
    QByteArray bytes;
    QStringList lines;
    bool indexed = false;
    int reads = 0;
    // lower-case section -> lower-case key -> value (first occurrence wins)
    QHash<QString, QHash<QString, QString>> values;

    void buildIndex()
    {
        QHash<QString, QString>* current = nullptr;
        for (const QString& line : lines) {
            if (auto s = sectionOf(line)) {
                current = &values[s->toString().toLower()];
                continue;
            }
            QStringView k, v;
            if (current && splitKeyLine(line, &k, &v)) {
                const QString key = k.toString().toLower();
                if (!current->contains(key))
                    current->insert(key, SjisLeft(unquote(v), kMaxValueBytes));
            }
        }
        indexed = true;
    }

    std::optional<QString> find(const QString& section, const QString& key) const
    {
        if (indexed) {
            const auto sec = values.constFind(section.toLower());
            if (sec == values.constEnd())
                return std::nullopt;
            const auto val = sec->constFind(key.toLower());
            if (val == sec->constEnd())
                return std::nullopt;
            return *val;
        }
        bool inSection = false;
        for (const QString& line : lines) {
            if (auto s = sectionOf(line)) {
                inSection = sameName(*s, section);
                continue;
            }
            QStringView k, v;
            if (inSection && splitKeyLine(line, &k, &v) && sameName(k, key))
                return SjisLeft(unquote(v), kMaxValueBytes);
        }
        return std::nullopt;
    }
};

QHash<QString, CachedFile>& cache()
{
    static QHash<QString, CachedFile> c;
    return c;
}

int g_burstDepth = 0;
QSet<QString> g_readInBurst;

const CachedFile* cachedFile(const QString& path, bool manyReads = false)
{
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
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        cache().remove(path);
        return nullptr;
    }
    QByteArray bytes = f.readAll();
    auto it = cache().find(path);
    if (it != cache().end() && it->bytes == bytes) {
        if (!it->indexed && (manyReads || ++it->reads >= 8))
            it->buildIndex();
        return &*it;
    }
    CachedFile c;
    QByteArray text = bytes;
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    c.lines = SplitLines(DecodeText(text));
    c.bytes = std::move(bytes);
    if (manyReads)
        c.buildIndex();
    if (cache().size() > 16)
        cache().clear();
    return &*cache().insert(path, std::move(c));
}

} // namespace

QStringList IniFile::load() const
{
    if (!QFileInfo(path_).isFile())
        return {};
    const CachedFile* c = cachedFile(path_);
    if (!c) // exists but cannot be read: say so
        return ReadLines(path_);
    return c->lines;
}

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
    QStringList names;
    for (const QString& line : load())
        if (auto s = sectionOf(line))
            names.append(s->toString());
    return names;
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

void IniFile::writeValues(const QString& section, const QList<QPair<QString, QString>>& values)
{
    g_readInBurst.remove(path_); // a write starts from the file as it is now
    QStringList lines;
    try {
        lines = load();
    } catch (const AppError&) {
        throw AppError(QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(path_)));
    }
    for (const auto& [key, value] : values) {
        const QString stored = quoteIfNeeded(value);
        qsizetype header = -1, lastInSection = -1, found = -1;
        bool inSection = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (auto s = sectionOf(lines[i])) {
                if (inSection)
                    break; // left our section
                inSection = sameName(*s, section);
                if (inSection)
                    header = lastInSection = i;
                continue;
            }
            if (!inSection)
                continue;
            if (!trimBlanks(lines[i]).isEmpty())
                lastInSection = i;
            QStringView k, v;
            if (splitKeyLine(lines[i], &k, &v) && sameName(k, key)) {
                found = i;
                break;
            }
        }
        if (found >= 0) {
            QStringView k, v;
            splitKeyLine(lines[found], &k, &v);
            lines[found] = k.toString() + u'=' + stored;
        } else if (header >= 0) {
            lines.insert(lastInSection + 1, key + u'=' + stored);
        } else {
            while (!lines.isEmpty() && trimBlanks(lines.last()).isEmpty())
                lines.removeLast();
            if (!lines.isEmpty())
                lines.append(QString());
            lines.append(u'[' + section + u']');
            lines.append(key + u'=' + stored);
        }
    }
    g_readInBurst.remove(path_); // the next read sees what is written now
    try {
        WriteLines(path_, lines);
    } catch (const AppError&) {
        throw AppError(QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(path_)));
    }
}

} // namespace vn
