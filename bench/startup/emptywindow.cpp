// The yardstick: a minimal Qt Widgets program that shows an empty main
// window, with the same first-paint report as Velnote. With the argument
// "japanese" the window shows one line of Japanese text instead, which costs
// the font set-up (fontconfig matching of the Japanese fonts) that any
// window with text pays. With VELNOTE_SETTLING_MSECS set it runs that long
// after the first paint and prints the longest event-loop turn and its
// resident memory, as Velnote does.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<const char*, long long>> phases;
void mark(const char* name)
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    phases.emplace_back(name, (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
}

long long nowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

long long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// A turn of the event loop: from its first event to the next wait.
long long turnStart = 0, longest = 0;
bool counting = false;
class TurnStart : public QObject {
public:
    bool eventFilter(QObject*, QEvent*) override
    {
        if (turnStart == 0 && counting)
            turnStart = nowNs();
        return false;
    }
};

void watchSettling(int msecs)
{
    qApp->installEventFilter(new TurnStart);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] {
        if (turnStart > 0)
            longest = std::max(longest, nowNs() - turnStart);
        turnStart = 0;
        counting = true;
    });
    QTimer::singleShot(msecs, [] {
        std::printf("longest-turn %lld\nresident-kb %lld\n", longest, residentKb());
        std::fflush(stdout);
        std::_Exit(0);
    });
}

class Probe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            timespec ts;
            clock_gettime(CLOCK_MONOTONIC, &ts);
            for (const auto& [name, ns] : phases)
                std::printf("phase %s %lld\n", name, ns);
            std::printf("first-paint %lld\n", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
            std::fflush(stdout);
            if (const int msecs = qEnvironmentVariableIntValue("VELNOTE_SETTLING_MSECS"))
                watchSettling(msecs);
            else
                QTimer::singleShot(0, qApp, [] { std::_Exit(0); });
        }
        return false;
    }

private:
    bool done_ = false;
};
} // namespace

int main(int argc, char** argv)
{
    mark("loading the program and its libraries");
    QApplication app(argc, argv);
    mark("QApplication (display connection, style, program icon)");
    QMainWindow w;
    w.resize(761, 526);
    if (argc > 1 && QByteArray(argv[1]) == "japanese") {
        QFont f(QStringLiteral("IPAPGothic"));
        f.setPixelSize(12);
        auto* label = new QLabel(QStringLiteral("メモ１ 2026/12/09(水)"), &w);
        label->setFont(f);
        w.setCentralWidget(label);
    }
    mark("the window");
    Probe probe;
    w.installEventFilter(&probe);
    w.show();
    return app.exec();
}
