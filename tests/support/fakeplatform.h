#pragma once
// Fakes of the platform facilities that record what the program asked of
// them, and let a test play the user's part (key presses, tray clicks).
#include "platform/platform.h"

#include <QList>
#include <QStringList>
#include <memory>

namespace vn::test {

class FakeHotKeySource final : public HotKeySource {
    Q_OBJECT
public:
    bool registerKey(HotKey key) override;
    void unregisterKey() override;
    bool available() const override { return isAvailable; }

    // Plays one press of the registered key; nothing when none is registered.
    void inject();

    bool isAvailable = true;
    bool refuseRegistration = false; // as when another program holds the key
    QList<HotKey> registrations;     // every registerKey call, in order
    HotKey current = HotKey::None;
    int unregisterCount = 0;
};

struct Balloon {
    QString title;
    QString text;
    int iconKind = 0;
    int seconds = 0;
};

class FakeTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    void show() override { shown = true; }
    void setToolTip(const QString& text) override;
    void setContextMenu(QMenu* menu) override { contextMenu = menu; }
    bool showBalloon(const QString& title, const QString& text, int iconKind, int seconds) override;
    void hideBalloon() override;

    void injectClick() { emit clicked(); }
    void injectDoubleClick() { emit doubleClicked(); }

    bool shown = false;
    QString toolTip;
    QStringList toolTips; // every tooltip set, in order
    QMenu* contextMenu = nullptr;
    bool acceptBalloons = true;
    QList<Balloon> balloons; // accepted balloons, in order
    int hideCount = 0;
    bool balloonVisible = false;
};

class FakeSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& path) override { played.append(path); }
    QStringList played;
};

class FakeDesktop final : public Desktop {
public:
    void openUrl(const QString& url) override { urls.append(url); }
    bool openDocument(const QString& path) override
    {
        documents.append(path);
        return canOpenDocuments;
    }
    bool startCalculator() override;

    QStringList urls;
    QStringList documents;
    bool canOpenDocuments = true; // false: as without xdg-open
    bool calculatorInstalled = true;
    int calculatorStarts = 0; // successful starts only
};

class FakeInstanceLock final : public InstanceLock {
public:
    bool acquire() override;
    bool otherInstanceRunning = false;
    int acquireCount = 0;
};

struct FakePlatform {
    std::unique_ptr<Platform> platform;
    FakeHotKeySource* hotKey = nullptr;
    FakeTrayIcon* tray = nullptr;
    FakeSoundPlayer* sound = nullptr;
    FakeDesktop* desktop = nullptr;
    FakeInstanceLock* instanceLock = nullptr;
};

// A platform made of fakes. The pointers stay valid as long as the platform
// lives, also after it has been handed to SetPlatform.
FakePlatform MakeFakePlatform();

} // namespace vn::test
