#pragma once
// The automatic generations of the running program: a catch-up generation at
// start-up when the newest one is older than the schedule allows, and the
// scheduled one in its minute (asked every 15 seconds). A generation that
// fails is reported once for its due time, leaves the earlier generations as
// they were, and is tried again at the next due time. Files left out of a
// generation (not regular files) are reported once.
#include "backupgenerations.h"

#include <functional>

namespace vn {

class BackUpScheduler {
public:
    using Report = std::function<void(const QString& message)>;

    BackUpScheduler(const BackUpSource& source, Report report);

    // At start-up; true when a generation was made.
    bool catchUp();
    // Every quarter minute; true when a generation was made.
    bool tick();

private:
    bool make(const QString& dueTime);

    const BackUpSource& source_;
    Report report_;
    QString reported_;        // the due time whose failure was reported
    QString reportedLeftOut_; // the files left out of a generation, reported
};

} // namespace vn
