#pragma once
// The show/hide key on an X11 desktop. The Pause key is taken with a passive
// grab on the root window, once for every state of the lock modifiers, so it
// arrives whatever window has the focus. A bare Shift or Ctrl press cannot be
// grabbed that way; it is recognised from the XInput2 raw key events of the
// root window, which every client may watch without taking keys from others.
#include "hotkeysource.h"
#include "keygesture.h"

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace vn {

class X11HotKeySource final : public HotKeySource, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Uses the X connection of the running application, if it has one.
    explicit X11HotKeySource(QObject* parent = nullptr);
    ~X11HotKeySource() override;

    bool registerKey(HotKey key) override;
    void unregisterKey() override;
    bool available() const override { return conn_ != nullptr; }

    // The key currently held (None after a failed registration).
    HotKey registeredKey() const { return key_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        std::uint32_t root;
        std::uint8_t keycode;
        std::uint16_t modifiers;
    };

    bool grabPause();
    void releasePause();
    bool watchRawKeys(bool on);
    bool ensureXInput();
    bool isModifierTarget(std::uint32_t keycode) const;
    void handleMappingChange(void* event);
    void forgetConnection();

    xcb_connection_t* conn_ = nullptr;
    _XCBKeySymbols* symbols_ = nullptr;
    std::vector<std::uint32_t> roots_;
    std::uint8_t xiOpcode_ = 0;
    bool xiChecked_ = false;
    bool xiUsable_ = false;

    HotKey key_ = HotKey::None;
    std::vector<Grab> grabs_;
    SinglePressFilter pauseFilter_;
    BareModifierDetector bareDetector_;
};

} // namespace vn
