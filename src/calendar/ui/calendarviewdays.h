#pragma once
// The days as a calendar view knows them, for the drop-down calendars of
// date fields: its holidays (the national ones and the user's Holiday.dat)
// and the colours it draws holiday, Sunday and Saturday numbers in, as they
// are at each look.
#include "widgets/datepopup.h"

#include <QObject>

namespace vn {

class CalendarView;

class CalendarViewDays : public QObject, public CalendarDays {
public:
    // The view is not owned; it must outlive this (make this its child).
    explicit CalendarViewDays(const CalendarView* view, QObject* parent = nullptr);

    QString holidayName(const QDate& day) const override;
    DayColors colors() const override;

private:
    const CalendarView* view_;
};

} // namespace vn
