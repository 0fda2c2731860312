#include "synclocal.h"

#include "calendar/diarystore.h"
#include "foundation/apperror.h"
#include "foundation/heldtext.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vn::sync {

namespace {

bool isDayName(const QString& name, const QString& month)
{
    if (name.size() != 12 || !name.endsWith(QLatin1String(".txt")) || !name.startsWith(month))
        return false;
    const QDate d = QDate::fromString(name.left(8), QStringLiteral("yyyyMMdd"));
    return d.isValid();
}

} // namespace

std::optional<QByteArray> LocalSchedules::now() const
{
    if (FileKindOf(path_) == FileKind::Missing)
        return std::nullopt;
    return ReadFileBytes(path_);
}

void LocalSchedules::read()
{
    // Written while being read: read again (a file that never rests is
    // taken as it was at the last read, and its write left out).
    for (int i = 0; i < 3; ++i) {
        bytes_ = now();
        rows_ = ReadScheduleRows(path_);
        if (now() == bytes_)
            break;
    }
    stamp_ = bytes_ ? FileStamp::of(path_, *bytes_) : FileStamp::missing();
    lines_.clear();
    for (const ScheduleFields& f : rows_.rows)
        lines_.append(ComposeScheduleLine(f));
}

bool LocalSchedules::apply(const QStringList& removed, const QStringList& added)
{
    if (removed.isEmpty() && added.isEmpty())
        return true;
    if (ChangedSince(path_, stamp_))
        return false; // written by someone else since the read
    QStringList lines = lines_;
    for (const QString& line : removed)
        lines.removeOne(line);
    lines += added;
    std::vector<ScheduleFields> rows;
    rows.reserve(size_t(lines.size()));
    for (const QString& line : lines) {
        ScheduleFields f;
        if (ReadScheduleLine(line, &f) == LineRead::Schedule)
            rows.push_back(std::move(f));
    }
    WriteScheduleRows(path_, rows_.file, rows);
    read();
    return true;
}

void LocalDiary::read()
{
    days_.clear();
    const QDir root(folder_);
    if (!root.exists())
        return;
    const QStringList months = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& month : months) {
        if (month.size() != 6 || month.toInt() <= 0)
            continue;
        const QDir dir(root.filePath(month));
        for (const QString& name : dir.entryList(QDir::Files | QDir::System, QDir::Name)) {
            if (!isDayName(name, month))
                continue;
            const QString day = name.left(8);
            const QString path = dir.filePath(name);
            Day d;
            const QFileInfo info(path);
            if (!info.isFile() || info.size() > cal::DiaryStore::kLargestShown) {
                d.held = true;
            } else {
                d.bytes = ReadFileBytes(path);
                d.stamp = FileStamp::of(path, d.bytes);
                const EditFileText t = DecodeEditFile(d.bytes, path);
                d.form = t.form;
                d.held = !t.heldReason.isEmpty();
                d.lines = SplitLines(t.text);
                for (const QString& line : d.lines)
                    d.held = d.held || line.size() > cal::DiaryStore::kLongestLineShown;
            }
            days_[day] = std::move(d);
        }
    }
}

QString LocalDiary::pathOf(const QString& day) const
{
    return folder_ + u'/' + day.left(6) + u'/' + day + QStringLiteral(".txt");
}

bool LocalDiary::writable(const QString& day) const
{
    if (day.left(6).toInt() < cal::DiaryStore::kFirstSavedMonth)
        return false;
    const auto it = days_.find(day);
    return it == days_.end() || !it->second.held;
}

bool LocalDiary::write(const QString& day, const QStringList& lines)
{
    if (!writable(day))
        return false;
    const QString path = pathOf(day);
    const auto it = days_.find(day);
    const FileKind kind = FileKindOf(path);
    if (it == days_.end() ? kind != FileKind::Missing
                          : kind != FileKind::Regular || ChangedSince(path, it->second.stamp))
        return false; // written by someone else since the read
    if (lines.isEmpty()) {
        QFile file(path);
        if (kind == FileKind::Regular && !file.remove())
            throw AppError(QStringLiteral("日記ファイル \"%1\" を削除できません [%2]")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
        days_.erase(day);
        return true;
    }
    const QString month = folder_ + u'/' + day.left(6);
    if (!QDir().mkpath(month))
        throw AppError(QStringLiteral("フォルダ \"%1\" を作成できません")
                           .arg(QDir::toNativeSeparators(month)));
    Day d;
    d.form = it == days_.end() ? TextForm::Sjis : it->second.form;
    d.bytes = EncodeFileText(JoinLinesCrLf(lines), d.form);
    d.lines = lines;
    WriteFileAtomic(path, d.bytes);
    d.stamp = FileStamp::of(path, d.bytes);
    days_[day] = std::move(d);
    return true;
}

} // namespace vn::sync
