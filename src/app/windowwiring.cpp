#include "windowwiring.h"

#include "application.h"
#include "backup/restorepages.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/calendarview.h"
#include "schedule/ui/scheduleeditor.h"
#include "workspace/calendarpanel.h"
#include "workspace/memopagesview.h"

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

} // namespace

void ConnectSubsystemWindows(Windows& w)
{
    MainWindow* main = w.memo.get();
    static_cast<RestoreWindow*>(w.backUpMemo)->setPages(new MainWindowPages(main));
    // The calendar panel's lists (the calendar reloads afterwards) and the
    // schedule editor for a double-clicked day.
    CalendarPanel* calendar = main->calendarPanel();
    calendar->setListOpeners([d = w.scheduleList] { d->exec(); },
                             [d = w.holidayList] { d->exec(); });
    auto* editor = static_cast<ScheduleEditor*>(w.schedule);
    CalendarView* view = calendar->view();
    editor->setCalendarStore(&view->schedules(), [view] { view->StyleChanged(); });
    calendar->setScheduleEditorOpener(
        [editor](DateTime day) { editor->NewScheduleFromCalendar(day); });
}

} // namespace vn
