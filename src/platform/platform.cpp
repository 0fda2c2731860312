#include "platform.h"

#include "flockinstancelock.h"
#include "lazysoundplayer.h"
#include "portalhotkeysource.h"
#include "qtdesktop.h"
#include "qttrayicon.h"
#include "x11hotkeysource.h"

#include <cstdio>

namespace vn {

namespace {

std::unique_ptr<Platform>& Installed()
{
    static std::unique_ptr<Platform> platform;
    return platform;
}

} // namespace

std::unique_ptr<Platform> CreateDesktopPlatform()
{
    auto platform = std::make_unique<Platform>();
    // X11 where there is X11; elsewhere (Wayland) the desktop portal, when
    // it offers global shortcuts.
    auto x11 = std::make_unique<X11HotKeySource>();
    if (!x11->available() && PortalHotKeySource::Offered(QDBusConnection::sessionBus()))
        platform->hotKey = std::make_unique<PortalHotKeySource>();
    else
        platform->hotKey = std::move(x11);
    platform->tray = std::make_unique<QtTrayIcon>();
    platform->sound = std::make_unique<LazySoundPlayer>(LazySoundPlayer::DefaultModulePath());
    platform->desktop = std::make_unique<QtDesktop>();
    platform->instanceLock = std::make_unique<FlockInstanceLock>();
    if (!platform->hotKey->available())
        std::fputs("Velnote: the show/hide key is not available on this desktop\n", stderr);
    return platform;
}

Platform& CurrentPlatform()
{
    // The application installs its platform at start and takes it down
    // again (SetPlatform(nullptr)) before the QApplication goes.
    std::unique_ptr<Platform>& platform = Installed();
    if (!platform)
        platform = CreateDesktopPlatform();
    return *platform;
}

void SetPlatform(std::unique_ptr<Platform> platform)
{
    Installed() = std::move(platform);
}

} // namespace vn
