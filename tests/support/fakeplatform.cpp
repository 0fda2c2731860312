#include "fakeplatform.h"

namespace vn::test {

bool FakeHotKeySource::registerKey(HotKey key)
{
    registrations.append(key);
    const bool ok = isAvailable && !refuseRegistration && key != HotKey::None;
    current = ok ? key : HotKey::None;
    return ok;
}

void FakeHotKeySource::unregisterKey()
{
    ++unregisterCount;
    current = HotKey::None;
}

void FakeHotKeySource::inject()
{
    if (current != HotKey::None)
        emit pressed();
}

void FakeTrayIcon::setToolTip(const QString& text)
{
    toolTip = text;
    toolTips.append(text);
}

bool FakeTrayIcon::showBalloon(const QString& title, const QString& text, int iconKind, int seconds)
{
    if (!acceptBalloons)
        return false;
    balloons.append({title, text, iconKind, seconds});
    balloonVisible = true;
    return true;
}

void FakeTrayIcon::hideBalloon()
{
    ++hideCount;
    balloonVisible = false;
}

bool FakeDesktop::startCalculator()
{
    if (!calculatorInstalled)
        return false;
    ++calculatorStarts;
    return true;
}

bool FakeInstanceLock::acquire()
{
    ++acquireCount;
    return !otherInstanceRunning;
}

FakePlatform MakeFakePlatform()
{
    FakePlatform fake;
    fake.platform = std::make_unique<Platform>();
    auto hotKey = std::make_unique<FakeHotKeySource>();
    auto tray = std::make_unique<FakeTrayIcon>();
    auto sound = std::make_unique<FakeSoundPlayer>();
    auto desktop = std::make_unique<FakeDesktop>();
    auto lock = std::make_unique<FakeInstanceLock>();
    fake.hotKey = hotKey.get();
    fake.tray = tray.get();
    fake.sound = sound.get();
    fake.desktop = desktop.get();
    fake.instanceLock = lock.get();
    fake.platform->hotKey = std::move(hotKey);
    fake.platform->tray = std::move(tray);
    fake.platform->sound = std::move(sound);
    fake.platform->desktop = std::move(desktop);
    fake.platform->instanceLock = std::move(lock);
    return fake;
}

} // namespace vn::test
