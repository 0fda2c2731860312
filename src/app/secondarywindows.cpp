#include "secondarywindows.h"

#include "application.h"
#include "backup/ui/backupinfodialog.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/holidayeditor.h"
#include "calendar/ui/holidaylistwindow.h"
#include "listwindowwiring.h"
#include "runrecord/ui/perioddialog.h"
#include "runrecord/ui/runrecordwindow.h"
#include "schedule/ui/balloonhinteditor.h"
#include "schedule/ui/balloonhintlistwindow.h"
#include "schedule/ui/scheduleeditor.h"
#include "schedule/ui/schedulelistwindow.h"
#include "settings/settingsdialog.h"
#include "settingswiring.h"
#include "windowwiring.h"
#include "workspace/searchdialog.h"

namespace vn {

namespace {

template <typename Window> StagedWork::Piece make(const char* name, Windows& w, QDialog*& slot)
{
    // Polished in the same turn: a later turn would polish all the windows
    // made so far at once.
    return {name, [&w, &slot] {
                slot = new Window(w.memo.get());
                slot->ensurePolished();
            }};
}

} // namespace

std::vector<StagedWork::Piece> SecondaryWindowPieces(Windows& w)
{
    return {
        make<RunRecordWindow>("run record", w, w.dateTime),
        make<PeriodDialog>("period", w, w.term),
        make<ScheduleListWindow>("schedule list", w, w.scheduleList),
        make<ScheduleEditor>("schedule editor", w, w.schedule),
        make<HolidayListWindow>("holiday list", w, w.holidayList),
        make<HolidayEditor>("holiday editor", w, w.holiday),
        make<BalloonHintEditor>("balloon hint editor", w, w.balloonHint),
        make<BalloonHintListWindow>("balloon hint list", w, w.balloonHintList),
        make<SearchDialog>("search", w, w.search),
        make<RestoreWindow>("restore", w, w.backUpMemo),
        make<SettingsDialog>("settings", w, w.env),
        make<BackUpInfoDialog>("backup information", w, w.backUpInfo),
        {"wiring of the windows",
         [&w] {
             w.memo->setSecondaryWindows(
                 {w.dateTime, w.scheduleList, w.balloonHintList, w.search, w.env});
             ConnectSubsystemWindows(w);
             ConnectListWindows(w);
         }},
    };
}

std::vector<StagedWork::Piece> ProgramWindowPieces(Windows& w, TrayController* tray,
                                                   BackgroundJobs* jobs, SyncJob* sync)
{
    std::vector<StagedWork::Piece> pieces = SecondaryWindowPieces(w);
    pieces.push_back({"wiring of the search and the jobs' windows", [&w, jobs] {
                          ConnectSearchDialog(w);
                          ConnectJobWindows(w, jobs);
                      }});
    pieces.push_back({"settings dialog's first load",
                      [&w, tray, jobs, sync] { ConnectSettingsDialog(w, tray, jobs, sync); }});
    return pieces;
}

} // namespace vn
