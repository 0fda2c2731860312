#include "calendarcore.h"

#include "calendar/rokuyou.h"

namespace vn::cal {

CalendarCore::CalendarCore()
{
    model_.setDiarySwitch([this](DateTime d) { diary_.SelectDiaryDate(d); });
    DiaryDayInfo info;
    info.rokuyou = [this](DateTime d) { return RokuyouText(d); };
    info.holidayName = [this](DateTime d) { return HolidayName(d); };
    info.dayColor = [this](DateTime d) { return DayColor(d); };
    diary_.setDayInfo(std::move(info));
}

quint32 CalendarCore::DayColor(DateTime d) const
{
    if (IsHoliday(d))
        return colors_.holiday;
    switch (DayOfWeek(d)) {
    case 0: return colors_.sunday;
    case 6: return colors_.saturday;
    default: return colors_.weekday;
    }
}

std::function<bool(DateTime)> CalendarCore::HolidayTest() const
{
    const HolidayTable* table = &holidays_;
    return [table](DateTime d) { return table->IsHoliday(d); };
}

bool CalendarCore::SetShowRoku(bool v)
{
    if (showRoku_ == v)
        return false;
    showRoku_ = v;
    return true;
}

QString CalendarCore::RokuyouText(DateTime d) const
{
    return cal::RokuyouText(d, showRoku_, rokuyou_);
}

} // namespace vn::cal
