#pragma once
// A private X server (Xvfb) for tests that need real X11 behaviour, and a
// second X client that plays "another application".
#include <QString>
#include <sys/types.h>

struct xcb_connection_t;

namespace vn::test {

class XvfbSession {
public:
    // Starts Xvfb on the first free display from :90 upwards. Does nothing
    // when Xvfb is not installed; see error().
    XvfbSession();
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool running() const { return pid_ > 0; }
    QString display() const { return display_; } // ":90"
    QString error() const { return error_; }

private:
    bool tryDisplay(int number);

    pid_t pid_ = -1;
    QString display_;
    QString error_;
};

// A separate client with one mapped window that holds the input focus.
class OtherClient {
public:
    explicit OtherClient(const QString& display);
    ~OtherClient();
    bool ok() const { return window_ != 0; }
    xcb_connection_t* connection() const { return conn_; }
    // True when the focus is on this client's window.
    bool hasFocus() const;
    // Takes the Pause key with a passive grab; false when refused.
    bool grabPause();
    void ungrabPause();
    // Presses or releases the key bearing keysym through the XTEST extension,
    // alone. (xdotool presses Shift_L along with Shift_R, and Control_L along
    // with Control_R.) False when the server has no XTEST or no such key.
    bool fakeKey(unsigned keysym, bool down);

private:
    xcb_connection_t* conn_ = nullptr;
    unsigned root_ = 0;
    unsigned window_ = 0;
    unsigned char pauseKeycode_ = 0;
};

// Runs "xdotool <args>" on the display and waits for it; true on success.
bool RunXdotool(const QString& display, const QStringList& args);

} // namespace vn::test
