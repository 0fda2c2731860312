#pragma once
// The local side of a sync: Schedule.dat and the diary files as they are
// now, and the writes a sync makes to them. A write first reads the file
// again and is left out when it changed since it was read (someone else
// wrote it): the next sync tries again. Comment lines and lines that cannot
// be read stay in Schedule.dat byte for byte; a diary file that cannot be
// shown as it is (held) is never written.
#include "foundation/filestamp.h"
#include "foundation/textcodec.h"
#include "schedule/schedulelistfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace vn::sync {

class LocalSchedules {
public:
    explicit LocalSchedules(QString path) : path_(std::move(path)) {}
    // Throws AppError when the file is there but cannot be read.
    void read();
    // One line per readable schedule, as composed again.
    const QStringList& lines() const { return lines_; }
    // Takes out one line for each of `removed`, appends `added` and writes the
    // file (atomically, and only when that changes it). False, and nothing
    // written, when the file changed since it was read.
    bool apply(const QStringList& removed, const QStringList& added);

private:
    std::optional<QByteArray> now() const; // nullopt: no file
    QString path_;
    std::optional<QByteArray> bytes_;
    FileStamp stamp_; // of what was read: a write checks the file against it
    ScheduleRows rows_;
    QStringList lines_;
};

class LocalDiary {
public:
    struct Day {
        QStringList lines;
        QByteArray bytes;
        TextForm form = TextForm::Sjis;
        bool held = false; // not to be written: cannot be shown as it is
        FileStamp stamp;   // of what was read or written
    };

    explicit LocalDiary(QString folder) : folder_(std::move(folder)) {}
    // The files folder/yyyymm/yyyymmdd.txt; throws AppError for a folder
    // that cannot be read.
    void read();
    const std::map<QString, Day>& days() const { return days_; }
    // Whether a day may be written: not held, and not before 2000.
    bool writable(const QString& day) const;
    // Writes the day's lines (none: removes the file). False, and nothing
    // written, when the file changed since it was read or may not be written.
    bool write(const QString& day, const QStringList& lines);

private:
    QString pathOf(const QString& day) const;
    QString folder_;
    std::map<QString, Day> days_;
};

} // namespace vn::sync
