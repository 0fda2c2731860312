// The yardstick: a minimal Qt Widgets program that shows an empty main
// window, with the same first-paint report as Velnote. With the argument
// "japanese" the window shows one line of Japanese text instead, which costs
// the font set-up (fontconfig matching of the Japanese fonts) that any
// window with text pays.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

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

class Probe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            timespec ts;
            clock_gettime(CLOCK_MONOTONIC, &ts);
            for (const auto& [name, ns] : phases)
                std::printf("phase %s %lld\n", name, ns);
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
