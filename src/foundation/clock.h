#pragma once
// The one source of the current time. Tests install a fake.
#include "datetime.h"

namespace vn {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    // Milliseconds since some fixed moment, never going back.
    virtual qint64 tickCount() const = 0;
};

Clock& CurrentClock();
// Installs a clock (not owned); nullptr restores the system clock.
void SetClock(Clock* clock);
inline DateTime Now()
{
    return CurrentClock().now();
}
inline DateTime Today()
{
    return DateOnly(Now());
}

} // namespace vn
