#pragma once
// What a schedule line and a diary day are on the server, and back.
//
// Each schedule line is one VEVENT, written as the iCalendar export writes
// it (X-VELNOTE-LINE carries the line). An event from elsewhere gives the
// lines the iCalendar import gives it: one repeating line where one kind
// yields the same days, else single schedules. Each diary day is one
// VJOURNAL: DTSTART;VALUE=DATE is the day, DESCRIPTION the text.
#include "syncstate.h"

#include "schedule/icalendar.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vn::sync {

// The UID a new schedule line gets: made from the line, so that the same
// line on two PCs, or a write that is retried, names the same event. `n`
// counts lines alike (the second is "...-2").
QString UidForLine(const QString& line, int n = 1);
// The UID of a diary day's journal, the same on every PC.
QString UidForDay(const QString& day);

// The calendar object of one schedule line.
QByteArray EventForLine(const QString& line, const QString& uid, const HolidayTest& isHoliday,
                        const IcalOptions& options);
// The calendar object of one diary day ("yyyymmdd"; lines without breaks).
QByteArray JournalForDay(const QString& day, const QStringList& lines, const QString& uid,
                         DateTime now);

// What a resource on the server is here.
struct RemoteContent {
    SyncedItem::Type type = SyncedItem::Type::Other;
    QString uid;
    QString day;       // journals
    QStringList lines; // events: schedule lines; journals: the text's lines
};
// Anything that is no calendar data, or neither an event nor a dated
// journal, is Other.
RemoteContent ReadRemote(const QByteArray& data, const HolidayTest& isHoliday,
                         const IcalOptions& options);

} // namespace vn::sync
