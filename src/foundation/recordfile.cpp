#include "recordfile.h"

#include "apperror.h"
#include "outsidechange.h"
#include "paths.h"
#include "textcodec.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <optional>

namespace vn {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

struct Slot {
    const QString* text;
    qsizetype kept; // line index of a kept line, -1 for a record
};

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

RecordFile RecordFile::Read(const QString& path)
{
    if (FileKindOf(path) == FileKind::Missing) {
        RecordFile f;
        f.path_ = path;
        f.stamp_ = FileStamp::missing();
        return f;
    }
    RecordFile f = fromBytes(path, ReadFileBytes(path));
    f.stamp_ = FileStamp::of(path, f.bytes_);
    return f;
}

RecordFile RecordFile::fromBytes(const QString& path, QByteArray bytes)
{
    RecordFile f;
    f.path_ = path;
    f.bytes_ = std::move(bytes);
    f.existed_ = true;
    f.read_ = DecodeFileLines(f.bytes_);
    f.kept_ = f.read_.unreadable;
    return f;
}

QStringList RecordFile::readRecords() const
{
    QStringList out;
    qsizetype k = 0;
    for (qsizetype i = 0; i < read_.lines.size(); ++i) {
        if (k < kept_.size() && kept_[k] == i)
            ++k;
        else
            out.append(recompose_ ? recompose_(read_.lines[i]) : read_.lines[i]);
    }
    return out;
}

QStringList RecordFile::mergeOver(RecordFile& now, const QStringList& recordLines) const
{
    // Multisets of lines: the records as read (base), as written here
    // (ours), and the lines kept as read (comments and the like).
    QHash<QString, int> base, ours, keptHere;
    for (const QString& l : readRecords())
        ++base[l];
    for (const QString& l : recordLines)
        ++ours[l];
    for (const QString& l : keptLines())
        ++keptHere[l];
    QHash<QString, int> onDisk; // records of ours that the file holds now
    for (qsizetype i = 0; i < now.read_.lines.size(); ++i) {
        if (now.unreadable(i))
            continue; // kept already
        const QString& raw = now.read_.lines[i];
        const QString line = recompose_ ? recompose_(raw) : raw;
        if (ours.value(line) > 0) { // a record both sides have
            --ours[line];
            if (base.value(line) > 0)
                --base[line];
            ++onDisk[line];
        } else if (base.value(line) > 0) { // deleted here, untouched outside
            --base[line];
        } else if (keptHere.value(raw) > 0) { // a comment as it was
            --keptHere[raw];
            now.keep(i);
        } else { // added or changed outside
            now.keep(i);
        }
    }
    // A record of ours that the file no longer holds: gone outside when it
    // was read so (deleted there, untouched here), new here otherwise.
    QStringList out;
    for (const QString& l : recordLines) {
        if (onDisk.value(l) > 0) {
            --onDisk[l];
            out.append(l);
        } else if (base.value(l) > 0) {
            --base[l];
        } else {
            out.append(l);
        }
    }
    return out;
}

bool RecordFile::unreadable(qsizetype i) const
{
    return read_.isUnreadable(i);
}

void RecordFile::keep(qsizetype i)
{
    if (i < 0 || i >= read_.lines.size())
        return;
    const auto at = std::lower_bound(kept_.begin(), kept_.end(), i);
    if (at == kept_.end() || *at != i)
        kept_.insert(at, i);
}

QStringList RecordFile::keptLines() const
{
    QStringList out;
    for (qsizetype i : kept_)
        out.append(read_.lines[i]);
    return out;
}

void RecordFile::setRecompose(std::function<QString(const QString&)> recompose)
{
    recompose_ = std::move(recompose);
}

bool RecordFile::changes(const QStringList& recordLines) const
{
    if (!existed_)
        return true;
    if (read_.lines.size() - kept_.size() != recordLines.size())
        return true;
    QStringList before;
    before.reserve(recordLines.size());
    qsizetype k = 0;
    for (qsizetype i = 0; i < read_.lines.size(); ++i) {
        if (k < kept_.size() && kept_[k] == i)
            ++k;
        else
            before.append(recompose_ ? recompose_(read_.lines[i]) : read_.lines[i]);
    }
    if (before == recordLines)
        return false;
    QStringList after = recordLines;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    return before != after;
}

QStringList RecordFile::merged(const QStringList& recordLines) const
{
    QStringList out;
    for (const Slot& s : place(kept_, read_.lines, recordLines))
        out.append(*s.text);
    return out;
}

QByteArray RecordFile::compose(const QStringList& recordLines) const
{
    const QList<Slot> placed = place(kept_, read_.lines, recordLines);
    auto rawOf = [&](qsizetype line) {
        const FileLines::Span& s = read_.spans[line];
        return QByteArrayView(bytes_).sliced(s.from, s.to - s.from);
    };

    if (read_.form == TextForm::Utf16LE || read_.form == TextForm::Utf16BE) {
        const bool le = read_.form == TextForm::Utf16LE;
        const QByteArray lineBreak = ToUtf16(u"\r\n", le);
        QByteArray out = le ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (const Slot& s : placed) {
            if (s.kept >= 0)
                out += rawOf(s.kept);
            else
                out += ToUtf16(*s.text, le);
            out += lineBreak;
        }
        if (bytes_.size() % 2 != 0)
            out += bytes_.back(); // an odd last byte stays last
        return out;
    }

    const bool utf8 = read_.form == TextForm::Utf8;
    // Unreadable lines are always their own bytes; other kept lines are
    // while the file keeps its form, and their text otherwise.
    auto raw = [&](const Slot& s, bool asSjis) {
        return s.kept >= 0 && (unreadable(s.kept) || utf8 == !asSjis);
    };
    // Shift-JIS when every line written as text has a Shift-JIS form. A
    // UTF-8 file with unreadable lines stays UTF-8: their bytes would read
    // as something else in Shift-JIS. Unreadable bytes that happen to be
    // UTF-8 may make the rewritten file read as UTF-8; they are still the
    // bytes that were there.
    auto build = [&](bool asSjis) -> std::optional<QByteArray> {
        QByteArray out = asSjis ? QByteArray() : kBom;
        for (const Slot& s : placed) {
            if (raw(s, asSjis)) {
                out += rawOf(s.kept);
            } else if (asSjis) {
                bool ok = true;
                out += ToSjis(*s.text, &ok);
                if (!ok)
                    return std::nullopt;
            } else {
                out += s.text->toUtf8();
            }
            out += "\r\n";
        }
        return out;
    };
    if (!(utf8 && !read_.unreadable.isEmpty()))
        if (std::optional<QByteArray> sjis = build(true))
            return *sjis;
    return *build(false);
}

void RecordFile::write(const QString& path, const QStringList& recordLines,
                       const ConfirmLink& confirm) const
{
    if (!changes(recordLines))
        return; // nothing changed here: the file keeps what anyone wrote
    QByteArray bytes;
    bool merged = false;
    const OutsideBytes outside = path == path_ ? ReadIfChangedSince(path, stamp_) : OutsideBytes{};
    if (outside.changed && outside.exists) {
        RecordFile now = fromBytes(path, outside.bytes);
        now.recompose_ = recompose_;
        const QStringList records = mergeOver(now, recordLines);
        bytes = now.compose(records);
        // Once merged, the file differs from the read until the list is read
        // again; only a change since this program's last write is news.
        merged = !written_.holds(outside.bytes);
    } else {
        bytes = compose(recordLines);
    }
    if (FileKindOf(path) == FileKind::Regular) {
        try {
            if (ReadFileBytes(path) == bytes)
                return;
        } catch (const AppError&) {
            // cannot be read: the write says why, or succeeds
        }
    }
    const QString target = LinkTargetOutsideDataFolder(path);
    if (!target.isEmpty()) {
        if (!confirm)
            throw AppError(
                QStringLiteral("ファイル \"%1\" はデータフォルダーの外のファイル \"%2\" "
                               "へのシンボリックリンクのため、書き換えません")
                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(target)));
        if (!confirm(target))
            return;
    }
    WriteFileAtomic(path, bytes);
    written_ = FileStamp::of(path, bytes);
    if (merged)
        ReportOutsideChange({OutsideChange::Kind::Merged, path, QString(), QString()});
}

} // namespace vn
