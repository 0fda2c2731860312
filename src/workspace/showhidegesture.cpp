#include "showhidegesture.h"

namespace vn {

int NormalizedGestureKind(int kind)
{
    return (kind < 0 || kind > 4) ? 1 : kind;
}

int NormalizedGestureInterval(int seconds)
{
    return (seconds < 1 || seconds > 3) ? 1 : seconds;
}

void ShowHideGesture::setKind(int kind)
{
    kind_ = NormalizedGestureKind(kind);
}
void ShowHideGesture::setIntervalSeconds(int s)
{
    interval_ = NormalizedGestureInterval(s);
}

bool ShowHideGesture::press(DateTime now)
{
    if (kind_ == 0)
        return false;
    const qint64 span = SpanMSecs(now, lastPress_);
    if (kind_ == 1 || span < qint64(interval_) * 1000) {
        lastPress_ = 0; // the next press starts a new pair
        return true;
    }
    lastPress_ = now;
    return false;
}

QString ShowHideGesture::menuCaption(bool windowVisible) const
{
    static const char* const kSuffix[] = {"", "   Pause", "  2Pause", "  2Shift", "  2Ctrl"};
    return (windowVisible ? QStringLiteral("非表示(&H)") : QStringLiteral("表示(&S)")) +
           QLatin1String(kSuffix[kind_]);
}

} // namespace vn
