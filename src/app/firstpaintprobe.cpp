#include "firstpaintprobe.h"

#include "foundation/startuptrace.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace vn {

namespace {
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
        }
        return false;
    }

private:
    bool exitAfter_;
    bool done_ = false;
};
} // namespace

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
