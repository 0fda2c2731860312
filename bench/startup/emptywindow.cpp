// The yardstick: a minimal Qt Widgets program that shows an empty main
// window, with the same first-paint report as Velnote.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {
class Probe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            timespec ts;
            clock_gettime(CLOCK_MONOTONIC, &ts);
            std::printf("first-paint %lld\n", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { std::_Exit(0); });
        }
        return false;
    }
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.resize(761, 526);
    Probe probe;
    w.installEventFilter(&probe);
    w.show();
    return app.exec();
}
