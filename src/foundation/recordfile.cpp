#include "recordfile.h"

#include "textcodec.h"
#include "textfile.h"

#include <QFile>

#include <algorithm>

namespace vn {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// Splits at CR LF, CR and LF, as the text reader does; a break at the very
// end adds no empty line.
QList<QByteArray> splitRaw(const QByteArray& bytes)
{
    QList<QByteArray> out;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out.append(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        out.append(bytes.mid(start));
    return out;
}

struct Slot {
    const QString* text;
    qsizetype kept; // line index of a kept line, -1 for a record
};

} // namespace

RecordFile RecordFile::Read(const QString& path)
{
    RecordFile f;
    f.path_ = path;
    if (!FileExists(path))
        return f;
    QByteArray bytes = ReadFileBytes(path);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul); // as the text reader: a NUL ends the text
    // The rule of the files the program writes: UTF-8 with the mark, or when
    // Shift-JIS cannot decode the bytes and UTF-8 can; Shift-JIS otherwise.
    const bool mark = bytes.startsWith(kBom);
    if (mark)
        bytes.remove(0, kBom.size());
    f.raw_ = splitRaw(bytes);
    f.lines_.reserve(f.raw_.size());
    bool exact = true;
    for (const QByteArray& line : f.raw_) {
        bool lineExact = true;
        f.lines_.append(mark ? QString() : FromSjis(line, &lineExact));
        exact = exact && lineExact;
    }
    f.utf8_ = mark || (!exact && IsUtf8(bytes));
    if (f.utf8_)
        for (qsizetype i = 0; i < f.raw_.size(); ++i)
            f.lines_[i] = FromUtf8(f.raw_[i].constData(), f.raw_[i].size());
    return f;
}

void RecordFile::keep(qsizetype i)
{
    if (i < 0 || i >= lines_.size())
        return;
    const auto at = std::lower_bound(kept_.begin(), kept_.end(), i);
    if (at == kept_.end() || *at != i)
        kept_.insert(at, i);
}

QStringList RecordFile::keptLines() const
{
    QStringList out;
    for (qsizetype i : kept_)
        out.append(lines_[i]);
    return out;
}

namespace {

QList<Slot> place(const QList<qsizetype>& kept, const QStringList& lines,
                  const QStringList& records)
{
    QList<Slot> out;
    out.reserve(kept.size() + records.size());
    qsizetype r = 0, k = 0;
    while (r < records.size() || k < kept.size()) {
        if (k < kept.size() && (kept[k] <= out.size() || r == records.size())) {
            out.append({&lines[kept[k]], kept[k]});
            ++k;
        } else {
            out.append({&records[r], -1});
            ++r;
        }
    }
    return out;
}

} // namespace

QStringList RecordFile::merged(const QStringList& recordLines) const
{
    QStringList out;
    for (const Slot& s : place(kept_, lines_, recordLines))
        out.append(*s.text);
    return out;
}

QByteArray RecordFile::compose(const QStringList& recordLines) const
{
    const QList<Slot> placed = place(kept_, lines_, recordLines);
    // Shift-JIS when every line has a Shift-JIS form; kept lines of a
    // Shift-JIS file are their own bytes whatever they hold.
    bool sjis = true;
    for (const Slot& s : placed) {
        if (s.kept >= 0 && !utf8_)
            continue;
        bool ok = true;
        ToSjis(*s.text, &ok);
        if (!ok) {
            sjis = false;
            break;
        }
    }
    auto build = [&](bool asSjis) {
        QByteArray out;
        if (!asSjis)
            out = kBom;
        for (const Slot& s : placed) {
            if (s.kept >= 0 && utf8_ != asSjis)
                out += raw_[s.kept];
            else
                out += asSjis ? ToSjis(*s.text) : s.text->toUtf8();
            out += "\r\n";
        }
        return out;
    };
    QByteArray out = build(sjis);
    // Kept bytes that Shift-JIS cannot decode could make the whole file valid
    // UTF-8 once the records around them are rewritten: it would then read
    // as UTF-8. Such a file is written as UTF-8 with a mark instead, so that
    // it reads as it was read.
    if (sjis && !kept_.isEmpty() && !utf8_) {
        bool exact = true;
        FromSjis(out, &exact);
        if (!exact && IsUtf8(out))
            out = build(false);
    }
    return out;
}

void RecordFile::write(const QString& path, const QStringList& recordLines) const
{
    const QByteArray bytes = compose(recordLines);
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.size() == bytes.size() && old.readAll() == bytes)
        return;
    old.close();
    WriteFileAtomic(path, bytes);
}

} // namespace vn
