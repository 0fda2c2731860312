#include "startjobs.h"

#include "backgroundjobs.h"
#include "foundation/uptime.h"
#include "widgets/errorbox.h"
#include "workspace/mainwindow.h"
#include "workspace/memopagesview.h"
#include "workspace/traycontroller.h"

#include <QCoreApplication>

namespace vn {

BackgroundJobs* CreateBackgroundJobs(MainWindow* main)
{
    BackgroundJobs::Hooks hooks;
    hooks.pageText = [main](int page) { return main->pages()->pageText(page); };
    hooks.showUptime = [main](const QString& text) {
        SetTrayTip(text);
        main->setWindowTitle(CaptionWithUptime(text));
    };
    hooks.report = [main](const QString& message) { ShowErrorBox(message, main); };
    auto* jobs = new BackgroundJobs(std::move(hooks), main);
    // Close, the end of the session and stop signals all end the event loop.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, jobs, &BackgroundJobs::finish);
    jobs->refreshUptime();
    return jobs;
}

BackgroundJobs* StartBackgroundJobs(MainWindow* main)
{
    BackgroundJobs* jobs = CreateBackgroundJobs(main);
    jobs->start();
    return jobs;
}

} // namespace vn
