#include "tempdatafolder.h"

#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"

#include <QFile>
#include <QFileInfo>

namespace vn::test {

TempDataFolder::TempDataFolder()
{
    SetAppLocation(dir_.path(), QStringLiteral("Vnote"));
    SetSettingsFile(SettingsFilePath());
}

TempDataFolder::~TempDataFolder()
{
    SetSettingsFile(QString());
}

void TempDataFolder::writeBytes(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempDataFolder::readBytes(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempDataFolder::exists(const QString& name) const
{
    return QFileInfo::exists(file(name));
}

QByteArray Sjis(const QString& text)
{
    return ToSjis(text);
}

} // namespace vn::test
