#pragma once
// Key-event bookkeeping behind the show/hide key, kept free of X11 so it can
// be exercised directly: turning a stream of key downs and ups into presses.
#include <cstdint>
#include <optional>
#include <set>

namespace vn {

// Counts each physical press of a grabbed key once. Auto-repeat shows up
// either as further downs without an up in between (detectable auto-repeat)
// or as an up immediately followed by a down with the same time stamp; both
// are ignored.
class SinglePressFilter {
public:
    // True when this down starts a new press.
    bool keyDown(std::uint32_t keycode, std::uint32_t time);
    void keyUp(std::uint32_t keycode, std::uint32_t time);
    void reset();

private:
    std::set<std::uint32_t> down_;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> lastUp_; // keycode, time
};

// Recognises a bare press of a modifier: the modifier key goes down and up
// again with no other key going down in between.
class BareModifierDetector {
public:
    // isTarget: the key is one of the watched modifier keys (either side).
    void keyDown(std::uint32_t keycode, bool isTarget);
    // True when this up completes a bare press.
    bool keyUp(std::uint32_t keycode);
    void reset() { armed_.reset(); }

private:
    std::optional<std::uint32_t> armed_; // the modifier pressed alone so far
};

} // namespace vn
