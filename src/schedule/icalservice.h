#pragma once
// Schedules in and out as iCalendar files, as the program's windows and its
// command line use them (see icalendar.h for what is written and read).
//
// libical does the format in the iCalendar module (velnote-ical, next to the
// program or in its library folder), loaded at the first export or import,
// so that it costs nothing at start-up.
#include "foundation/modulepath.h"
#include "icalsummary.h"
#include "repetition.h"
#include "scheduleline.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vn {

class IcalService {
public:
    virtual ~IcalService() = default;
    // The calendar for the given schedules.
    virtual QByteArray schedulesToIcal(const std::vector<ScheduleFields>& rows,
                                       const HolidayTest& isHoliday) = 0;
    // Reads Schedule.dat and writes the calendar file.
    virtual IcalExportSummary exportFile(const QString& schedulePath, const QString& icsPath,
                                         const HolidayTest& isHoliday) = 0;
    // The new schedule lines of a calendar; throws AppError when the bytes
    // are no iCalendar data.
    virtual IcalConversion toScheduleLines(const QByteArray& ics, const QStringList& existingLines,
                                           const HolidayTest& isHoliday) = 0;
    // Reads the calendar file and appends its schedules to Schedule.dat.
    virtual IcalImportSummary importFile(const QString& icsPath, const QString& schedulePath,
                                         const HolidayTest& isHoliday) = 0;
};

// The module's entry point: a service working in the program's data folder
// with the program's clock.
inline constexpr char kIcalModuleEntry[] = "vnCreateIcalService";
using IcalModuleEntry = IcalService* (*)(const ModuleHost& host);

// Loads the module at modulePath (without suffix) and makes a service; null
// when it cannot be had (the reason in `error`, in Japanese with the
// loader's words in brackets).
std::unique_ptr<IcalService> LoadIcalService(const QString& modulePath, QString* error = nullptr);

// The program's service, loaded at the first call and kept to the end;
// throws AppError when the module cannot be had (and tries again next time).
IcalService& Ical();
// Where Ical() loads the module from at its next use; by default velnote-ical
// found by ModulePath. Tests point it at the module they built.
void SetIcalModulePath(const QString& modulePath);

} // namespace vn
