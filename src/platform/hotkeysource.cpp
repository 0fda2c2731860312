#include "hotkeysource.h"

namespace vn {

HotKey HotKeyForKind(int kind)
{
    switch (kind) {
    case 3: return HotKey::Shift;
    case 4: return HotKey::Ctrl;
    default:
        // Kinds 0 to 2 all hold the Pause key (kind 0 merely ignores its
        // presses); an unknown kind is read as kind 1.
        return HotKey::Pause;
    }
}

} // namespace vn
