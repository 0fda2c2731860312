#include "idlethread.h"

#include <pthread.h>
#include <sched.h>

namespace vn {

namespace {

void setPolicy(pthread_t thread, int policy)
{
    sched_param param{};
    param.sched_priority = 0;
    pthread_setschedparam(thread, policy, &param); // best effort: a refusal only costs speed
}

} // namespace

IdleThread::IdleThread(std::function<void()> work)
{
    thread_ = std::thread([this, work = std::move(work)] {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!lifted_)
                setPolicy(pthread_self(), SCHED_IDLE);
        }
        work();
    });
}

IdleThread::~IdleThread()
{
    finish();
}

void IdleThread::finish()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        lifted_ = true;
        setPolicy(thread_.native_handle(), SCHED_OTHER);
    }
    thread_.join();
}

} // namespace vn
