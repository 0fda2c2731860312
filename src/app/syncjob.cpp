#include "syncjob.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"

#include <QPointer>

namespace vn {

SyncJob::SyncJob(Hooks hooks, QObject* parent) : QObject(parent), hooks_(std::move(hooks))
{
    soon_.setSingleShot(true);
    connect(&soon_, &QTimer::timeout, this, [this] { syncNow(); });
    period_.setTimerType(Qt::VeryCoarseTimer);
    connect(&period_, &QTimer::timeout, this, [this] { syncNow(); });
}

SyncJob::~SyncJob() = default;

sync::SyncService* SyncJob::service()
{
    if (!service_ && !loadFailed_) {
        QString error;
        service_ = hooks_.load(&error);
        if (!service_) {
            loadFailed_ = true;
            tellOnce(error);
        }
    }
    return service_.get();
}

void SyncJob::start()
{
    if (finished_ || !hooks_.configured())
        return;
    soon_.start(kStartDelayMSecs);
    period_.start(kPeriodMSecs);
}

void SyncJob::localChanged()
{
    if (finished_ || !hooks_.configured())
        return;
    // A pause for a retry is not cut short by a change.
    if (!soon_.isActive() || retryMSecs_ == 0)
        soon_.start(kChangeDelayMSecs);
}

void SyncJob::accountChanged()
{
    retryMSecs_ = 0;
    told_.clear();
    finished_ = false;
    start();
}

void SyncJob::syncNow(sync::SyncService::Done also)
{
    if (!hooks_.configured())
        return;
    sync::SyncService* s = service();
    if (!s)
        return;
    QPointer<SyncJob> self(this);
    s->syncNow([self, also](const sync::SyncReport& report) {
        if (self)
            self->done(report);
        if (also)
            also(report);
    });
}

void SyncJob::done(const sync::SyncReport& report)
{
    using Outcome = sync::SyncReport::Outcome;
    if (report.outcome == Outcome::Offline || report.outcome == Outcome::Failed) {
        // Quietly again later, each pause twice the last.
        retryMSecs_ = retryMSecs_ == 0 ? kFirstRetryMSecs
                                       : std::min(retryMSecs_ * 2, kLongestRetryMSecs);
        if (!finished_)
            soon_.start(retryMSecs_);
    } else {
        retryMSecs_ = 0;
    }
    if (report.outcome == Outcome::Done) {
        told_.clear();
        status_ = QStringLiteral("最終同期 ") + RenderDateTime(QStringLiteral("hh:nn"), Now());
        if (!report.complete && !finished_)
            soon_.start(kChangeDelayMSecs); // what waited is taken next
    } else if (report.outcome == Outcome::UserMustAct) {
        status_ = QStringLiteral("同期できません");
        tellOnce(report.message);
    } else {
        status_ = QStringLiteral("同期待ち");
    }
    if (hooks_.showStatus)
        hooks_.showStatus(status_);
    emit synced(report);
}

void SyncJob::tellOnce(const QString& message)
{
    if (message.isEmpty() || message == told_)
        return;
    told_ = message;
    if (hooks_.tellUser)
        hooks_.tellUser(message);
}

void SyncJob::finish()
{
    if (finished_)
        return;
    finished_ = true;
    soon_.stop();
    period_.stop();
    if (!service_ || !hooks_.configured())
        return; // never synced in this run: nothing of it to finish
    service_->syncNow({});
    service_->waitIdle(kEndBoundMSecs);
}

} // namespace vn
