// The tray icon in a real notification area: a private Xvfb with trayer as
// the tray, clicks typed with xdotool.
#include "platform/qttrayicon.h"
#include "xvfbsession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <functional>
#include <xcb/xcb.h>

using namespace vn;
using namespace vn::test;

namespace {

XvfbSession* g_server = nullptr;

// Lets the event loop run until done() holds; the deadline only guards
// against a hang.
bool WaitUntil(const std::function<bool()>& done)
{
    QElapsedTimer guard;
    guard.start();
    while (!done() && guard.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// Where the docked icon really is. QSystemTrayIcon::geometry() answers in
// the tray's coordinates, so ask the server about the icon's own window.
// Qt draws the balloons itself where the tray is an XEmbed one.
int ShownBalloons()
{
    const QWidgetList widgets = QApplication::allWidgets();
    return int(std::count_if(widgets.begin(), widgets.end(), [](QWidget* w) {
        return w->inherits("QBalloonTip") && w->isVisible();
    }));
}

// The window Qt docks into the tray for the icon.
QWidget* IconWidget()
{
    const QWidgetList widgets = QApplication::allWidgets();
    auto it = std::find_if(widgets.begin(), widgets.end(), [](QWidget* w) {
        return w->inherits("QSystemTrayIconSys") && w->testAttribute(Qt::WA_WState_Created);
    });
    return it == widgets.end() ? nullptr : *it;
}

QPoint IconCentreOnScreen()
{
    QWidget* icon = IconWidget();
    if (!icon)
        return {};
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* conn = x11->connection();
    const xcb_window_t window = icon->winId();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    // Not placed until the tray has taken the window in.
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr);
    const bool docked = tree && tree->parent != root;
    std::free(tree);
    if (!docked)
        return {};
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        conn, xcb_translate_coordinates(conn, window, root, 0, 0), nullptr);
    if (!reply)
        return {};
    const QPoint centre(reply->dst_x + icon->width() / 2, reply->dst_y + icon->height() / 2);
    std::free(reply);
    return centre;
}

} // namespace

class TestX11Tray : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void iconSitsInTheTray();
    void clickAndDoubleClick();
    void balloonsAreAccepted();
    void theFirstBalloonWaitsForTheIconsPlace();

private:
    void clickIcon(int repeat);

    QProcess trayer_;
    std::unique_ptr<QtTrayIcon> tray_;
};

void TestX11Tray::initTestCase()
{
    if (!g_server || !g_server->running())
        QSKIP(qPrintable(g_server->error()));
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty())
        QSKIP("trayer is not installed");
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), g_server->display());
    trayer_.setProcessEnvironment(env);
    trayer_.start(QStringLiteral("trayer"),
                  {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--widthtype"),
                   QStringLiteral("pixel"), QStringLiteral("--width"), QStringLiteral("200")});
    QVERIFY(trayer_.waitForStarted());
    QVERIFY2(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
             "trayer did not take the tray");

    tray_ = std::make_unique<QtTrayIcon>();
    tray_->show();
    QVERIFY2(WaitUntil([] { return !IconCentreOnScreen().isNull(); }), "the icon was not docked");
}

void TestX11Tray::cleanupTestCase()
{
    tray_.reset();
    if (trayer_.state() != QProcess::NotRunning) {
        trayer_.kill();
        trayer_.waitForFinished();
    }
}

void TestX11Tray::iconSitsInTheTray()
{
    QSystemTrayIcon* icon = tray_->systemTrayIcon();
    QVERIFY(icon->isVisible());
    QVERIFY(!icon->icon().isNull());
    QCOMPARE(icon->toolTip(), QStringLiteral("Velnote"));
}

void TestX11Tray::clickIcon(int repeat)
{
    const QPoint centre = IconCentreOnScreen();
    QVERIFY(!centre.isNull());
    // Into the icon first, so that it has seen the pointer come in.
    QVERIFY(RunXdotool(g_server->display(),
                       {"mousemove", QString::number(centre.x()), QString::number(centre.y())}));
    QVERIFY2(WaitUntil([] { return IconWidget() && IconWidget()->underMouse(); }),
             "the pointer did not enter the icon");
    QVERIFY(RunXdotool(g_server->display(),
                       {"click", "--repeat", QString::number(repeat), "--delay", "50", "1"}));
}

void TestX11Tray::clickAndDoubleClick()
{
    QSignalSpy clicks(tray_.get(), &TrayIcon::clicked);
    QSignalSpy doubles(tray_.get(), &TrayIcon::doubleClicked);
    clickIcon(1);
    QVERIFY(WaitUntil([&] { return clicks.count() >= 1; }));
    QCOMPARE(doubles.count(), 0);

    clickIcon(2);
    QVERIFY(WaitUntil([&] { return doubles.count() >= 1; }));
    QCOMPARE(doubles.count(), 1);
}

void TestX11Tray::balloonsAreAccepted()
{
    QVERIFY(QSystemTrayIcon::supportsMessages());
    QVERIFY(tray_->showBalloon(QStringLiteral("5分前"), QStringLiteral("10:00 会議"), 1, 10));
    QCOMPARE(ShownBalloons(), 1);
    // A second balloon replaces the first at once.
    QVERIFY(tray_->showBalloon(QStringLiteral("予定"), QStringLiteral("次の予定"), 2, 30));
    QCOMPARE(ShownBalloons(), 1);
    tray_->hideBalloon();
    QVERIFY(WaitUntil([] { return ShownBalloons() == 0; }));
    tray_->hideBalloon();
    QCOMPARE(ShownBalloons(), 0);
}

void TestX11Tray::theFirstBalloonWaitsForTheIconsPlace()
{
    // A balloon asked for as the icon is shown, before the tray has taken it
    // in, as the start-up balloon is: shown by the icon once it is docked,
    // never at the screen's corner where the icon window stood before.
    struct NoService final : NotificationService {
        bool available() override { return false; }
        void notify(const QString&, const QString&, int, int) override {}
        void close() override {}
    };
    tray_.reset();
    QVERIFY(WaitUntil([] { return !IconWidget(); }));
    tray_ = std::make_unique<QtTrayIcon>(nullptr, std::make_unique<NoService>());
    tray_->show();
    QVERIFY(tray_->showBalloon(QStringLiteral("本日の予定 [大安]"),
                               QStringLiteral("予定はありません。"), 1, 30));
    QVERIFY(WaitUntil([] { return ShownBalloons() == 1; }));
    QVERIFY(!tray_->balloonWaiting());
    const QPoint icon = IconCentreOnScreen();
    QVERIFY(!icon.isNull());
    const QWidgetList widgets = QApplication::allWidgets();
    auto tip = std::find_if(widgets.begin(), widgets.end(), [](QWidget* w) {
        return w->inherits("QBalloonTip") && w->isVisible();
    });
    QVERIFY(tip != widgets.end());
    // The balloon's arrow touches the icon's centre.
    const QRect around = (*tip)->frameGeometry().adjusted(-4, -4, 4, 4);
    QVERIFY2(around.contains(icon), qPrintable(QStringLiteral("balloon at %1,%2, icon at %3,%4")
                                                   .arg((*tip)->x())
                                                   .arg((*tip)->y())
                                                   .arg(icon.x())
                                                   .arg(icon.y())));
    tray_->hideBalloon();
    QVERIFY(WaitUntil([] { return ShownBalloons() == 0; }));
}

int main(int argc, char** argv)
{
    XvfbSession server;
    g_server = &server;
    if (server.running()) {
        qputenv("DISPLAY", server.display().toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The tray found through a session bus would not be the private one.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    int result = 0;
    {
        QApplication app(argc, argv);
        TestX11Tray test;
        result = QTest::qExec(&test, argc, argv);
    }
    return result;
}

#include "tst_x11tray.moc"
