#pragma once
// The secondary windows, each made and wired the first time something asks
// for it: a toolbar button, a key, a calendar button or menu entry, a day
// double-clicked, another window. Nothing of a window exists before; the
// request makes it, then acts, so a click is never lost. What the rest of the
// program needs from the start (the settings normalised, the show/hide key,
// the schedule-time sound pattern, the end of the quiet start) does not wait
// for any window: see StartWithoutTheWindows.
#include <QObject>

class QDialog;

namespace vn {

class BackgroundJobs;
class BackUpInfoDialog;
class BalloonHintEditor;
class BalloonHintListWindow;
class CalendarViewDays;
class HolidayEditor;
class HolidayListWindow;
class PeriodDialog;
class RestoreWindow;
class RunRecordWindow;
class ScheduleEditor;
class ScheduleListWindow;
class SearchDialog;
class SettingsDialog;
class SyncJob;
class TrayController;
struct Windows;

class SecondaryWindows : public QObject {
public:
    // A child of the main window (windows.memo), which deletes it and the
    // windows it made. Sets windows.secondary and routes the main window's
    // commands, the calendar's lists, its day double click and the search
    // keys through the accessors below. Without tray and jobs (a program
    // part on its own) the settings dialog and the jobs' windows are made
    // without their wiring to them.
    SecondaryWindows(Windows& windows, TrayController* tray = nullptr,
                     BackgroundJobs* jobs = nullptr);

    // The sync job the settings page "同期" works through; set after the
    // first paint, before which no window is asked for.
    void setSync(SyncJob* sync) { sync_ = sync; }

    // Each window, made and wired on the first call.
    RunRecordWindow* runRecord();
    PeriodDialog* period();
    ScheduleListWindow* scheduleList();
    ScheduleEditor* scheduleEditor();
    HolidayListWindow* holidayList();
    HolidayEditor* holidayEditor();
    BalloonHintEditor* balloonHintEditor();
    BalloonHintListWindow* balloonHintList();
    SearchDialog* search();
    RestoreWindow* restore();
    SettingsDialog* settings();
    BackUpInfoDialog* backUpInfo();

    // All twelve, in their fixed order (what is made already stays).
    void makeAll();
    // How many are made so far.
    int madeCount() const;

private:
    template <typename Window>
    Window* made(QDialog*& slot, void (SecondaryWindows::*wire)(Window*));
    void wireRunRecord(RunRecordWindow* window);
    void wirePeriod(PeriodDialog* window);
    void wireScheduleList(ScheduleListWindow* window);
    void wireScheduleEditor(ScheduleEditor* window);
    void wireHolidayList(HolidayListWindow* window);
    void wireBalloonHintList(BalloonHintListWindow* window);
    void wireRestore(RestoreWindow* window);
    void wireSettings(SettingsDialog* window);
    void connectOpeners();
    CalendarViewDays* calendarDays();

    Windows& w_;
    TrayController* tray_;
    BackgroundJobs* jobs_;
    SyncJob* sync_ = nullptr;
    CalendarViewDays* days_ = nullptr;
};

// What the program needs from the start that the windows used to do as they
// were made: the settings the dialog would correct stored corrected, the
// schedule-time sound pattern read from the settings until the dialog is
// made, and the end of the quiet start (the clock and the jobs' timers act
// from here on). Cheap; at the first paint.
void StartWithoutTheWindows(Windows& windows);

} // namespace vn
