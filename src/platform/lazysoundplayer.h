#pragma once
// Sound through the sound module (velnote-sound, next to the program), loaded
// at the first sound: the audio libraries (Qt Multimedia and the codecs and
// sound server client it brings) cost nothing at start-up.
#include "desktop.h"

#include <QString>
#include <memory>

namespace vn {

// The module's one entry point: a new player.
inline constexpr char kSoundModuleEntry[] = "vnCreateSoundPlayer";
using SoundModuleEntry = SoundPlayer* (*)();

class LazySoundPlayer final : public SoundPlayer {
public:
    // modulePath: the module's file name without its suffix.
    explicit LazySoundPlayer(QString modulePath);
    ~LazySoundPlayer() override;
    // An empty path plays nothing and loads nothing.
    void play(const QString& path) override;
    // Loads the module if it is not loaded yet; false when it cannot be had
    // (told once on standard error; sounds then stay silent).
    bool load();
    bool loaded() const { return bool(player_); }

    static QString DefaultModulePath(); // next to the program, or installed

private:
    QString modulePath_;
    std::unique_ptr<SoundPlayer> player_;
    bool tried_ = false;
};

} // namespace vn
