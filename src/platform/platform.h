#pragma once
// The desktop facilities the program uses, behind small interfaces so tests
// can swap in fakes. Only src/platform knows about X11.
#include "desktop.h"
#include "hotkeysource.h"
#include "trayicon.h"

#include <memory>

namespace vn {

struct Platform {
    std::unique_ptr<HotKeySource> hotKey;
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<SoundPlayer> sound;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<InstanceLock> instanceLock;
};

// The real facilities of this desktop.
std::unique_ptr<Platform> CreateDesktopPlatform();

// The platform in use; the application installs it at start, tests a fake.
// Asked before anything was installed, it installs the desktop's own. The
// application takes it down again (SetPlatform(nullptr)) while its
// QApplication still exists: tray icon and X connection die with that.
Platform& CurrentPlatform();
void SetPlatform(std::unique_ptr<Platform> platform);

} // namespace vn
