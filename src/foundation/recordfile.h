#pragma once
// A record file (schedules, holidays, balloon hints) read for a list that
// rewrites it. Lines the list does not take as records (comments, lines it
// cannot read) are kept with their bytes and written back unchanged, each in
// its place among the records, so a rewrite loses nothing.
//
// Placing: a kept line goes back at its old line number when records enough
// come before it; when records were removed it moves up with them, and
// records added at the end come after it.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vn {

class RecordFile {
public:
    // A missing file gives no lines. Throws AppError when the file exists
    // but cannot be read.
    static RecordFile Read(const QString& path);

    const QString& path() const { return path_; }
    const QStringList& lines() const { return lines_; }
    // Keeps line i (0-based) for the rewrite.
    void keep(qsizetype i);
    QStringList keptLines() const;

    // The kept lines in their places among the records' lines.
    QStringList merged(const QStringList& recordLines) const;
    // The bytes of the rewrite: Shift-JIS when it holds every line (kept
    // lines as they were read), otherwise UTF-8 with a byte-order mark.
    QByteArray compose(const QStringList& recordLines) const;
    // Writes the rewrite to path (replacing the file), unless the file
    // already holds exactly these bytes.
    void write(const QString& path, const QStringList& recordLines) const;

private:
    QString path_;
    QStringList lines_;
    QList<QByteArray> raw_; // the bytes of each line, without its break
    bool utf8_ = false;     // the file was read as UTF-8
    QList<qsizetype> kept_; // ascending
};

} // namespace vn
