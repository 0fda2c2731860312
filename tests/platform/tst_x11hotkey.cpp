// The show/hide key on a real X server: a private Xvfb, keys typed with
// xdotool while another client has the focus and no window of ours is shown.
#include "platform/x11hotkeysource.h"
#include "xvfbsession.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtGui/qguiapplication_platform.h>
#include <QtTest>

#include <X11/keysym.h>
#include <memory>
#include <xcb/xcb.h>

using namespace vn;
using namespace vn::test;

namespace {

XvfbSession* g_server = nullptr;

// Sees a marker message we send ourselves. Every event the server had queued
// for us before the marker has passed the application's filters by then.
class SyncMarker : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            auto* client = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (client->window == window && client->data.data32[0] == expected)
                seen = true;
        }
        return false;
    }
    xcb_window_t window = 0;
    uint32_t expected = 0;
    bool seen = false;
};

} // namespace

class TestX11HotKey : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void pauseWhileAnotherClientHasFocus();
    void pauseWithLockModifiersOn();
    void pauseHeldDownCountsOnce();
    void pauseHeldByAnotherClientIsRefused();
    void bareShiftPresses();
    void rightSideModifiersCount();
    void reRegisteringToCtrlDropsShift();
    void reRegisteringToPauseDropsCtrl();
    void unregisterReleasesTheKey();

private:
    // Types keys with xdotool, then waits until everything they caused has
    // reached us.
    void type(const QStringList& args);
    void syncWithServer();

    xcb_connection_t* conn_ = nullptr;
    SyncMarker marker_;
    std::unique_ptr<OtherClient> other_;
};

void TestX11HotKey::initTestCase()
{
    if (!g_server || !g_server->running())
        QSKIP(qPrintable(g_server->error()));
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    conn_ = x11->connection();
    marker_.window = xcb_generate_id(conn_);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    xcb_create_window(conn_, 0, marker_.window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    qApp->installNativeEventFilter(&marker_);

    other_ = std::make_unique<OtherClient>(g_server->display());
    QVERIFY2(other_->ok(), "the other client's window did not get the focus");
}

void TestX11HotKey::init()
{
    QVERIFY(other_->hasFocus());
}

void TestX11HotKey::cleanupTestCase()
{
    qApp->removeNativeEventFilter(&marker_);
    other_.reset();
}

void TestX11HotKey::syncWithServer()
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = marker_.window;
    message.type = XCB_ATOM_STRING;
    message.data.data32[0] = ++marker_.expected;
    marker_.seen = false;
    xcb_send_event(conn_, 0, marker_.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(conn_);
    // The deadline only guards against a hang; the marker normally arrives
    // within milliseconds.
    QElapsedTimer guard;
    guard.start();
    while (!marker_.seen && guard.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QVERIFY2(marker_.seen, "the X server did not answer");
}

void TestX11HotKey::type(const QStringList& args)
{
    QVERIFY2(RunXdotool(g_server->display(), args), qPrintable(args.join(u' ')));
    syncWithServer();
}

void TestX11HotKey::pauseWhileAnotherClientHasFocus()
{
    X11HotKeySource source;
    QVERIFY(source.available());
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Pause));
    QCOMPARE(source.registeredKey(), HotKey::Pause);

    type({"key", "Pause"});
    QCOMPARE(presses.count(), 1);
    type({"key", "Pause", "Pause"});
    QCOMPARE(presses.count(), 3);
    // Other keys are no business of ours.
    type({"key", "a", "shift", "ctrl"});
    QCOMPARE(presses.count(), 3);
    QVERIFY(other_->hasFocus());
}

void TestX11HotKey::pauseWithLockModifiersOn()
{
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Pause));
    type({"key", "Caps_Lock"});
    type({"key", "Pause"});
    type({"key", "Num_Lock"});
    type({"key", "Pause"});
    type({"key", "Caps_Lock"});
    type({"key", "Pause"});
    type({"key", "Num_Lock"});
    QCOMPARE(presses.count(), 3);
}

void TestX11HotKey::pauseHeldDownCountsOnce()
{
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Pause));
    // A second down without an up in between is what auto-repeat looks like.
    type({"keydown", "Pause", "keydown", "Pause", "keydown", "Pause", "keyup", "Pause"});
    QCOMPARE(presses.count(), 1);
    type({"key", "Pause"});
    QCOMPARE(presses.count(), 2);
}

void TestX11HotKey::pauseHeldByAnotherClientIsRefused()
{
    QVERIFY(other_->grabPause());
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(!source.registerKey(HotKey::Pause));
    QCOMPARE(source.registeredKey(), HotKey::None);
    type({"key", "Pause"});
    QCOMPARE(presses.count(), 0);

    // Once the other client lets go, the key can be had.
    other_->ungrabPause();
    QVERIFY(source.registerKey(HotKey::Pause));
    type({"key", "Pause"});
    QCOMPARE(presses.count(), 1);
}

void TestX11HotKey::bareShiftPresses()
{
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Shift));
    type({"key", "shift"});
    QCOMPARE(presses.count(), 1);
    type({"key", "shift+a"});
    QCOMPARE(presses.count(), 1);
    type({"key", "ctrl"});
    QCOMPARE(presses.count(), 1);
    type({"key", "Pause"});
    QCOMPARE(presses.count(), 1);
    // Both Shift keys down together are no bare press (xdotool also sends
    // Shift_L for "Shift_R").
    type({"keydown", "Shift_L", "keydown", "Shift_R", "keyup", "Shift_R", "keyup", "Shift_L"});
    QCOMPARE(presses.count(), 1);
    type({"key", "shift", "shift"});
    QCOMPARE(presses.count(), 3);
}

void TestX11HotKey::rightSideModifiersCount()
{
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Shift));
    QVERIFY(other_->fakeKey(XK_Shift_R, true));
    QVERIFY(other_->fakeKey(XK_Shift_R, false));
    syncWithServer();
    QCOMPARE(presses.count(), 1);
    QVERIFY(other_->fakeKey(XK_Control_R, true));
    QVERIFY(other_->fakeKey(XK_Control_R, false));
    syncWithServer();
    QCOMPARE(presses.count(), 1);

    QVERIFY(source.registerKey(HotKey::Ctrl));
    QVERIFY(other_->fakeKey(XK_Control_R, true));
    QVERIFY(other_->fakeKey(XK_Control_R, false));
    QVERIFY(other_->fakeKey(XK_Shift_R, true));
    QVERIFY(other_->fakeKey(XK_Shift_R, false));
    syncWithServer();
    QCOMPARE(presses.count(), 2);
}

void TestX11HotKey::reRegisteringToCtrlDropsShift()
{
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Shift));
    type({"key", "shift"});
    QCOMPARE(presses.count(), 1);

    QVERIFY(source.registerKey(HotKey::Ctrl));
    type({"key", "shift"});
    QCOMPARE(presses.count(), 1);
    type({"key", "ctrl"});
    QCOMPARE(presses.count(), 2);
    type({"key", "ctrl+c"});
    QCOMPARE(presses.count(), 2);
    type({"key", "ctrl"});
    QCOMPARE(presses.count(), 3);
}

void TestX11HotKey::reRegisteringToPauseDropsCtrl()
{
    X11HotKeySource source;
    QSignalSpy presses(&source, &HotKeySource::pressed);
    QVERIFY(source.registerKey(HotKey::Ctrl));
    QVERIFY(source.registerKey(HotKey::Pause));
    type({"key", "ctrl"});
    QCOMPARE(presses.count(), 0);
    type({"key", "Pause"});
    QCOMPARE(presses.count(), 1);

    // And back: the Pause grab goes, so another client can take the key.
    QVERIFY(source.registerKey(HotKey::Shift));
    QVERIFY(other_->grabPause());
    other_->ungrabPause();
    type({"key", "Pause"});
    QCOMPARE(presses.count(), 1);
}

void TestX11HotKey::unregisterReleasesTheKey()
{
    {
        X11HotKeySource source;
        QSignalSpy presses(&source, &HotKeySource::pressed);
        QVERIFY(source.registerKey(HotKey::Pause));
        source.unregisterKey();
        QCOMPARE(source.registeredKey(), HotKey::None);
        type({"key", "Pause"});
        QCOMPARE(presses.count(), 0);
        QVERIFY(other_->grabPause());
        other_->ungrabPause();

        QVERIFY(source.registerKey(HotKey::Shift));
        source.unregisterKey();
        type({"key", "shift"});
        QCOMPARE(presses.count(), 0);
        QVERIFY(source.registerKey(HotKey::Pause));
    }
    // Going away releases the grab as well.
    QVERIFY(other_->grabPause());
    other_->ungrabPause();
}

int main(int argc, char** argv)
{
    // The server must run before the application connects to it.
    XvfbSession server;
    g_server = &server;
    if (server.running()) {
        qputenv("DISPLAY", server.display().toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        TestX11HotKey test;
        result = QTest::qExec(&test, argc, argv);
    }
    return result;
}

#include "tst_x11hotkey.moc"
