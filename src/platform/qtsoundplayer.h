#pragma once
// Sound playback over Qt Multimedia: WAVE files through a sound effect (at
// once, without a media pipeline), other sounds the desktop ships (Ogg
// Vorbis .oga/.ogg) through a media player.
#include "desktop.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace vn {

class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    // An empty path plays nothing.
    void play(const QString& path) override;

    // What is in use, null before the first sound of its kind (for tests).
    QSoundEffect* effect() const { return effect_.get(); }
    QMediaPlayer* mediaPlayer() const { return player_.get(); }

    // True for a RIFF WAVE file (by its header, whatever its name).
    static bool IsWaveFile(const QString& path);

private:
    void stopAll();

    std::unique_ptr<QSoundEffect> effect_;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};

} // namespace vn
