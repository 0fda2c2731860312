#pragma once
// The selected day's details: the status bar's date, relative day, rokuyō,
// holiday and schedule count, and the detail pane under the memo area with
// the holiday and the schedule lines.
#include "foundation/datetime.h"

#include <QStringList>

#include <array>

class QPlainTextEdit;
class QToolButton;
class QWidget;

namespace vn {

class CalendarView;
class StatusPanels;

struct DayDetailTexts {
    std::array<QString, 5> panels; // status panels 0..4
    int rokuyouPanelWidth = 40;    // 40 for kanji rokuyō, else 60
    QStringList lines;             // the detail pane, empty lines removed
    bool past = false;             // the day is before today
};

// Sets the view's SpanFormat to the date pattern and composes the texts.
DayDetailTexts ComposeDayDetails(CalendarView& view, const QString& datePattern);

class DayDetails {
public:
    // status: the main window's six status panels.
    DayDetails(CalendarView* view, StatusPanels* status, QWidget* pane, QPlainTextEdit* memo,
               QToolButton* detailsButton);

    // Fills the status panels and the pane; the pane shows only while the
    // details button is down and there is something to show.
    void ShowSelectedDayDetails();
    // Status panels 0..2 cleared (the calendar was hidden).
    void clearDatePanels();

private:
    CalendarView* view_;
    StatusPanels* status_;
    QWidget* pane_;
    QPlainTextEdit* memo_;
    QToolButton* button_;
};

} // namespace vn
