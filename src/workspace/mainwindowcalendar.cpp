// The main window's side of the calendar: the panel's commands, the day
// details, the schedule notifications and the diary.
#include "calendar/ui/calendarview.h"
#include "calendarpanel.h"
#include "daydetails.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "mainwindow.h"
#include "pagecommands.h"
#include "schedulealerts.h"
#include "widgets/errorbox.h"
#include "workspacesettings.h"

#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <QToolButton>

namespace vn {

void MainWindow::connectCalendar()
{
    details_ =
        new DayDetails(calendar_->view(), status_, info_, memoInfo_, calendar_->detailsButton());
    alerts_ = new ScheduleAlerts(calendar_->view(), this, balloonHints_);
    connect(calendar_, &CalendarPanel::selectedDayChanged, this,
            [this] { Guarded([this] { ShowSelectedDayDetails(); }, this); });
    connect(calendar_, &CalendarPanel::detailsSwitched, this, [this](bool on, bool save) {
        Guarded(
            [&] {
                if (save)
                    WriteSettingInt(REG_ShowScheduleDetailMain, on ? 1 : 0);
                applyDetailPane(on);
            },
            this);
    });
    connect(calendar_, &CalendarPanel::diarySwitched, this, [this](bool on, bool save) {
        Guarded(
            [&] {
                if (save)
                    WriteSettingInt(REG_ShowDiary, on ? 1 : 0);
                applyDiaryPane(on);
            },
            this);
    });
    auto dateText = [](DateTime d) { return RenderDateTime(Workspace().dateFormat, d); };
    connect(calendar_, &CalendarPanel::dateToCaret, this, [this, dateText](DateTime d) {
        Guarded([&] { commands_->InsertAtCaret(dateText(d) + QStringLiteral("\r\n")); }, this);
    });
    connect(calendar_, &CalendarPanel::dateToEnd, this, [this, dateText](DateTime d) {
        Guarded([&] { commands_->InsertAtEnd(dateText(d)); }, this);
    });
    connect(calendar_, &CalendarPanel::dateToClipboard, this,
            [dateText](DateTime d) { QApplication::clipboard()->setText(dateText(d)); });
    connect(this, &MainWindow::calendarKey, calendar_, &CalendarPanel::handleKey);
}

void MainWindow::startCalendar()
{
    // Holidays first: month-end repetitions of schedules step off them.
    calendar_->ReloadHolidays();
    calendar_->ReloadSchedules();
    alerts_->ReloadBalloonHints();
    // Announced once the tray icon is up, right after start-up.
    QTimer::singleShot(0, this, [this] { Guarded([this] { alerts_->AnnounceToday(); }, this); });
    ShowSelectedDayDetails();
    calendar_->ApplyCalendarSettings();
    CalendarView* view = calendar_->view();
    view->SetDiaryFolder(DiaryFolder());
    view->MoveToToday();
    ShowSelectedDayDetails();
}

void MainWindow::ShowSelectedDayDetails()
{
    details_->ShowSelectedDayDetails();
}

void MainWindow::SaveDiary()
{
    calendar_->SaveDiary(); // a failure is shown once while it lasts
}

} // namespace vn
