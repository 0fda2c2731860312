// The fake platform the window tests run on, and the installed-platform
// registry.
#include "fakeplatform.h"

#include <QSignalSpy>
#include <QtTest>

using namespace vn;
using namespace vn::test;

class TestFakePlatform : public QObject {
    Q_OBJECT
private slots:
    void installedPlatformIsTheFake();
    void hotKeyPressesOnlyWhileRegistered();
    void refusedRegistration();
    void trayRecordsBalloonsAndClicks();
    void servicesRecordRequests();
};

void TestFakePlatform::installedPlatformIsTheFake()
{
    FakePlatform fake = MakeFakePlatform();
    Platform* raw = fake.platform.get();
    SetPlatform(std::move(fake.platform));
    QCOMPARE(&CurrentPlatform(), raw);
    QCOMPARE(CurrentPlatform().hotKey.get(), static_cast<HotKeySource*>(fake.hotKey));
    QCOMPARE(CurrentPlatform().tray.get(), static_cast<TrayIcon*>(fake.tray));
    CurrentPlatform().sound->play(QStringLiteral("a.wav"));
    QCOMPARE(fake.sound->played, QStringList{QStringLiteral("a.wav")});

    FakePlatform second = MakeFakePlatform();
    Platform* secondRaw = second.platform.get();
    SetPlatform(std::move(second.platform));
    QCOMPARE(&CurrentPlatform(), secondRaw);
    SetPlatform(nullptr);
}

void TestFakePlatform::hotKeyPressesOnlyWhileRegistered()
{
    FakePlatform fake = MakeFakePlatform();
    QSignalSpy presses(fake.hotKey, &HotKeySource::pressed);
    fake.hotKey->inject();
    QCOMPARE(presses.count(), 0);
    QVERIFY(fake.platform->hotKey->registerKey(HotKey::Shift));
    fake.hotKey->inject();
    fake.hotKey->inject();
    QCOMPARE(presses.count(), 2);
    fake.platform->hotKey->unregisterKey();
    fake.hotKey->inject();
    QCOMPARE(presses.count(), 2);
    QCOMPARE(fake.hotKey->registrations, QList<HotKey>{HotKey::Shift});
    QCOMPARE(fake.hotKey->unregisterCount, 1);
}

void TestFakePlatform::refusedRegistration()
{
    FakePlatform fake = MakeFakePlatform();
    fake.hotKey->refuseRegistration = true;
    QVERIFY(!fake.platform->hotKey->registerKey(HotKey::Pause));
    QCOMPARE(fake.hotKey->current, HotKey::None);
    fake.hotKey->refuseRegistration = false;
    fake.hotKey->isAvailable = false;
    QVERIFY(!fake.platform->hotKey->available());
    QVERIFY(!fake.platform->hotKey->registerKey(HotKey::Ctrl));
    QCOMPARE(fake.hotKey->registrations, (QList<HotKey>{HotKey::Pause, HotKey::Ctrl}));
}

void TestFakePlatform::trayRecordsBalloonsAndClicks()
{
    FakePlatform fake = MakeFakePlatform();
    TrayIcon& tray = *fake.platform->tray;
    QVERIFY(tray.showBalloon(QStringLiteral("5分前"), QStringLiteral("会議"), 1, 10));
    tray.hideBalloon();
    fake.tray->acceptBalloons = false;
    QVERIFY(!tray.showBalloon(QStringLiteral("x"), QStringLiteral("y"), 2, 30));
    QCOMPARE(fake.tray->balloons.size(), 1);
    QCOMPARE(fake.tray->balloons[0].title, QStringLiteral("5分前"));
    QCOMPARE(fake.tray->balloons[0].text, QStringLiteral("会議"));
    QCOMPARE(fake.tray->balloons[0].iconKind, 1);
    QCOMPARE(fake.tray->balloons[0].seconds, 10);
    QCOMPARE(fake.tray->hideCount, 1);
    QVERIFY(!fake.tray->balloonVisible);

    tray.setToolTip(QStringLiteral("Velnote"));
    tray.setToolTip(QStringLiteral("起動"));
    QCOMPARE(fake.tray->toolTip, QStringLiteral("起動"));
    QCOMPARE(fake.tray->toolTips.size(), 2);

    QSignalSpy clicks(&tray, &TrayIcon::clicked);
    QSignalSpy doubles(&tray, &TrayIcon::doubleClicked);
    fake.tray->injectClick();
    fake.tray->injectDoubleClick();
    fake.tray->injectDoubleClick();
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(doubles.count(), 2);
}

void TestFakePlatform::servicesRecordRequests()
{
    FakePlatform fake = MakeFakePlatform();
    fake.platform->desktop->openUrl(QStringLiteral("https://example.jp/"));
    fake.platform->desktop->openDocument(QStringLiteral("/opt/velnote/Vnote.chm"));
    QVERIFY(fake.platform->desktop->startCalculator());
    fake.desktop->calculatorInstalled = false;
    QVERIFY(!fake.platform->desktop->startCalculator());
    QCOMPARE(fake.desktop->urls, QStringList{QStringLiteral("https://example.jp/")});
    QCOMPARE(fake.desktop->documents, QStringList{QStringLiteral("/opt/velnote/Vnote.chm")});
    QCOMPARE(fake.desktop->calculatorStarts, 1);

    QVERIFY(fake.platform->instanceLock->acquire());
    fake.instanceLock->otherInstanceRunning = true;
    QVERIFY(!fake.platform->instanceLock->acquire());
    QCOMPARE(fake.instanceLock->acquireCount, 2);
}

QTEST_MAIN(TestFakePlatform)
#include "tst_fakeplatform.moc"
