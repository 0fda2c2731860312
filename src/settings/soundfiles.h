#pragma once
// The sound rows of the settings dialog: a field with the path of a sound
// file, a picker "..." and a play button "再生". WAVE files and the Ogg
// Vorbis sounds a Linux desktop ships (.oga, .ogg) are offered and played.
#include <QString>

class QLineEdit;

namespace vn {

// Where the picker starts: the desktop's sound folder.
QString SoundFolder();
// The picker's filter, in the "caption|patterns" form of the prompts.
QString SoundFileFilter();

// The picker for one sound setting. A field naming a file that no longer
// exists counts as empty; Cancel keeps what the field held (so a vanished
// file is cleared). The result goes to the setting and into the field.
void PickSoundFile(int settingId, QLineEdit* field, const QString& title);

// Plays the file without waiting; an empty text plays nothing; a missing
// file is reported.
void PreviewSoundFile(const QString& path);

} // namespace vn
