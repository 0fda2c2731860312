#pragma once
// Process-wide flags of the running program.

namespace vn {

struct AppState {
    // The periodic timers of all windows do nothing while set: during
    // start-up (until the search dialog exists) and after a real close.
    bool timersQuiet = false;
    // The next close request really ends the program ("終了(&X)").
    bool exitRequested = false;
    // The desktop session is ending (or the process was asked to stop).
    bool sessionEnding = false;
};

AppState& App();

} // namespace vn
