#include "application.h"

#include "backup/ui/vnbackupinfo.h"
#include "backup/ui/vnbackupmemo.h"
#include "calendar/ui/vnholiday.h"
#include "calendar/ui/vnholidaylist.h"
#include "foundation/apperror.h"
#include "foundation/settings.h"
#include "platform/platform.h"
#include "runrecord/ui/vndatetime.h"
#include "runrecord/ui/vnterm.h"
#include "schedule/ui/vnballoonhint.h"
#include "schedule/ui/vnballoonhintlist.h"
#include "schedule/ui/vnschedule.h"
#include "schedule/ui/vnschedulelist.h"
#include "settings/vnenv.h"
#include "stopsignals.h"
#include "workspace/appstate.h"
#include "workspace/colorref.h"
#include "workspace/errorbox.h"
#include "workspace/traycontroller.h"
#include "workspace/vnmain.h"
#include "workspace/vnsearch.h"

#include <QSessionManager>

#include <memory>

namespace vn {

VelnoteApplication::VelnoteApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velnote"));
    setApplicationDisplayName(QStringLiteral("Velnote"));
    setQuitOnLastWindowClosed(false);
}

bool VelnoteApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& e) {
        ShowErrorBox(e.message());
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

namespace {

// The thirteen windows, created once in their fixed order.
struct Windows {
    std::unique_ptr<TfrmMemo> memo;
    std::unique_ptr<QDialog> dateTime, term, scheduleList, schedule, holidayList, holiday,
        balloonHint, balloonHintList, search, backUpMemo, env, backUpInfo;
};

void createWindows(Windows& w)
{
    w.memo = std::make_unique<TfrmMemo>();
    w.dateTime = std::make_unique<TfrmDateTime>(w.memo.get());
    w.term = std::make_unique<TfrmTerm>(w.memo.get());
    w.scheduleList = std::make_unique<TfrmScheduleList>(w.memo.get());
    w.schedule = std::make_unique<TfrmSchedule>(w.memo.get());
    w.holidayList = std::make_unique<TfrmHolidayList>(w.memo.get());
    w.holiday = std::make_unique<TfrmHoliday>(w.memo.get());
    w.balloonHint = std::make_unique<TfrmBalloonHint>(w.memo.get());
    w.balloonHintList = std::make_unique<TfrmBalloonHintList>(w.memo.get());
    w.search = std::make_unique<TfrmSearch>(w.memo.get());
    w.backUpMemo = std::make_unique<TfrmBackUpMemo>(w.memo.get());
    w.env = std::make_unique<TfrmEnv>(w.memo.get());
    w.backUpInfo = std::make_unique<TfrmBackUpInfo>(w.memo.get());
    w.memo->setSecondaryWindows({w.dateTime.get(), w.scheduleList.get(),
                                 w.balloonHintList.get(), w.search.get(), w.env.get()});
}

} // namespace

int RunVelnote(int argc, char** argv)
{
    VelnoteApplication app(argc, argv);
    std::unique_ptr<Platform> platform = CreateDesktopPlatform();
    if (!platform->instanceLock->acquire())
        return 0; // another instance runs in this session
    SetPlatform(std::move(platform));
    InstallFontSubstitutions();
    QFont appFont(QStringLiteral("ＭＳ Ｐゴシック"));
    appFont.setPixelSize(12);
    QApplication::setFont(appFont);

    Windows windows;
    createWindows(windows);
    TfrmMemo* main = windows.memo.get();
    auto* tray = new TrayController(main);
    tray->registerGesture(ReadSettingInt(REG_EnvPauseKeyKind), ReadSettingInt(REG_EnvPauseKeySS));

    // The end of the desktop session, and stop signals, close for real.
    auto endSession = [main] {
        App().sessionEnding = true;
        main->close();
    };
    QObject::connect(&app, &QGuiApplication::commitDataRequest, main,
                     [endSession](QSessionManager&) { endSession(); });
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, main, endSession);

    if (!main->startsHidden())
        main->ShowMainWindow();
    const int rc = app.exec();
    windows = Windows();
    SetPlatform(nullptr);
    return rc;
}

} // namespace vn
