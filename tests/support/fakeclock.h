#pragma once
// A clock that stands still until a test moves it.
#include "foundation/clock.h"

namespace vn::test {

class FakeClock : public Clock {
public:
    explicit FakeClock(DateTime start = 0) : now_(start) { SetClock(this); }
    ~FakeClock() override { SetClock(nullptr); }
    DateTime now() const override { return now_; }
    qint64 tickCount() const override { return ticks_; }
    void set(DateTime v) { now_ = v; }
    void advanceMSecs(qint64 ms)
    {
        now_ += double(ms) / kMSecsPerDay;
        ticks_ += ms;
    }

private:
    DateTime now_;
    qint64 ticks_ = 0;
};

} // namespace vn::test
