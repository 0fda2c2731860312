#include "secondarywindows.h"

#include "application.h"
#include "backup/ui/backupinfodialog.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/calendarview.h"
#include "calendar/ui/calendarviewdays.h"
#include "calendar/ui/holidayeditor.h"
#include "calendar/ui/holidaylistwindow.h"
#include "foundation/appstate.h"
#include "foundation/startuptrace.h"
#include "runrecord/ui/perioddialog.h"
#include "runrecord/ui/runrecordwindow.h"
#include "schedule/ui/balloonhinteditor.h"
#include "schedule/ui/balloonhintlistwindow.h"
#include "schedule/ui/scheduleeditor.h"
#include "schedule/ui/schedulelistwindow.h"
#include "settings/settingsdialog.h"
#include "settings/storedsettings.h"
#include "settingswiring.h"
#include "widgets/errorbox.h"
#include "widgets/shelldialog.h"
#include "windowwiring.h"
#include "workspace/calendarpanel.h"
#include "workspace/schedulealerts.h"
#include "workspace/searchdialog.h"
#include "workspace/workspacesettings.h"

#include <cstdio>

namespace vn {

SecondaryWindows::SecondaryWindows(Windows& w, TrayController* tray, BackgroundJobs* jobs)
    : QObject(w.memo.get()), w_(w), tray_(tray), jobs_(jobs)
{
    w.secondary = this;
    connectOpeners();
}

void SecondaryWindows::connectOpeners()
{
    MainWindow* main = w_.memo.get();
    main->setSecondaryWindows({
        [this] { return runRecord(); },
        [this] { return scheduleList(); },
        [this] { return balloonHintList(); },
        [this] { return search(); },
        [this] { return settings(); },
    });
    // The calendar panel's lists (the calendar reloads afterwards), and a
    // new schedule for a double-clicked day.
    CalendarPanel* calendar = main->calendarPanel();
    calendar->setListOpeners([this] { scheduleList()->exec(); }, [this] { holidayList()->exec(); });
    calendar->setScheduleEditorOpener(
        [this](DateTime day) { scheduleEditor()->NewScheduleFromCalendar(day); });
    ConnectSearchDialog(main, [this] { return search(); });
}

template <typename Window>
Window* SecondaryWindows::made(QDialog*& slot, void (SecondaryWindows::*wire)(Window*))
{
    if (!slot) {
        const long long began = StartupTraceEnabled() ? MonotonicNs() : 0;
        auto* window = new Window(w_.memo.get());
        slot = window; // before its wiring: a window asking back finds this one
        if (wire)
            (this->*wire)(window);
        if (began) {
            std::printf("made on first use: %s %.1f ms\n", qPrintable(window->objectName()),
                        (MonotonicNs() - began) / 1e6);
            std::fflush(stdout);
        }
    }
    return static_cast<Window*>(slot);
}

RunRecordWindow* SecondaryWindows::runRecord()
{
    return made(w_.dateTime, &SecondaryWindows::wireRunRecord);
}

PeriodDialog* SecondaryWindows::period()
{
    return made(w_.term, &SecondaryWindows::wirePeriod);
}

ScheduleListWindow* SecondaryWindows::scheduleList()
{
    return made(w_.scheduleList, &SecondaryWindows::wireScheduleList);
}

ScheduleEditor* SecondaryWindows::scheduleEditor()
{
    return made(w_.schedule, &SecondaryWindows::wireScheduleEditor);
}

HolidayListWindow* SecondaryWindows::holidayList()
{
    return made(w_.holidayList, &SecondaryWindows::wireHolidayList);
}

HolidayEditor* SecondaryWindows::holidayEditor()
{
    return made<HolidayEditor>(w_.holiday, nullptr);
}

BalloonHintEditor* SecondaryWindows::balloonHintEditor()
{
    return made<BalloonHintEditor>(w_.balloonHint, nullptr);
}

BalloonHintListWindow* SecondaryWindows::balloonHintList()
{
    return made(w_.balloonHintList, &SecondaryWindows::wireBalloonHintList);
}

SearchDialog* SecondaryWindows::search()
{
    return made<SearchDialog>(w_.search, nullptr);
}

RestoreWindow* SecondaryWindows::restore()
{
    return made(w_.backUpMemo, &SecondaryWindows::wireRestore);
}

SettingsDialog* SecondaryWindows::settings()
{
    return made(w_.env, &SecondaryWindows::wireSettings);
}

BackUpInfoDialog* SecondaryWindows::backUpInfo()
{
    return made<BackUpInfoDialog>(w_.backUpInfo, nullptr);
}

void SecondaryWindows::makeAll()
{
    runRecord();
    period();
    scheduleList();
    scheduleEditor();
    holidayList();
    holidayEditor();
    balloonHintEditor();
    balloonHintList();
    search();
    restore();
    settings();
    backUpInfo();
}

int SecondaryWindows::madeCount() const
{
    int count = 0;
    for (QDialog* slot :
         {w_.dateTime, w_.term, w_.scheduleList, w_.schedule, w_.holidayList, w_.holiday,
          w_.balloonHint, w_.balloonHintList, w_.search, w_.backUpMemo, w_.env, w_.backUpInfo})
        count += slot != nullptr;
    return count;
}

CalendarViewDays* SecondaryWindows::calendarDays()
{
    // The date fields' drop-down calendars mark the main calendar's
    // holidays: one view of them for every field.
    if (!days_)
        days_ = new CalendarViewDays(w_.memo->calendarPanel()->view(), this);
    return days_;
}

void SecondaryWindows::wireRunRecord(RunRecordWindow* window)
{
    window->setCalendarData(MainWindowCalendarFor(w_.memo.get()));
    window->setPeriodDialog([this] { return period(); });
    if (jobs_)
        ConnectRunRecordToJobs(window, jobs_);
}

void SecondaryWindows::wirePeriod(PeriodDialog* window)
{
    window->setCalendarDays(calendarDays());
}

void SecondaryWindows::wireScheduleList(ScheduleListWindow* window)
{
    window->setEditor([this] { return scheduleEditor(); });
    // The list's month ends step off the calendar's holidays.
    window->setHolidayTest(w_.memo->calendarPanel()->view()->core().HolidayTest());
    // One past-schedule colour for the day details and both lists.
    window->setPastColour(&Workspace().pastScheduleColor);
}

void SecondaryWindows::wireScheduleEditor(ScheduleEditor* window)
{
    // A schedule made from the calendar goes into the calendar's store,
    // which is painted anew.
    CalendarView* view = w_.memo->calendarPanel()->view();
    window->setCalendarStore(&view->schedules(), [view] { view->Paint(); });
    window->setCalendarDays(calendarDays());
}

void SecondaryWindows::wireHolidayList(HolidayListWindow* window)
{
    window->setEditor([this] { return holidayEditor(); });
}

void SecondaryWindows::wireBalloonHintList(BalloonHintListWindow* window)
{
    window->setEditor([this] { return balloonHintEditor(); });
    window->setPastColour(&Workspace().pastScheduleColor);
    // The balloon hints (read by the main window at start-up): the list
    // edits them in place and the minute check asks the same rows.
    window->setStore(w_.balloonHints.get());
}

void SecondaryWindows::wireRestore(RestoreWindow* window)
{
    window->setPages(MainWindowPagesFor(w_.memo.get()));
    if (jobs_)
        ConnectRestoreToJobs(window, jobs_);
}

void SecondaryWindows::wireSettings(SettingsDialog*)
{
    if (tray_ && jobs_)
        ConnectSettingsDialog(w_, tray_, jobs_, sync_);
}

void StartWithoutTheWindows(Windows& w)
{
    Guarded([] { CorrectStoredSettings(); }, w.memo.get());
    static const StoredSoundPattern storedPattern;
    w.memo->scheduleAlerts()->setSoundPattern(&storedPattern);
    App().timersQuiet = false;
    // The windows' fonts, loaded in the idle turns after the start, so that
    // the first use of a window does not pay for them.
    LoadFontsInTurns(SecondaryWindowFonts() + RunRecordWindow::calendarFonts());
}

} // namespace vn
