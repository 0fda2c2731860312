// The iCalendar module: libical and the schedule conversions behind the one
// entry point the program resolves at the first export or import.
#include "icalendar.h"
#include "icalservice.h"

namespace {

class LibicalService final : public vn::IcalService {
public:
    QByteArray schedulesToIcal(const std::vector<vn::ScheduleFields>& rows,
                               const vn::HolidayTest& isHoliday) override
    {
        return vn::SchedulesToIcal(rows, isHoliday);
    }
    vn::IcalExportSummary exportFile(const QString& schedulePath, const QString& icsPath,
                                     const vn::HolidayTest& isHoliday) override
    {
        return vn::ExportIcalFile(schedulePath, icsPath, isHoliday);
    }
    vn::IcalConversion toScheduleLines(const QByteArray& ics, const QStringList& existingLines,
                                       const vn::HolidayTest& isHoliday) override
    {
        return vn::IcalToScheduleLines(ics, existingLines, isHoliday);
    }
    vn::IcalImportSummary importFile(const QString& icsPath, const QString& schedulePath,
                                     const vn::HolidayTest& isHoliday) override
    {
        return vn::ImportIcalFile(icsPath, schedulePath, isHoliday);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT vn::IcalService* vnCreateIcalService(const vn::ModuleHost& host)
{
    vn::AdoptHost(host);
    return new LibicalService;
}
