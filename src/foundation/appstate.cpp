#include "foundation/appstate.h"

namespace vn {

AppState& App()
{
    static AppState state;
    return state;
}

} // namespace vn
