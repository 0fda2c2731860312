#pragma once
// WAVE playback over Qt Multimedia.
#include "desktop.h"

#include <memory>

class QSoundEffect;

namespace vn {

class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    // An empty path plays nothing.
    void play(const QString& path) override;

    // The sound effect in use, null before the first sound (for tests).
    QSoundEffect* effect() const { return effect_.get(); }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace vn
