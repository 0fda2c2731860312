#pragma once
// A record file (schedules, holidays, balloon hints) read for a list that
// rewrites it. Lines the list does not take as records (comments, lines it
// cannot read) are kept with their bytes and written back unchanged, each in
// its place among the records, so a rewrite loses nothing.
//
// A line holding NUL or bytes the file's encoding cannot decode is unreadable
// from the read on: it is kept byte for byte whatever else changes. A file
// that is UTF-16 (with its byte-order mark) is rewritten as UTF-16.
//
// Placing: a kept line goes back at its old line number when records enough
// come before it; when records were removed it moves up with them, and
// records added at the end come after it.
//
// A write whose records are those read (in any order) leaves the file alone,
// whatever its line breaks or odd bytes.
//
// When another program changed the file since it was read, a rewrite merges
// by line: lines added or changed outside are kept in their places, lines
// deleted outside stay deleted unless they were changed here, and lines
// deleted here go unless they were changed outside. The user is told once
// (a Merged report).
#include "filestamp.h"
#include "textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vn {

class RecordFile {
public:
    // A missing file gives no lines. Throws AppError when something is there
    // that cannot be read (a FIFO, a folder, no permission).
    static RecordFile Read(const QString& path);

    const QString& path() const { return path_; }
    // What the file held when it was read.
    const FileStamp& stamp() const { return stamp_; }
    const QStringList& lines() const { return read_.lines; }
    // Line i holds NUL or undecodable bytes: it is kept already, and a list
    // reports it as unreadable.
    bool unreadable(qsizetype i) const;
    // Keeps line i (0-based) for the rewrite.
    void keep(qsizetype i);
    QStringList keptLines() const;

    // The line a record line as read becomes once read into a row and
    // composed again; a write of those lines is no change. Without it a line
    // stands for itself.
    void setRecompose(std::function<QString(const QString&)> recompose);
    // Whether the records differ from those read, order aside. A file that
    // was missing at the read always changes.
    bool changes(const QStringList& recordLines) const;

    // The kept lines in their places among the records' lines.
    QStringList merged(const QStringList& recordLines) const;
    // The bytes of the rewrite: UTF-16 for a UTF-16 file; otherwise
    // Shift-JIS when it holds every line (kept lines as they were read),
    // else UTF-8 with a byte-order mark.
    QByteArray compose(const QStringList& recordLines) const;

    // Answers whether to rewrite the file a symbolic link leads to outside
    // the data folder (given that file).
    using ConfirmLink = std::function<bool(const QString& target)>;
    // Writes the rewrite to path (replacing the file) when the records
    // changed and the file does not already hold exactly these bytes,
    // merged with what another program wrote there since the read. A
    // rewrite through a link out of the data folder happens only when
    // confirm says yes; "no" leaves the file, and without confirm it is
    // refused with an AppError.
    void write(const QString& path, const QStringList& recordLines,
               const ConfirmLink& confirm = {}) const;

    // The records to write over `now` (the file as another program left it)
    // so that both sides' changes survive; marks the lines of `now` that
    // stay as they are (comments, lines added or changed outside).
    QStringList mergeOver(RecordFile& now, const QStringList& recordLines) const;

private:
    static RecordFile fromBytes(const QString& path, QByteArray bytes);
    QStringList readRecords() const; // the records as read, recomposed

    QString path_;
    FileStamp stamp_;
    mutable FileStamp written_; // what the last write put there
    QByteArray bytes_;          // the file as read
    FileLines read_;
    bool existed_ = false;
    QList<qsizetype> kept_; // ascending
    std::function<QString(const QString&)> recompose_;
};

} // namespace vn
