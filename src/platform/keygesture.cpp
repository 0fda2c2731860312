#include "keygesture.h"

namespace vn {

bool SinglePressFilter::keyDown(std::uint32_t keycode, std::uint32_t time)
{
    const bool repeatAfterUp = lastUp_ && lastUp_->first == keycode && lastUp_->second == time;
    lastUp_.reset();
    const bool alreadyDown = !down_.insert(keycode).second;
    return !alreadyDown && !repeatAfterUp;
}

void SinglePressFilter::keyUp(std::uint32_t keycode, std::uint32_t time)
{
    down_.erase(keycode);
    lastUp_ = std::pair{keycode, time};
}

void SinglePressFilter::reset()
{
    down_.clear();
    lastUp_.reset();
}

void BareModifierDetector::keyDown(std::uint32_t keycode, bool isTarget)
{
    if (armed_ && *armed_ == keycode)
        return; // auto-repeat of the modifier itself
    if (isTarget && !armed_) {
        armed_ = keycode;
        return;
    }
    // Any other key, including the modifier of the other side, spoils it.
    armed_.reset();
}

bool BareModifierDetector::keyUp(std::uint32_t keycode)
{
    if (!armed_ || *armed_ != keycode)
        return false;
    armed_.reset();
    return true;
}

} // namespace vn
