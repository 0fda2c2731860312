#include "listwindowwiring.h"

#include "application.h"
#include "calendar/ui/holidayeditor.h"
#include "calendar/ui/holidaylistwindow.h"
#include "schedule/ui/balloonhinteditor.h"
#include "schedule/ui/balloonhintlistwindow.h"
#include "schedule/ui/scheduleeditor.h"
#include "schedule/ui/schedulelistwindow.h"
#include "widgets/errorbox.h"
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

    // One past-schedule colour for the day details and both lists.
    int* pastColour = &Workspace().pastScheduleColor;
    scheduleList->setPastColour(pastColour);
    balloonList->setPastColour(pastColour);

    // The balloon hints are read once, at start-up; the list edits them in
    // place and the minute check asks the same rows.
    if (!w.balloonHints)
        w.balloonHints = std::make_unique<BalloonHintStore>();
    balloonList->setStore(w.balloonHints.get());
    Guarded(
        [&] {
            const LoadReport report = w.balloonHints->LoadBalloonHints();
            if (!report.ok())
                ShowErrorBox(report.message(), w.memo.get());
        },
        w.memo.get());
}

} // namespace vn
