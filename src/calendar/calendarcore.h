#pragma once
// Everything the calendar control knows apart from painting: the date model,
// the holiday table, rokuyō and the diary, wired together. The control holds
// one CalendarCore and forwards its properties and mouse events to it.
#include "calendar/calendarmodel.h"
#include "calendar/diarystore.h"
#include "calendar/holidaytable.h"

#include <functional>

namespace vn::cal {

// Day text colours (0x00BBGGRR, or 0xFF0000nn for a system colour).
struct DayColors {
    quint32 sunday = 0x0000FF;
    quint32 saturday = 0xFF0000;
    quint32 weekday = 0x000000;
    quint32 holiday = 0x0000FF;
};

class CalendarCore {
public:
    CalendarCore();
    CalendarCore(const CalendarCore&) = delete;
    CalendarCore& operator=(const CalendarCore&) = delete;

    CalendarModel& model() { return model_; }
    const CalendarModel& model() const { return model_; }
    HolidayTable& holidays() { return holidays_; }
    // The holidays shown: another calendar's table when one is shared.
    const HolidayTable& holidays() const { return shared_ ? *shared_ : holidays_; }
    // Shows another calendar's holidays (not owned) instead of its own, as
    // they are at each look; nullptr goes back to its own.
    void ShareHolidays(const HolidayTable* table) { shared_ = table; }
    DiaryStore& diary() { return diary_; }
    const DiaryStore& diary() const { return diary_; }
    DayColors& colors() { return colors_; }

    // Holidays.
    bool LoadHolidays(const QString& path) { return holidays_.LoadHolidays(path); }
    bool IsHoliday(DateTime d) const { return holidays().IsHoliday(d); }
    bool IsHoliday(const QString& key) const { return holidays().IsHoliday(key); }
    QString HolidayName(const QString& key) const { return holidays().HolidayName(key); }
    QString HolidayName(DateTime d) const { return holidays().HolidayName(d); }
    QString SelectedHolidayName() const { return holidays().HolidayName(model_.GetDate()); }
    // Holiday colour for holidays, else the colour of the weekday.
    quint32 DayColor(DateTime d) const;
    // For the schedule store (month ends skip holidays); valid while this lives.
    std::function<bool(DateTime)> HolidayTest() const;

    // Rokuyō.
    bool SetShowRoku(bool v);
    bool ShowRoku() const { return showRoku_; }
    void SetRokuyou(bool kanji) { rokuyou_ = kanji; } // stores only
    bool Rokuyou() const { return rokuyou_; }
    QString RokuyouText(DateTime d) const;

    // Diary.
    bool SetDiaryFolder(const QString& folder) { return diary_.SetDiaryFolder(folder); }
    DateTime DiaryDate() const { return diary_.DiaryDate(); }
    bool HasDiary(DateTime d) const { return diary_.HasDiary(d); }

private:
    CalendarModel model_;
    HolidayTable holidays_;
    const HolidayTable* shared_ = nullptr;
    DiaryStore diary_;
    DayColors colors_;
    bool showRoku_ = true;
    bool rokuyou_ = true;
};

} // namespace vn::cal
