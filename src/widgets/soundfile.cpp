#include "widgets/soundfile.h"

#include "platform/platform.h"

#include <QFileInfo>

namespace vn {

bool PlaySoundFile(const QString& path)
{
    if (path.isEmpty())
        return true;
    if (!QFileInfo(path).isFile())
        return false;
    CurrentPlatform().sound->play(path);
    return true;
}

} // namespace vn
