#pragma once
// Schedules in and out as iCalendar (RFC 5545) files, through libical.
//
// Writing: every schedule line becomes one VEVENT. The start is a local time
// with the user's time zone (all-day schedules a DATE), the text the SUMMARY,
// the web address the URL, the alarm a VALARM, and the repetition an RRULE.
// Month ends that step off holidays and weekends have no RRULE form: their
// days are listed as RDATEs, computed with the holiday table of the moment.
// A COMMENT names the repetition, and the property X-VELNOTE-LINE carries the
// line itself, so reading the file back gives the same line.
//
// Reading: an event that still agrees with its X-VELNOTE-LINE gives that
// line back. Any other event is taken by what it yields: its occurrences are
// worked out (RRULE, RDATE, EXDATE and changed instances), and when one
// repetition kind yields exactly the same days at the same time it becomes
// one repeating line; otherwise each occurrence becomes a single schedule,
// up to a limit per event. Existing lines are never changed or removed, and
// Schedule.dat is written once.
#include "icalsummary.h"
#include "repetition.h"
#include "scheduleline.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vn {

struct IcalOptions {
    QByteArray timeZone; // IANA name of the local zone; empty: the system's
    DateTime now = 0;    // the moment stamped on written events; 0: the clock
    QByteArray uid;      // the UID of every written event; empty: one made from its line
};

// The calendar for the given schedules.
QByteArray SchedulesToIcal(const std::vector<ScheduleFields>& rows, const HolidayTest& isHoliday,
                           const IcalOptions& options = {});
// Reads Schedule.dat and writes the calendar file (replacing it whole), only
// to a regular file or a new name outside the data folder (CheckExportTarget).
IcalExportSummary ExportIcalFile(const QString& schedulePath, const QString& icsPath,
                                 const HolidayTest& isHoliday, const IcalOptions& options = {});

// Throws AppError when the bytes are no iCalendar data.
IcalConversion IcalToScheduleLines(const QByteArray& ics, const QStringList& existingLines,
                                   const HolidayTest& isHoliday, const IcalOptions& options = {});
// Reads the calendar file and appends its schedules to Schedule.dat, which is
// written once, atomically, and only when something was added.
IcalImportSummary ImportIcalFile(const QString& icsPath, const QString& schedulePath,
                                 const HolidayTest& isHoliday, const IcalOptions& options = {});

} // namespace vn
