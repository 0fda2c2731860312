#pragma once
// The system-wide show/hide key: the Pause key, or a bare Shift or Ctrl
// press (pressed and released with no other key in between). It fires while
// the program's windows are hidden and while another program has the focus.
#include <QObject>

namespace vn {

enum class HotKey { None, Pause, Shift, Ctrl };

// The key registered for a show/hide kind (0..4; other values count as 1).
HotKey HotKeyForKind(int kind);

class HotKeySource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Replaces any earlier registration. False when the key could not be
    // had (another program holds it, or the desktop offers no global keys).
    virtual bool registerKey(HotKey key) = 0;
    virtual void unregisterKey() = 0;
    // False where the desktop has no global keys at all (e.g. pure Wayland).
    virtual bool available() const = 0;

signals:
    void pressed(); // one press of the registered key
};

} // namespace vn
