#include "lazysoundplayer.h"

#include "foundation/modulepath.h"

#include <QLibrary>

#include <cstdio>

namespace vn {

LazySoundPlayer::LazySoundPlayer(QString modulePath) : modulePath_(std::move(modulePath)) {}

// The module stays loaded to the end: its player's code must outlive it.
LazySoundPlayer::~LazySoundPlayer() = default;

QString LazySoundPlayer::DefaultModulePath()
{
    return ModulePath(QStringLiteral("velnote-sound"));
}

bool LazySoundPlayer::load()
{
    if (player_ || tried_)
        return bool(player_);
    tried_ = true;
    QLibrary module(modulePath_);
    auto entry = reinterpret_cast<SoundModuleEntry>(module.resolve(kSoundModuleEntry));
    if (!entry) {
        std::fprintf(stderr, "Velnote: sounds are off: %s\n", qPrintable(module.errorString()));
        return false;
    }
    player_.reset(entry());
    return bool(player_);
}

void LazySoundPlayer::play(const QString& path)
{
    if (path.isEmpty() && !player_)
        return;
    if (load())
        player_->play(path);
}

} // namespace vn
