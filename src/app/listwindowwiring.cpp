#include "listwindowwiring.h"

#include "application.h"
#include "calendar/ui/calendarview.h"
#include "calendar/ui/holidayeditor.h"
#include "calendar/ui/holidaylistwindow.h"
#include "schedule/ui/balloonhinteditor.h"
#include "schedule/ui/balloonhintlistwindow.h"
#include "schedule/ui/scheduleeditor.h"
#include "schedule/ui/schedulelistwindow.h"
#include "widgets/errorbox.h"
#include "workspace/calendarpanel.h"
#include "workspace/workspacesettings.h"

namespace vn {

void ConnectListWindows(Windows& w)
{
    auto* scheduleList = static_cast<ScheduleListWindow*>(w.scheduleList);
    auto* holidayList = static_cast<HolidayListWindow*>(w.holidayList);
    auto* balloonList = static_cast<BalloonHintListWindow*>(w.balloonHintList);
    scheduleList->setEditor(static_cast<ScheduleEditor*>(w.schedule));
    holidayList->setEditor(static_cast<HolidayEditor*>(w.holiday));
    balloonList->setEditor(static_cast<BalloonHintEditor*>(w.balloonHint));

    // A double click on a day of the main window's calendar: a new schedule
    // for that day, added to the calendar's store, which is painted anew.
    auto* editor = static_cast<ScheduleEditor*>(w.schedule);
    CalendarPanel* calendar = w.memo->calendarPanel();
    CalendarView* view = calendar->view();
    editor->setCalendarStore(&view->schedules(), [view] { view->Paint(); });
    calendar->setScheduleEditorOpener(
        [editor](DateTime day) { editor->NewScheduleFromCalendar(day); });
    // The list's month ends step off the calendar's holidays.
    scheduleList->setHolidayTest(view->core().HolidayTest());

    // One past-schedule colour for the day details and both lists.
    int* pastColour = &Workspace().pastScheduleColor;
    scheduleList->setPastColour(pastColour);
    balloonList->setPastColour(pastColour);

    // The balloon hints (read by the main window at start-up): the list
    // edits them in place and the minute check asks the same rows.
    balloonList->setStore(w.balloonHints.get());
}

} // namespace vn
