#pragma once
#include <QString>

namespace vn {

// Plays a sound file without waiting: an empty path plays nothing and gives
// true; an existing file starts playing (stopping any sound still playing)
// and gives true; a missing file plays nothing and gives false.
bool PlaySoundFile(const QString& path);

} // namespace vn
