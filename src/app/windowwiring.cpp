#include "windowwiring.h"

#include "application.h"
#include "backgroundjobs.h"
#include "backup/restorepages.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/calendarview.h"
#include "runrecord/ui/runrecordwindow.h"
#include "widgets/errorbox.h"
#include "workspace/calendarpanel.h"
#include "workspace/memopagesview.h"
#include "workspace/searchdialog.h"

namespace vn {

namespace {

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

RestorePages* MainWindowPagesFor(MainWindow* main)
{
    return new MainWindowPages(main);
}

RunRecordCalendarData* MainWindowCalendarFor(MainWindow* main)
{
    return new MainWindowCalendar(main);
}

void ConnectSearchDialog(MainWindow* main, std::function<SearchDialog*()> search)
{
    QObject::connect(main, &MainWindow::searchRequested, main, [main, search] {
        Guarded([&] { search()->OpenSearch(*main->pages()); }, main);
    });
    QObject::connect(main, &MainWindow::findNextRequested, main, [main, search] {
        Guarded(
            [&] {
                SearchDialog* dialog = search();
                if (dialog->state().SearchText.isEmpty())
                    dialog->OpenSearch(*main->pages()); // nothing searched yet: ask first
                else
                    dialog->FindNext(*main->pages());
            },
            main);
    });
}

void ConnectRunRecordToJobs(RunRecordWindow* runRecord, BackgroundJobs* jobs)
{
    runRecord->setBeforeRead([jobs] { jobs->capture().flush(); });
}

void ConnectRestoreToJobs(RestoreWindow* restore, BackgroundJobs* jobs)
{
    QObject::connect(jobs, &BackgroundJobs::generationMade, restore, [restore] {
        if (restore->isVisible())
            restore->refreshGenerations();
    });
}

void ConnectJobWindows(Windows& w, BackgroundJobs* jobs)
{
    if (w.dateTime)
        ConnectRunRecordToJobs(static_cast<RunRecordWindow*>(w.dateTime), jobs);
    if (w.backUpMemo)
        ConnectRestoreToJobs(static_cast<RestoreWindow*>(w.backUpMemo), jobs);
}

} // namespace vn
