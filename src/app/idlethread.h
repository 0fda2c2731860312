#pragma once
// Work on a thread of its own that takes only a processor nobody else wants
// (SCHED_IDLE): at start the display server needs the second processor
// while the program connects to it, and read-ahead work that competed with
// it would slow the start it is meant to speed up. Whoever needs the result
// calls finish(), which lifts the thread to normal priority when it is still
// running (so a busy machine cannot starve it) and waits for it.
#include <functional>
#include <mutex>
#include <thread>

namespace vn {

class IdleThread {
public:
    explicit IdleThread(std::function<void()> work);
    ~IdleThread();
    IdleThread(const IdleThread&) = delete;
    IdleThread& operator=(const IdleThread&) = delete;

    // Lifts the work to normal priority, then waits for its end; once done,
    // what the work wrote may be read. Again: nothing.
    void finish();

private:
    std::mutex mutex_;
    bool lifted_ = false; // under mutex_: the thread no longer lowers itself
    std::thread thread_;
};

} // namespace vn
