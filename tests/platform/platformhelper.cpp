// A second process for the platform tests.
//   platformhelper lock <path> [spawn]  takes the instance lock and prints
//       "locked" or "busy"; with "spawn" it then starts a long-running child,
//       prints the child's process id and ends; otherwise it holds the lock
//       until its standard input closes or it is killed.
//   platformhelper factory  builds the desktop platform, tries to register
//       the Pause key and prints "registered" or "refused".
#include "platform/flockinstancelock.h"
#include "platform/platform.h"

#include <QApplication>
#include <QProcess>
#include <cstdio>
#include <cstring>

namespace {

int HoldLock(const char* path, bool spawn)
{
    vn::FlockInstanceLock lock(QString::fromLocal8Bit(path));
    const bool ok = lock.acquire();
    std::puts(ok ? "locked" : "busy");
    std::fflush(stdout);
    if (!ok)
        return 0;
    if (spawn) {
        qint64 pid = 0;
        if (!QProcess::startDetached(QStringLiteral("sleep"), {QStringLiteral("300")}, {}, &pid))
            return 2;
        std::printf("%lld\n", static_cast<long long>(pid));
        std::fflush(stdout);
        return 0;
    }
    while (std::getchar() != EOF) {
    }
    return 0;
}

int BuildPlatform(int argc, char** argv)
{
    QApplication app(argc, argv);
    vn::SetPlatform(vn::CreateDesktopPlatform());
    const bool ok = vn::CurrentPlatform().hotKey->registerKey(vn::HotKey::Pause);
    std::puts(ok ? "registered" : "refused");
    vn::SetPlatform(nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "lock") == 0)
        return HoldLock(argv[2], argc >= 4 && std::strcmp(argv[3], "spawn") == 0);
    if (argc >= 2 && std::strcmp(argv[1], "factory") == 0)
        return BuildPlatform(argc, argv);
    std::fputs("usage: platformhelper lock <path> [spawn] | factory\n", stderr);
    return 2;
}
