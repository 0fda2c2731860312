#include "qtsoundplayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFile>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrl>

namespace vn {

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer()
{
    // The audio back end goes down with the application.
    if (!QCoreApplication::instance()) {
        (void)effect_.release();
        (void)player_.release();
        (void)output_.release();
    }
}

bool QtSoundPlayer::IsWaveFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

void QtSoundPlayer::stopAll()
{
    if (effect_)
        effect_->stop();
    if (player_)
        player_->stop();
}

void QtSoundPlayer::play(const QString& path)
{
    if (path.isEmpty())
        return;
    stopAll();
    // Made at the first sound, so a start-up without sounds never opens the
    // audio device.
    if (IsWaveFile(path) || !QFile::exists(path)) {
        if (!effect_)
            effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(path));
        // Loading is asynchronous; the effect starts once the file is read.
        effect_->play();
        return;
    }
    if (!player_) {
        output_ = std::make_unique<QAudioOutput>();
        player_ = std::make_unique<QMediaPlayer>();
        player_->setAudioOutput(output_.get());
    }
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
}

} // namespace vn
