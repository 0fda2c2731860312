#include "windowwiring.h"

#include "application.h"
#include "backgroundjobs.h"
#include "backup/restorepages.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/calendarview.h"
#include "calendar/ui/calendarviewdays.h"
#include "runrecord/ui/perioddialog.h"
#include "runrecord/ui/runrecordwindow.h"
#include "schedule/ui/scheduleeditor.h"
#include "widgets/errorbox.h"
#include "workspace/calendarpanel.h"
#include "workspace/memopagesview.h"
#include "workspace/searchdialog.h"

namespace vn {

namespace {

// The restore window's view of the memo pages: the main window's page store.
class MainWindowPages : public QObject, public RestorePages {
public:
    MainWindowPages(MainWindow* main) : QObject(main), main_(main) {}
    QString pageText(int page) const override { return main_->pages()->pageText(page); }
    bool pageTextEquals(int page, const QString& text) const override
    {
        return main_->pages()->pageTextEquals(page, text);
    }
    void replacePageText(int page, const QString& text) override
    {
        main_->pages()->replacePageText(page, text);
    }

private:
    MainWindow* main_;
};

// The run-record window's view of the holidays and schedules: the main
// window's calendar, as it is at each look.
class MainWindowCalendar : public QObject, public RunRecordCalendarData {
public:
    MainWindowCalendar(MainWindow* main) : QObject(main), main_(main) {}
    const cal::HolidayTable& holidays() const override
    {
        return std::as_const(*main_->calendarPanel()->view()).core().holidays();
    }
    const ScheduleStore& schedules() const override
    {
        return std::as_const(*main_->calendarPanel()->view()).shownSchedules();
    }

private:
    MainWindow* main_;
};

} // namespace

void ConnectSubsystemWindows(Windows& w)
{
    MainWindow* main = w.memo.get();
    static_cast<RestoreWindow*>(w.backUpMemo)->setPages(new MainWindowPages(main));
    auto* runRecord = static_cast<RunRecordWindow*>(w.dateTime);
    runRecord->setCalendarData(new MainWindowCalendar(main));
    runRecord->setPeriodDialog(static_cast<PeriodDialog*>(w.term));
    // The date fields' drop-down calendars mark the main calendar's holidays.
    auto* days = new CalendarViewDays(main->calendarPanel()->view(), main);
    static_cast<ScheduleEditor*>(w.schedule)->setCalendarDays(days);
    static_cast<PeriodDialog*>(w.term)->setCalendarDays(days);
    // The calendar panel's lists (the calendar reloads afterwards); the
    // schedule editor for a double-clicked day: ConnectListWindows.
    CalendarPanel* calendar = main->calendarPanel();
    calendar->setListOpeners([d = w.scheduleList] { d->exec(); },
                             [d = w.holidayList] { d->exec(); });
}

void ConnectSearchDialog(Windows& w)
{
    MainWindow* main = w.memo.get();
    auto* search = static_cast<SearchDialog*>(w.search);
    QObject::connect(main, &MainWindow::searchRequested, main, [main, search] {
        Guarded([&] { search->OpenSearch(*main->pages()); }, main);
    });
    QObject::connect(main, &MainWindow::findNextRequested, main, [main, search] {
        Guarded(
            [&] {
                if (search->state().SearchText.isEmpty())
                    search->OpenSearch(*main->pages()); // nothing searched yet: ask first
                else
                    search->FindNext(*main->pages());
            },
            main);
    });
}

void ConnectJobWindows(Windows& w, BackgroundJobs* jobs)
{
    // The record is read with every moment the capture has seen.
    static_cast<RunRecordWindow*>(w.dateTime)->setBeforeRead([jobs] { jobs->capture().flush(); });
    // A backup made while the restore window is open shows in its list.
    auto* restore = static_cast<RestoreWindow*>(w.backUpMemo);
    QObject::connect(jobs, &BackgroundJobs::generationMade, restore, [restore] {
        if (restore->isVisible())
            restore->refreshGenerations();
    });
}

} // namespace vn
