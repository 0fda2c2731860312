#pragma once
// The show/hide key gesture: a single Pause press, or a double press of
// Pause, Shift or Ctrl within one to three seconds.
#include "foundation/datetime.h"

#include <QString>

namespace vn {

class ShowHideGesture {
public:
    // Kind 0 ignore, 1 Pause once, 2 Pause twice, 3 Shift twice, 4 Ctrl
    // twice (outside 0..4: 1); interval in seconds 1..3 (outside: 1).
    void setKind(int kind);
    void setIntervalSeconds(int seconds);
    int kind() const { return kind_; }
    int intervalSeconds() const { return interval_; }

    // One press of the registered key at `now`; true when the window toggles.
    bool press(DateTime now);
    DateTime lastPressTime() const { return lastPress_; }
    void reset() { lastPress_ = 0; }

    // Caption of the tray menu's show/hide item.
    QString menuCaption(bool windowVisible) const;

private:
    int kind_ = 1;
    int interval_ = 1;
    DateTime lastPress_ = 0;
};

int NormalizedGestureKind(int kind);
int NormalizedGestureInterval(int seconds);

} // namespace vn
