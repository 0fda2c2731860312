#include "soundfiles.h"

#include "settingspage.h"
#include "widgets/soundfile.h"
#include "widgets/uiprompts.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace vn {

QString SoundFolder()
{
    const QString desktop = QStringLiteral("/usr/share/sounds");
    return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

QString SoundFileFilter()
{
    return QStringLiteral("サウンドファイル|*.wav *.oga *.ogg|Wave サウンド|*.wav|"
                          "Ogg Vorbis サウンド|*.oga *.ogg");
}

void PickSoundFile(int settingId, QLineEdit* field, const QString& title)
{
    QString current = field->text();
    if (!current.isEmpty() && !QFileInfo(current).isFile())
        current.clear();
    const std::optional<QString> chosen =
        Prompts().chooseOpenFile(title, SoundFileFilter(), current, SoundFolder());
    const QString result = chosen ? QDir::toNativeSeparators(*chosen) : current;
    StoreSettingStr(settingId, result);
    field->setText(result);
}

void PreviewSoundFile(const QString& path)
{
    if (path.isEmpty())
        return;
    if (!PlaySoundFile(path))
        Ask(BoxKind::Information, QStringLiteral("ファイルがありません\r\n") + path,
            BoxButtons::Yes);
}

} // namespace vn
