#include "backupscheduler.h"

#include "foundation/apperror.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"

namespace vn {

BackUpScheduler::BackUpScheduler(const BackUpSource& source, Report report)
    : source_(source), report_(std::move(report))
{
}

bool BackUpScheduler::catchUp()
{
    RemoveUnfinishedGenerations();
    if (!BackUpOverdue(source_.schedule(), Now()))
        return false;
    return make(QStringLiteral("start"));
}

bool BackUpScheduler::tick()
{
    const DateTime now = Now();
    if (!BackUpDue(source_.schedule(), now))
        return false;
    return make(RenderDateTime(QStringLiteral("yyyymmddhhnn"), now));
}

bool BackUpScheduler::make(const QString& dueTime)
{
    QString message;
    try {
        const BackUpResult result = MakeBackUpGeneration(source_, false);
        if (result.made) {
            // Files left out are named once, not at every generation.
            if (!result.message.isEmpty() && result.message != reportedLeftOut_) {
                reportedLeftOut_ = result.message;
                if (report_)
                    report_(result.message);
            }
            return true;
        }
        message = result.message;
    } catch (const AppError& e) {
        message = e.message();
    }
    // The ticks of one due minute try again silently.
    if (reported_ != dueTime) {
        reported_ = dueTime;
        if (report_)
            report_(message);
    }
    return false;
}

} // namespace vn
