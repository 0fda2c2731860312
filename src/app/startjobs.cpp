#include "startjobs.h"

#include "backgroundjobs.h"
#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/readonlyfolder.h"
#include "foundation/uptime.h"
#include "foundation/writtenfiles.h"
#include "sync/syncaccount.h"
#include "syncjob.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"
#include "workspace/calendarpanel.h"
#include "workspace/mainwindow.h"
#include "workspace/memopagesview.h"
#include "workspace/traycontroller.h"

#include <QCoreApplication>

namespace vn {

namespace {

QString g_uptimeTip;
QString g_syncStatus; // the tray tip's second line once a sync ran

void showTrayTip()
{
    SetTrayTip(g_syncStatus.isEmpty() ? g_uptimeTip : g_uptimeTip + u'\n' + g_syncStatus);
}

bool syncConfigured()
{
    // A folder another login or PC writes is only shown here: the sync,
    // which writes it, is that one's to run.
    if (DataFolderReadOnly())
        return false;
    try {
        return sync::ReadSyncAccount(sync::SyncAccountPath()).configured();
    } catch (const AppError&) {
        return false;
    }
}

} // namespace

BackgroundJobs* CreateBackgroundJobs(MainWindow* main)
{
    BackgroundJobs::Hooks hooks;
    hooks.pageText = [main](int page) { return main->pages()->pageText(page); };
    hooks.showUptime = [main](const QString& text) {
        g_uptimeTip = text;
        showTrayTip();
        main->setWindowTitle(CaptionWithUptime(text));
    };
    hooks.report = [main](const QString& message) { ShowErrorBox(message, main); };
    auto* jobs = new BackgroundJobs(std::move(hooks), main);
    // Close, the end of the session and stop signals all end the event loop.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, jobs, &BackgroundJobs::finish);
    jobs->refreshUptime();
    return jobs;
}

SyncJob* CreateSyncJob(MainWindow* main)
{
    SyncJob::Hooks hooks;
    hooks.tellUser = [](const QString& message) {
        Notify(BoxKind::Warning, QStringLiteral("予定と日記の同期: ") + message, BoxButtons::Ok, {});
    };
    hooks.showStatus = [](const QString& status) {
        g_syncStatus = status;
        showTrayTip();
    };
    hooks.load = [](QString* error) { return sync::LoadSyncService(AppFolder(), error); };
    hooks.configured = syncConfigured;
    auto* job = new SyncJob(std::move(hooks), main);
    const QString schedules = AppFolder() + QStringLiteral("/Schedule.dat");
    const QString diary = AppFolder() + QStringLiteral("/Diary/");
    SetWrittenFileListener([job, schedules, diary](const QString& path) {
        if (path == schedules || path.startsWith(diary))
            job->localChanged();
    });
    // What a sync wrote here is shown: the calendar's schedules (and their
    // alarms) are read again, the days with a diary marked anew and the
    // diary day shown.
    QObject::connect(job, &SyncJob::synced, main, [main](const sync::SyncReport& report) {
        if (report.schedulesChanged)
            Guarded([main] { main->calendarPanel()->ReloadSchedules(); }, main);
        // The diary pane shows a pulled day at once when nothing was typed
        // there (typed text is kept and the pulled one copied beside it).
        if (!report.diaryDaysChanged.isEmpty())
            Guarded([main] { main->calendarPanel()->takeInDiaryDays(); }, main);
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, job, [job] {
        SetWrittenFileListener({});
        job->finish();
    });
    return job;
}

BackgroundJobs* StartBackgroundJobs(MainWindow* main)
{
    BackgroundJobs* jobs = CreateBackgroundJobs(main);
    jobs->start();
    return jobs;
}

} // namespace vn
