#pragma once
// The drop-down calendar of a date field, drawn as the main calendar is:
// Japanese names, weeks from Sunday, the year before the month in its title,
// and day numbers coloured for holidays, Sundays and Saturdays, with the
// holiday's name as the day's tip.
//
// The calendar is made by Qt only when the field first opens it; it is set
// up then, and each month's days are marked when that month is shown, so a
// window with date fields costs nothing more at its creation.
#include <QColor>
#include <QObject>
#include <QString>

class QCalendarWidget;
class QDate;
class QDateEdit;

namespace vn {

// The colours of the main calendar's day numbers (its defaults here).
struct DayColors {
    QColor holiday{Qt::red};
    QColor sunday{Qt::red};
    QColor saturday{Qt::blue};
};

// What a drop-down calendar learns of the days from the main calendar: the
// holidays (the national ones and the user's own) and the colours it gives
// them. Asked again each time a month is shown, so changes made meanwhile
// show at the next look.
class CalendarDays {
public:
    virtual ~CalendarDays() = default;
    virtual QString holidayName(const QDate& day) const = 0; // empty on other days
    virtual DayColors colors() const = 0;
};

class DatePopup : public QObject {
    Q_OBJECT
public:
    // Takes care of the field's drop-down calendar; a child of the field.
    explicit DatePopup(QDateEdit* field);

    // The holidays and colours to mark the days with (not owned); without
    // them only Sundays and Saturdays are coloured, in the default colours.
    void setDays(const CalendarDays* days);

    // The field's drop-down calendar, set up now (made when not yet made).
    QCalendarWidget* calendar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUp(QCalendarWidget* calendar);
    void markShownMonth();

    QDateEdit* field_;
    QCalendarWidget* calendar_ = nullptr;
    const CalendarDays* days_ = nullptr;
};

// The program speaks Japanese whatever the system's locale: dates, numbers
// and the names of months and weekdays in every widget, and Qt's own texts
// (the buttons and standard dialogs) from its Japanese translation.
void UseJapaneseLocale();

} // namespace vn
