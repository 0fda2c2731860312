// The tray icon and the program icon, on the offscreen platform (no tray).
#include "platform/programicon.h"
#include "platform/qttrayicon.h"

#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace vn;

namespace {

// No notification service, whatever session bus the test runs on.
struct NoService final : NotificationService {
    bool available() override { return false; }
    void notify(const QString&, const QString&, int, int) override {}
    void close() override {}
};

} // namespace

class TestTrayIcon : public QObject {
    Q_OBJECT
private slots:
    void balloonIcons_data();
    void balloonIcons();
    void clickAndDoubleClick();
    void otherActivationsAreNotClicks();
    void toolTipAndMenu();
    void balloonRefusedWithoutTray();
    void balloonRoutes_data();
    void balloonRoutes();
    void programIconIsDrawnInBothSizes();
};

void TestTrayIcon::balloonIcons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::newRow("none") << 0 << int(QSystemTrayIcon::NoIcon);
    QTest::newRow("information") << 1 << int(QSystemTrayIcon::Information);
    QTest::newRow("warning") << 2 << int(QSystemTrayIcon::Warning);
    QTest::newRow("error") << 3 << int(QSystemTrayIcon::Critical);
    QTest::newRow("unknown") << 4 << int(QSystemTrayIcon::NoIcon);
    QTest::newRow("negative") << -1 << int(QSystemTrayIcon::NoIcon);
}

void TestTrayIcon::balloonIcons()
{
    QFETCH(int, kind);
    QFETCH(int, icon);
    QCOMPARE(int(BalloonIconForKind(kind)), icon);
}

void TestTrayIcon::clickAndDoubleClick()
{
    QtTrayIcon tray;
    QSignalSpy clicks(&tray, &TrayIcon::clicked);
    QSignalSpy doubles(&tray, &TrayIcon::doubleClicked);
    emit tray.systemTrayIcon()->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(doubles.count(), 0);
    emit tray.systemTrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(doubles.count(), 1);
}

void TestTrayIcon::otherActivationsAreNotClicks()
{
    QtTrayIcon tray;
    QSignalSpy clicks(&tray, &TrayIcon::clicked);
    QSignalSpy doubles(&tray, &TrayIcon::doubleClicked);
    emit tray.systemTrayIcon()->activated(QSystemTrayIcon::Context);
    emit tray.systemTrayIcon()->activated(QSystemTrayIcon::MiddleClick);
    emit tray.systemTrayIcon()->activated(QSystemTrayIcon::Unknown);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(doubles.count(), 0);
}

void TestTrayIcon::toolTipAndMenu()
{
    QtTrayIcon tray;
    QCOMPARE(tray.systemTrayIcon()->toolTip(), QStringLiteral("Velnote"));
    tray.setToolTip(QStringLiteral("起動時間 01:02"));
    QCOMPARE(tray.systemTrayIcon()->toolTip(), QStringLiteral("起動時間 01:02"));
    QMenu menu;
    tray.setContextMenu(&menu);
    QCOMPARE(tray.systemTrayIcon()->contextMenu(), &menu);
    tray.setContextMenu(nullptr);
}

void TestTrayIcon::balloonRefusedWithoutTray()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("this platform has a tray");
    QtTrayIcon tray(nullptr, std::make_unique<NoService>());
    tray.show();
    QVERIFY(!tray.showBalloon(QStringLiteral("5分前"), QStringLiteral("10:00 会議"), 1, 10));
    tray.hideBalloon(); // nothing shown, nothing to remove
}

void TestTrayIcon::balloonRoutes_data()
{
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<BalloonRoute>("route");
    // The start-up balloon comes before the tray has taken the icon in: it
    // waits rather than point at the screen's corner.
    QTest::newRow("icon not placed yet") << false << true << true << false << BalloonRoute::Wait;
    QTest::newRow("icon placed") << false << true << true << true << BalloonRoute::AtIcon;
    QTest::newRow("service, icon not placed")
        << true << true << true << false << BalloonRoute::Notification;
    QTest::newRow("service, icon placed")
        << true << true << true << true << BalloonRoute::Notification;
    QTest::newRow("service, no tray")
        << true << false << false << false << BalloonRoute::Notification;
    QTest::newRow("no tray") << false << false << true << true << BalloonRoute::Refused;
    QTest::newRow("icon hidden") << false << true << false << true << BalloonRoute::Refused;
}

void TestTrayIcon::balloonRoutes()
{
    QFETCH(bool, service);
    QFETCH(bool, tray);
    QFETCH(bool, visible);
    QFETCH(bool, placed);
    QFETCH(BalloonRoute, route);
    QCOMPARE(RouteBalloon({service, tray, visible, placed}), route);
}

void TestTrayIcon::programIconIsDrawnInBothSizes()
{
    const QIcon icon = ProgramIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));
    for (int size : {16, 32}) {
        const QImage image = DrawMemoPadGlyph(size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // A sheet in the middle, open space in the corners.
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
        const QRgb middle = image.pixel(size * 3 / 16, size * 10 / 16); // below the lines
        QVERIFY2(qRed(middle) > 200 && qGreen(middle) > 180 && qBlue(middle) < 160,
                 "the sheet is not yellow");
    }
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
