#include "x11hotkeysource.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/keysym.h>
#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xinput.h>

namespace vn {

namespace {

std::vector<xcb_keycode_t> KeycodesFor(xcb_key_symbols_t* symbols, xcb_keysym_t keysym)
{
    std::vector<xcb_keycode_t> codes;
    if (xcb_keycode_t* list = xcb_key_symbols_get_keycode(symbols, keysym)) {
        for (const xcb_keycode_t* c = list; *c != XCB_NO_SYMBOL; ++c)
            if (std::find(codes.begin(), codes.end(), *c) == codes.end())
                codes.push_back(*c);
        std::free(list);
    }
    return codes;
}

// The modifier bits that keys bearing one of the key symbols are bound to.
std::uint16_t ModifierMaskOf(xcb_connection_t* conn, xcb_key_symbols_t* symbols,
                             xcb_keysym_t keysym)
{
    const std::vector<xcb_keycode_t> codes = KeycodesFor(symbols, keysym);
    if (codes.empty())
        return 0;
    xcb_get_modifier_mapping_reply_t* reply =
        xcb_get_modifier_mapping_reply(conn, xcb_get_modifier_mapping(conn), nullptr);
    if (!reply)
        return 0;
    const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply);
    const int perModifier = reply->keycodes_per_modifier;
    std::uint16_t mask = 0;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = map[modifier * perModifier + i];
            if (code != 0 && std::find(codes.begin(), codes.end(), code) != codes.end())
                mask |= std::uint16_t(1u << modifier);
        }
    }
    std::free(reply);
    return mask;
}

// Every combination of the lock modifiers (Caps Lock, Num Lock, Scroll Lock),
// the empty one included.
std::vector<std::uint16_t> LockCombinations(xcb_connection_t* conn, xcb_key_symbols_t* symbols)
{
    std::vector<std::uint16_t> locks{XCB_MOD_MASK_LOCK};
    for (xcb_keysym_t keysym : {xcb_keysym_t(XK_Num_Lock), xcb_keysym_t(XK_Scroll_Lock)}) {
        const std::uint16_t mask = ModifierMaskOf(conn, symbols, keysym);
        if (mask != 0 && std::find(locks.begin(), locks.end(), mask) == locks.end())
            locks.push_back(mask);
    }
    std::vector<std::uint16_t> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        std::uint16_t mods = 0;
        for (std::size_t i = 0; i < locks.size(); ++i)
            if (subset & (1u << i))
                mods |= locks[i];
        combinations.push_back(mods);
    }
    return combinations;
}

} // namespace

X11HotKeySource::X11HotKeySource(QObject* parent) : HotKeySource(parent)
{
    auto* app = qGuiApp;
    if (!app)
        return;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    conn_ = x11->connection();
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(conn_)); it.rem; xcb_screen_next(&it))
        roots_.push_back(it.data->root);
    app->installNativeEventFilter(this);
    // The connection closes with the application; after that nothing may
    // touch it, and the server drops our grabs by itself.
    connect(app, &QObject::destroyed, this, [this] { forgetConnection(); });
}

X11HotKeySource::~X11HotKeySource()
{
    if (conn_) {
        unregisterKey();
        if (auto* app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }
    if (symbols_)
        xcb_key_symbols_free(symbols_);
}

void X11HotKeySource::forgetConnection()
{
    conn_ = nullptr;
    key_ = HotKey::None;
    grabs_.clear();
}

bool X11HotKeySource::registerKey(HotKey key)
{
    unregisterKey();
    if (!conn_ || key == HotKey::None)
        return false;
    // A fresh copy of the keyboard mapping, fetched now rather than at the
    // first key event.
    if (symbols_)
        xcb_key_symbols_free(symbols_);
    symbols_ = xcb_key_symbols_alloc(conn_);
    if (!symbols_)
        return false;
    xcb_key_symbols_get_keysym(symbols_, 0, 0);
    const bool ok = key == HotKey::Pause ? grabPause() : watchRawKeys(true);
    if (ok)
        key_ = key;
    return ok;
}

void X11HotKeySource::unregisterKey()
{
    if (!conn_)
        return;
    if (key_ == HotKey::Pause)
        releasePause();
    if (key_ == HotKey::Shift || key_ == HotKey::Ctrl)
        watchRawKeys(false);
    key_ = HotKey::None;
    pauseFilter_.reset();
    bareDetector_.reset();
}

bool X11HotKeySource::grabPause()
{
    const std::vector<xcb_keycode_t> codes = KeycodesFor(symbols_, XK_Pause);
    if (codes.empty())
        return false;
    const std::vector<std::uint16_t> combinations = LockCombinations(conn_, symbols_);

    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint32_t root : roots_) {
        for (xcb_keycode_t code : codes) {
            for (std::uint16_t mods : combinations) {
                // Not owner_events: the press is always reported against the
                // root window, also while one of our own windows has the focus.
                cookies.push_back(xcb_grab_key_checked(conn_, 0, root, mods, code,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
                grabs_.push_back({root, code, mods});
            }
        }
    }
    bool refused = false;
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(conn_, cookie)) {
            refused = true; // BadAccess: another client holds the key
            std::free(error);
        }
    }
    if (refused) {
        releasePause();
        return false;
    }
    return true;
}

void X11HotKeySource::releasePause()
{
    const bool hadGrabs = !grabs_.empty();
    for (const Grab& grab : grabs_)
        xcb_ungrab_key(conn_, grab.keycode, grab.root, grab.modifiers);
    grabs_.clear();
    if (!hadGrabs)
        return;
    // Wait until the server has released the key, so another program (or a
    // new registration) can have it at once: requests of different clients
    // are not ordered, a round trip on this connection is.
    free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
}

bool X11HotKeySource::ensureXInput()
{
    if (xiChecked_)
        return xiUsable_;
    xiChecked_ = true;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(conn_, &xcb_input_id);
    if (!extension || !extension->present)
        return false;
    xiOpcode_ = extension->major_opcode;
    // Qt may already have announced a version on this connection; asking for
    // the same or a newer one is always accepted.
    auto* reply =
        xcb_input_xi_query_version_reply(conn_, xcb_input_xi_query_version(conn_, 2, 4), nullptr);
    if (reply) {
        xiUsable_ = reply->major_version >= 2;
        std::free(reply);
    } else {
        xiUsable_ = true; // a version was negotiated earlier; try the selection
    }
    return xiUsable_;
}

bool X11HotKeySource::watchRawKeys(bool on)
{
    if (!ensureXInput())
        return false;
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{};
    // Master devices only: each key event then arrives once, not once more
    // for the physical keyboard it came from.
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.bits =
        on ? (XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE) : 0;
    bool ok = true;
    for (std::uint32_t root : roots_) {
        xcb_void_cookie_t cookie = xcb_input_xi_select_events_checked(conn_, root, 1, &mask.head);
        if (xcb_generic_error_t* error = xcb_request_check(conn_, cookie)) {
            ok = false;
            std::free(error);
        }
    }
    return ok;
}

bool X11HotKeySource::isModifierTarget(std::uint32_t keycode) const
{
    const xcb_keysym_t keysym = xcb_key_symbols_get_keysym(symbols_, xcb_keycode_t(keycode), 0);
    if (key_ == HotKey::Shift)
        return keysym == XK_Shift_L || keysym == XK_Shift_R;
    if (key_ == HotKey::Ctrl)
        return keysym == XK_Control_L || keysym == XK_Control_R;
    return false;
}

void X11HotKeySource::handleMappingChange(void* event)
{
    auto* mapping = static_cast<xcb_mapping_notify_event_t*>(event);
    if (mapping->request == XCB_MAPPING_POINTER)
        return;
    xcb_refresh_keyboard_mapping(symbols_, mapping);
    if (key_ == HotKey::Pause) {
        // The Pause key or the lock modifiers may sit elsewhere now.
        releasePause();
        if (!grabPause())
            key_ = HotKey::None;
    }
}

bool X11HotKeySource::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!conn_ || key_ == HotKey::None || eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    bool press = false;
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        if (key_ != HotKey::Pause)
            break;
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        const bool ours = std::any_of(grabs_.begin(), grabs_.end(), [key](const Grab& g) {
            return g.root == key->event && g.keycode == key->detail;
        });
        if (!ours)
            break;
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS)
            press = pauseFilter_.keyDown(key->detail, key->time);
        else
            pauseFilter_.keyUp(key->detail, key->time);
        break;
    }
    case XCB_GE_GENERIC: {
        auto* generic = reinterpret_cast<xcb_ge_generic_event_t*>(event);
        if (key_ == HotKey::Pause || !xiUsable_ || generic->extension != xiOpcode_)
            break;
        auto* raw = reinterpret_cast<xcb_input_raw_key_press_event_t*>(event);
        if (generic->event_type == XCB_INPUT_RAW_KEY_PRESS)
            bareDetector_.keyDown(raw->detail, isModifierTarget(raw->detail));
        else if (generic->event_type == XCB_INPUT_RAW_KEY_RELEASE)
            press = bareDetector_.keyUp(raw->detail);
        break;
    }
    case XCB_MAPPING_NOTIFY: handleMappingChange(event); break;
    default: break;
    }
    // Emitted last: a receiver may well register another key.
    if (press)
        emit pressed();
    return false;
}

} // namespace vn
