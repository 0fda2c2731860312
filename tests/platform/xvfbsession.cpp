#include "xvfbsession.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <X11/keysym.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xcbext.h>

namespace vn::test {

XvfbSession::XvfbSession()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        error_ = QStringLiteral("Xvfb is not installed");
        return;
    }
    for (int number = 90; number < 140 && !running(); ++number) {
        // A lock file or socket means someone else has the display.
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) ||
            QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        tryDisplay(number);
    }
    if (!running() && error_.isEmpty())
        error_ = QStringLiteral("no free display for Xvfb");
}

bool XvfbSession::tryDisplay(int number)
{
    // Xvfb writes the display number to the -displayfd pipe once it accepts
    // clients, and exits without writing when the display is taken.
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const QByteArray name = ":" + QByteArray::number(number);
    const QByteArray fd = QByteArray::number(fds[1]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execlp("Xvfb", "Xvfb", name.constData(), "-nolisten", "tcp", "-noreset", "-screen", "0",
                 "640x480x24", "-displayfd", fd.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return false;
    }
    QByteArray answer;
    char c;
    ssize_t n;
    while ((n = ::read(fds[0], &c, 1)) == 1 || (n < 0 && errno == EINTR)) {
        if (n != 1)
            continue;
        if (c == '\n')
            break;
        answer.append(c);
    }
    ::close(fds[0]);
    if (answer.trimmed() != QByteArray::number(number)) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        return false;
    }
    pid_ = pid;
    display_ = QString::fromLatin1(name);
    return true;
}

XvfbSession::~XvfbSession()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

OtherClient::OtherClient(const QString& display)
{
    conn_ = xcb_connect(display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(conn_))
        return;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    root_ = screen->root;
    const xcb_window_t window = xcb_generate_id(conn_);
    const uint32_t events = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE;
    xcb_create_window(conn_, XCB_COPY_FROM_PARENT, window, root_, 10, 10, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                      &events);
    xcb_map_window(conn_, window);
    // No window manager runs: the window is viewable once mapped.
    xcb_set_input_focus(conn_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    window_ = window;
    if (xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(conn_)) {
        if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XK_Pause)) {
            pauseKeycode_ = codes[0];
            std::free(codes);
        }
        xcb_key_symbols_free(symbols);
    }
    if (!hasFocus())
        window_ = 0;
}

OtherClient::~OtherClient()
{
    if (conn_)
        xcb_disconnect(conn_);
}

bool OtherClient::hasFocus() const
{
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr);
    const bool focused = reply && reply->focus == window_;
    std::free(reply);
    return focused;
}

bool OtherClient::grabPause()
{
    if (pauseKeycode_ == 0)
        return false;
    xcb_generic_error_t* error =
        xcb_request_check(conn_, xcb_grab_key_checked(conn_, 0, root_, 0, pauseKeycode_,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool granted = error == nullptr;
    std::free(error);
    return granted;
}

void OtherClient::ungrabPause()
{
    xcb_ungrab_key(conn_, pauseKeycode_, root_, 0);
    std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr)); // sync
}

namespace {

// The XTEST FakeInput request; there is no xcb binding for XTEST here.
struct FakeInputRequest {
    uint8_t majorOpcode;
    uint8_t minorOpcode;
    uint16_t length;
    uint8_t type;
    uint8_t detail;
    uint8_t pad0[2];
    uint32_t time;
    uint32_t root;
    uint8_t pad1[8];
    int16_t rootX;
    int16_t rootY;
    uint8_t pad2[7];
    uint8_t deviceid;
};
static_assert(sizeof(FakeInputRequest) == 36);

xcb_extension_t g_xtest{"XTEST", 0};

} // namespace

bool OtherClient::fakeKey(unsigned keysym, bool down)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(conn_, &g_xtest);
    if (!extension || !extension->present)
        return false;
    xcb_keycode_t keycode = 0;
    if (xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(conn_)) {
        if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym)) {
            keycode = codes[0];
            std::free(codes);
        }
        xcb_key_symbols_free(symbols);
    }
    if (keycode == 0)
        return false;

    FakeInputRequest request{};
    request.type = down ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
    request.detail = keycode;
    const xcb_protocol_request_t protocol{2, &g_xtest, 2 /* FakeInput */, 1};
    iovec parts[4];
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    parts[3].iov_base = nullptr;
    parts[3].iov_len = 0;
    const unsigned sequence = xcb_send_request(conn_, XCB_REQUEST_CHECKED, parts + 2, &protocol);
    xcb_generic_error_t* error = xcb_request_check(conn_, xcb_void_cookie_t{sequence});
    const bool ok = error == nullptr;
    std::free(error);
    return ok;
}

bool RunXdotool(const QString& display, const QStringList& args)
{
    QProcess xdotool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    xdotool.setProcessEnvironment(env);
    xdotool.start(QStringLiteral("xdotool"), args);
    return xdotool.waitForFinished(30000) && xdotool.exitStatus() == QProcess::NormalExit &&
           xdotool.exitCode() == 0;
}

} // namespace vn::test
