#pragma once
// Daily balloon hints and BalloonHint.dat.
//
// A line is read by character positions: 1 the shown mark ("1"), 3-4 the
// hour, 5-6 the minute, 8 onward the message (at most 256 Shift-JIS bytes).
// Written as "1," or "0," + hhnn + "," + message. Comment lines ("/") and
// unreadable lines are kept with their bytes and written back in their places
// among the rows.
//
// The store is the program's one set of balloon hints: the minute check asks
// it, the list window edits it, and edits count at once.
#include "loadreport.h"

#include "foundation/datetime.h"
#include "foundation/recordfile.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace vn {

constexpr int kBalloonMessageBytes = 256;

// One row of the balloon-hint list.
struct BalloonHintRow {
    bool shown = true; // "表示"
    QString timeText;  // "時間": today at hour:minute in the time pattern; the title
    QString message;   // "メッセージ"
    int hour = 0;      // "nHH"
    int minute = 0;    // "nNN"
    QString key;       // "hh:nn", the sort and lookup key
};

struct BalloonHintHit {
    bool shown = false;
    QString title;
    QString message;
};

enum class RowColour { Black, Past };

// One line, or nothing for a line that cannot be read (the caller tells
// comments apart by their leading "/").
std::optional<BalloonHintRow> ReadBalloonHintLine(const QString& line, const QString& timePattern,
                                                  DateTime today);
QString ComposeBalloonHintLine(const BalloonHintRow& row);
// Fills the row's time text and key from its hour and minute.
void SetBalloonHintTime(BalloonHintRow& row, int hour, int minute, const QString& timePattern,
                        DateTime today);
// The time pattern setting, "hh:nn" when empty.
QString BalloonHintTimePattern();

// Black while the row is shown and its time today has not passed; the
// past-schedule colour otherwise. nowTimeOfDayMs: milliseconds since midnight.
RowColour BalloonHintRowColour(const BalloonHintRow& row, qint64 nowTimeOfDayMs);

class BalloonHintStore {
public:
    // Empties the rows and reads BalloonHintPath when it exists, then sorts
    // by time. The pattern and day default to the setting and today.
    LoadReport LoadBalloonHints();
    LoadReport LoadBalloonHints(const QString& path, const QString& timePattern, DateTime today);
    // One line per row in the rows' order, with the kept lines in their
    // places; the file is replaced as RecordFile::write does (not when the
    // rows are those read; through a link out of the data folder only when
    // confirm says yes).
    void SaveBalloonHints(const RecordFile::ConfirmLink& confirm = {}) const;
    void SaveBalloonHints(const QString& path, const RecordFile::ConfirmLink& confirm = {}) const;

    // The file changed outside since it was read and no row was changed
    // here: the rows are read again (a row changed here is merged into the
    // file at the next save instead). True when they were.
    bool takeInOutsideChange();
    bool takeInOutsideChange(const QString& timePattern, DateTime today);

    // Only the first row with the time counts.
    BalloonHintHit BalloonHintAt(const QString& hhnn) const;

    void sortByTime(bool ascending);

    std::vector<BalloonHintRow>& rows() { return rows_; }
    const std::vector<BalloonHintRow>& rows() const { return rows_; }
    QStringList keptLines() const { return file_.keptLines(); }
    // The lines a save writes: the rows with the kept lines in their places.
    QStringList savedLines() const;

private:
    std::vector<BalloonHintRow> rows_;
    RecordFile file_;
    bool readFailed_ = false;
};

} // namespace vn
