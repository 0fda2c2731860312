#include "fontwarmup.h"

#include <fontconfig/fontconfig.h>

namespace vn {

void WarmFontConfiguration()
{
    // FcInit keeps the configuration as the current one; Qt's font database
    // asks for exactly that one.
    FcInit();
}

} // namespace vn
