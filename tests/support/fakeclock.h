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

// A moment written out: At(2009, 1, 5, 12, 0).
inline DateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0)
{
    return EncodeDate(y, m, d) + EncodeTime(h, n, s, ms);
}

} // namespace vn::test
