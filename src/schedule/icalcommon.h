#pragma once
// What the iCalendar writer and reader share: ownership of libical objects,
// the local time zone, and the property that carries a schedule line.
#include "foundation/datetime.h"
#include "icalsummary.h"

#include <libical/ical.h>

#include <QByteArray>
#include <QString>
#include <QTimeZone>

#include <functional>
#include <memory>

namespace vn::ical {

// A property of our own on every event: the schedule line it was written
// from, so that reading the file back restores the line exactly.
inline constexpr const char* kLineProperty = "X-VELNOTE-LINE";

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

// Parses UTF-8 calendar text in time linear in its size (libical's own
// string reader searches the rest of the text for each 80-byte piece). Text
// after a NUL is not read; content lines past kMaxContentLineBytes are cut
// at a character, and *cutLines counts them. Null when nothing was read.
ComponentPtr ParseCalendarText(QByteArray utf8, int* cutLines);

// Takes a string that libical allocated for the caller.
QString TakeString(char* text);

// libical reports errors through return values only, never by aborting.
void PrepareLibical();

// The time zone schedules are written in and converted to. Schedule lines
// hold wall-clock times of the user's zone.
struct LocalZone {
    QByteArray id;                // "Asia/Tokyo"; empty for floating times
    icaltimezone* zone = nullptr; // libical's data of the zone; null: floating
    QTimeZone qzone;              // the same zone for Qt's conversions
    bool isUtc = false;

    // An empty id names the system's zone. A zone libical does not know
    // gives floating times (local wall-clock times without a zone).
    static LocalZone Resolve(const QByteArray& id);
    bool floating() const { return zone == nullptr; }
};

// A wall-clock time as libical holds it (no zone attached).
icaltimetype WallTime(int year, int month, int day, int hour, int minute, int second = 0);
icaltimetype DateValue(int year, int month, int day);

// Seconds since the epoch of a libical time that carries its zone (or UTC);
// floating times are taken in the local zone.
qint64 EpochSeconds(icaltimetype t, const LocalZone& local);

} // namespace vn::ical

namespace vn {
struct ScheduleFields;
}

namespace vn::ical {

// The RRULE a line is written with; false when it has none (no repetition,
// a single occurrence, a month-end kind or a kind the editor never writes).
bool RuleForLine(const ScheduleFields& f, const std::function<bool(DateTime)>& isHoliday,
                 const LocalZone& zone, icalrecurrencetype* rule);
// A TEXT value as RFC 5545 writes it: backslash, comma, semicolon and line
// breaks escaped.
QString EscapeText(const QString& text);
// A content line folded to lines of at most 75 bytes, never inside a UTF-8
// character; no line break at the end.
QByteArray FoldContentLine(const QByteArray& line);
// The repetition as the schedule list names it ("毎週", "3日間隔"); empty for
// a line that does not repeat.
QString RepetitionName(const ScheduleFields& f);

} // namespace vn::ical
