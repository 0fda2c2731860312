#include "schedulealerts.h"

#include "calendar/ui/calendarview.h"
#include "platform/platform.h"
#include "traycontroller.h"
#include "widgets/errorbox.h"
#include "widgets/loadreportbox.h"
#include "widgets/soundfile.h"
#include "widgets/uiprompts.h"

#include <QApplication>

namespace vn {

class ScheduleAlerts::Output : public NotifierOutput {
public:
    void showBalloon(const QString& title, const QString& text, int iconKind, int seconds) override
    {
        ShowBalloonTip(title, text, iconKind, seconds);
    }
    void playSound(const QString& path) override { PlaySoundFile(path); }
    void startTimeMessage(const QString& text, bool askUrl,
                          std::function<void(bool)> answered) override
    {
        // The box waits on its own: the clock tick that opened it returns,
        // and the clock and the minute check go on while it is up.
        Notify(BoxKind::Information, text, askUrl ? BoxButtons::YesNo : BoxButtons::Yes,
               [answered](BoxAnswer a) { Guarded([&] { answered(a == BoxAnswer::Yes); }); });
    }
    void openUrl(const QString& url) override { CurrentPlatform().desktop->openUrl(url); }
};

ScheduleAlerts::ScheduleAlerts(CalendarView* calendar, QWidget* window, BalloonHintStore* hints)
    : QObject(window), ownHints_(hints ? nullptr : std::make_unique<BalloonHintStore>()),
      hints_(hints ? hints : ownHints_.get()), output_(std::make_unique<Output>())
{
    NotifierDayInfo info;
    info.rokuyou = [calendar](DateTime d) { return calendar->RokuyouText(d); };
    info.holidayName = [calendar](DateTime d) { return calendar->HolidayName(d); };
    notifier_ = std::make_unique<ScheduleNotifier>(calendar->schedules(), *hints_, std::move(info),
                                                   *output_);
}

ScheduleAlerts::~ScheduleAlerts() = default;

void ScheduleAlerts::ReloadBalloonHints()
{
    // A file that cannot be read at all (a FIFO in its place) is reported
    // and the start goes on without hints.
    Guarded([this] { ShowLoadReport(hints_->LoadBalloonHints()); });
}

void ScheduleAlerts::takeInBalloonHintChange()
{
    // An open (modal) list shows the rows it was given: its save merges
    // with the file instead.
    if (QApplication::activeModalWidget())
        return;
    Guarded([this] { hints_->takeInOutsideChange(); });
}

void ScheduleAlerts::setSoundPattern(const ScheduleSoundPattern* source)
{
    notifier_->setSoundPattern(source);
}

} // namespace vn
