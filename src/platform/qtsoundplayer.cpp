#include "qtsoundplayer.h"

#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

namespace vn {

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer()
{
    // The audio back end goes down with the application.
    if (!QCoreApplication::instance())
        (void)effect_.release();
}

void QtSoundPlayer::play(const QString& path)
{
    if (path.isEmpty())
        return;
    // Made at the first sound, so a start-up without sounds never opens the
    // audio device.
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(path));
    // Loading is asynchronous; the effect starts once the file is read.
    effect_->play();
}

} // namespace vn
