#include "backgroundjobs.h"

#include "foundation/appstate.h"
#include "foundation/clock.h"
#include "foundation/uptime.h"

namespace vn {

BackgroundJobs::BackgroundJobs(Hooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)),
      source_(std::make_unique<SettingsBackUpSource>(hooks_.pageText)),
      capture_(RunRecordPath(), hooks_.report), backUps_(*source_, hooks_.report)
{
    if (!hooks_.msecsSinceBoot)
        hooks_.msecsSinceBoot = SystemMSecsSinceBoot;
    captureTimer_.setInterval(int(RunRecordCapture::kTickMSecs));
    quarterTimer_.setInterval(15000);
    catchUpTimer_.setInterval(kCatchUpDelayMSecs);
    catchUpTimer_.setSingleShot(true);
    connect(&captureTimer_, &QTimer::timeout, this, &BackgroundJobs::captureTick);
    connect(&quarterTimer_, &QTimer::timeout, this, &BackgroundJobs::quarterTick);
    connect(&catchUpTimer_, &QTimer::timeout, this, &BackgroundJobs::catchUpBackUp);
}

BackgroundJobs::~BackgroundJobs() = default;

void BackgroundJobs::start()
{
    if (started_)
        return;
    started_ = true;
    capture_.start();
    if (!uptimeShown_) // the caption may carry it from before the start
        refreshUptime();
    captureTimer_.start();
    quarterTimer_.start();
    catchUpTimer_.start();
}

void BackgroundJobs::finish()
{
    captureTimer_.stop();
    quarterTimer_.stop();
    catchUpTimer_.stop();
    // A program that ends before its jobs started still ran at this moment.
    if (!started_) {
        started_ = true;
        capture_.start();
    }
    capture_.finish();
}

QTimer* BackgroundJobs::timer(Timer which)
{
    switch (which) {
    case Timer::Capture: return &captureTimer_;
    case Timer::Quarter: return &quarterTimer_;
    case Timer::CatchUp: break;
    }
    return &catchUpTimer_;
}

void BackgroundJobs::captureTick()
{
    if (App().timersQuiet)
        return;
    capture_.tick();
}

void BackgroundJobs::quarterTick()
{
    if (App().timersQuiet)
        return;
    refreshUptime();
    if (backUps_.tick())
        emit generationMade();
}

void BackgroundJobs::catchUpBackUp()
{
    if (App().timersQuiet) // the program is ending
        return;
    if (backUps_.catchUp())
        emit generationMade();
}

UptimeTexts BackgroundJobs::uptimeTexts() const
{
    return ComputeUptimeTexts(Now(), hooks_.msecsSinceBoot());
}

void BackgroundJobs::refreshUptime()
{
    const UptimeTexts uptime = uptimeTexts();
    uptimeShown_ = true;
    if (hooks_.showUptime)
        hooks_.showUptime(uptime.text);
    emit uptimeRefreshed(uptime);
}

} // namespace vn
