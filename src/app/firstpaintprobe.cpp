#include "firstpaintprobe.h"

#include "foundation/startuptrace.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace vn {

namespace {

// The resident memory of the process in kB, from /proc.
long long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// The first second after the first paint: times every turn of the event
// loop (from its first event to the next wait), then prints the longest and
// the resident memory and ends the process.
class SettlingWatch : public QObject {
public:
    explicit SettlingWatch(int msecs)
    {
        qApp->installEventFilter(this);
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            // The turn of the first paint itself is the start-up's, not counted.
            if (turnStart_ > 0)
                longest_ = std::max(longest_, MonotonicNs() - turnStart_);
            turnStart_ = 0;
            counting_ = true;
        });
        QTimer::singleShot(msecs, this, [this] {
            std::printf("longest-turn %lld\n", longest_);
            std::printf("resident-kb %lld\n", ResidentKb());
            std::fflush(stdout);
            std::_Exit(0);
        });
    }

    bool eventFilter(QObject*, QEvent*) override
    {
        if (turnStart_ == 0 && counting_)
            turnStart_ = MonotonicNs();
        return false;
    }

private:
    long long turnStart_ = 0;
    long long longest_ = 0;
    bool counting_ = false; // from the turn after the first paint's
};

class Probe : public QObject {
public:
    Probe(bool exitAfter, QObject* parent) : QObject(parent), exitAfter_(exitAfter) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            const long long now = MonotonicNs();
            PrintStartupPhases();
            std::printf("first-paint %lld\n", now);
            std::fflush(stdout);
            if (exitAfter_)
                QTimer::singleShot(0, qApp, [] { std::_Exit(0); });
            else if (const int msecs = qEnvironmentVariableIntValue("VELNOTE_SETTLING_MSECS"))
                new SettlingWatch(msecs);
        }
        return false;
    }

private:
    bool exitAfter_;
    bool done_ = false;
};
class AfterPaint : public QObject {
public:
    AfterPaint(QWidget* window, std::function<void()> work)
        : QObject(window), work_(std::move(work))
    {
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            runSoon();
        return false;
    }
    // The work waits for the turn after this one: the paint in progress
    // finishes and reaches the screen first.
    void runSoon()
    {
        if (posted_)
            return;
        posted_ = true;
        QTimer::singleShot(0, this, [this] {
            std::function<void()> work = std::move(work_);
            deleteLater();
            work();
        });
    }

private:
    std::function<void()> work_;
    bool posted_ = false;
};

} // namespace

void AfterFirstPaint(QWidget* window, bool shown, std::function<void()> work, int fallbackMSecs)
{
    auto* after = new AfterPaint(window, std::move(work));
    if (!shown) {
        after->runSoon();
        return;
    }
    window->installEventFilter(after);
    QTimer::singleShot(fallbackMSecs, after, [after] { after->runSoon(); });
}

void InstallFirstPaintProbe(QWidget* window)
{
    const bool exitAfter = !qEnvironmentVariableIsEmpty("VELNOTE_EXIT_AFTER_FIRST_PAINT");
    if (!exitAfter && qEnvironmentVariableIsEmpty("VELNOTE_REPORT_FIRST_PAINT"))
        return;
    // The first paint counts once the calendar has been painted too, when shown.
    QWidget* target = window;
    if (auto* calendar = window->findChild<QWidget*>(QStringLiteral("CalendarView1")))
        if (calendar->isVisibleTo(window))
            target = calendar;
    target->installEventFilter(new Probe(exitAfter, target));
}

} // namespace vn
