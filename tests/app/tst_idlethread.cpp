#include "app/idlethread.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <sched.h>
#include <thread>

using namespace vn;

class TstIdleThread : public QObject {
    Q_OBJECT
private slots:
    // The work runs at idle priority until someone waits for it; the wait
    // lifts it to normal priority, so it ends even when it would starve,
    // and what it wrote is there afterwards.
    void runsIdleUntilWaitedForThenNormally()
    {
        std::atomic<bool> started = false;
        int policyAtStart = -1, policyAtEnd = -1;
        IdleThread thread([&] {
            policyAtStart = sched_getscheduler(0);
            started = true;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (sched_getscheduler(0) != SCHED_OTHER &&
                   std::chrono::steady_clock::now() < giveUp)
                std::this_thread::yield();
            policyAtEnd = sched_getscheduler(0);
        });
        while (!started)
            std::this_thread::yield();
        thread.finish();
        QCOMPARE(policyAtStart, SCHED_IDLE);
        QCOMPARE(policyAtEnd, SCHED_OTHER);
        thread.finish(); // again: nothing
    }
};

QTEST_GUILESS_MAIN(TstIdleThread)
#include "tst_idlethread.moc"
