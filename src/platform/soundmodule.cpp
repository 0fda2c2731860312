// The sound module: Qt Multimedia behind the one entry point the program
// resolves at its first sound.
#include "lazysoundplayer.h"
#include "qtsoundplayer.h"

extern "C" Q_DECL_EXPORT vn::SoundPlayer* vnCreateSoundPlayer()
{
    return new vn::QtSoundPlayer;
}
