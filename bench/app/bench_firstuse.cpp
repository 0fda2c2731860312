// The first use of each secondary window: nothing of it is made at start,
// so the click that asks for it pays for making and wiring it and for its
// first paint. Each window is measured as the first one opened, in a fresh
// process (the first window also pays for what any first window pays), over
// the main window on a typical data folder. Prints medians, the slowest,
// and its budget line (one frame).
//
//   bench_firstuse <data folder> [runs]
#include "app/application.h"
#include "app/backgroundjobs.h"
#include "app/secondarywindows.h"
#include "app/startjobs.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "foundation/paths.h"
#include "monotonic.h"
#include "widgets/colorref.h"
#include "workspace/mainwindow.h"
#include "workspace/traycontroller.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vn;
using vn::bench::MonotonicNs;

namespace {

struct Kind {
    const char* name;
    std::function<QDialog*(SecondaryWindows&)> get;
};

const std::vector<Kind>& kinds()
{
    static const std::vector<Kind> k = {
        {"run record", [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.runRecord(); }},
        {"period", [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.period(); }},
        {"schedule list",
         [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.scheduleList(); }},
        {"schedule editor",
         [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.scheduleEditor(); }},
        {"holiday list", [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.holidayList(); }},
        {"holiday editor",
         [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.holidayEditor(); }},
        {"balloon hint editor",
         [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.balloonHintEditor(); }},
        {"balloon hint list",
         [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.balloonHintList(); }},
        {"search", [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.search(); }},
        {"restore", [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.restore(); }},
        {"settings", [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.settings(); }},
        {"backup information",
         [](SecondaryWindows& s) -> QDialog* { return (QDialog*)s.backUpInfo(); }},
    };
    return k;
}

// Notes the moment of a widget's first paint.
class PaintWatch : public QObject {
public:
    long long paintedAt = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && paintedAt == 0)
            paintedAt = MonotonicNs();
        return false;
    }
};

// One window, first in a fresh process: ms from asking to its first paint.
int measureOne(int argc, char** argv, int which, const QString& folder)
{
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    auto fake = test::MakeFakePlatform();
    SetPlatform(std::move(fake.platform));
    SetAppLocation(folder, QStringLiteral("Vnote"));
    Windows w;
    CreateMainWindow(w);
    MainWindow* main = w.memo.get();
    auto* tray = new TrayController(main);
    BackgroundJobs* jobs = StartBackgroundJobs(main);
    auto* secondary = new SecondaryWindows(w, tray, jobs);
    StartWithoutTheWindows(w);
    main->ShowMainWindow();
    if (!QTest::qWaitForWindowExposed(main))
        return 1;
    QTest::qWait(200); // the start's own work is done
    PaintWatch watch;
    const long long asked = MonotonicNs();
    QDialog* window = kinds()[size_t(which)].get(*secondary);
    window->installEventFilter(&watch);
    window->show();
    while (watch.paintedAt == 0 && MonotonicNs() - asked < 5'000'000'000LL)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("%.2f\n", (watch.paintedAt - asked) / 1e6);
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && QByteArray(argv[1]) == "--one")
        return measureOne(argc, argv, std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <data folder> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::printf("first use of each window: asked for, made, wired and painted, as the first\n"
                "window opened (median of %d fresh processes, ms)\n",
                runs);
    double slowest = 0;
    const char* slowestName = "";
    for (size_t k = 0; k < kinds().size(); ++k) {
        std::vector<double> ms;
        for (int r = 0; r < runs; ++r) {
            QProcess child;
            child.start(
                QString::fromLocal8Bit(argv[0]),
                {QStringLiteral("--one"), QString::number(k), QString::fromLocal8Bit(argv[1])});
            child.waitForFinished(60000);
            bool ok = false;
            const double v = child.readAllStandardOutput().trimmed().toDouble(&ok);
            if (ok)
                ms.push_back(v);
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms.empty() ? -1 : ms[ms.size() / 2];
        std::printf("  %7.1f  %s\n", median, kinds()[k].name);
        if (median > slowest) {
            slowest = median;
            slowestName = kinds()[k].name;
        }
    }
    std::printf("slowest: %s\n", slowestName);
    std::printf("budget|first use of the slowest window (%s)|%.1f|ms|16\n", slowestName, slowest);
    return 0;
}
