#include "paths.h"

#include "textfile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vn {

namespace {

struct Location {
    QString folder;
    QString baseName;
    bool set = false;
};

Location& location()
{
    static Location loc;
    if (!loc.set) {
        const QString exe = QCoreApplication::applicationFilePath();
        loc.baseName = QFileInfo(exe).completeBaseName();
        if (loc.baseName.isEmpty())
            loc.baseName = QStringLiteral("Vnote");
        const QByteArray env = qgetenv("VELNOTE_DATA_DIR");
        loc.folder = env.isEmpty() ? QCoreApplication::applicationDirPath()
                                   : QFileInfo(QString::fromLocal8Bit(env)).absoluteFilePath();
        while (loc.folder.size() > 1 && loc.folder.endsWith(u'/'))
            loc.folder.chop(1);
        loc.set = true;
    }
    return loc;
}

QString ensured(const QString& path)
{
    if (!QFileInfo::exists(path))
        WriteLines(path, {});
    return path;
}

} // namespace

QString AppFolder()
{
    return location().folder;
}
QString AppBaseName()
{
    return location().baseName;
}

void SetAppLocation(const QString& folder, const QString& baseName)
{
    Location& loc = location();
    loc.folder = folder;
    loc.baseName = baseName;
}

QString AppPathWithExtension(const QString& extension)
{
    return AppFolder() + u'/' + AppBaseName() + extension;
}

QString SettingsFilePath()
{
    return AppPathWithExtension(QStringLiteral(".ini"));
}

QString PageFilePath(int index)
{
    if (index <= 0)
        return AppPathWithExtension(QStringLiteral(".vnm"));
    return AppFolder() + u'/' + AppBaseName() + QString::number(index) + QStringLiteral(".vnm");
}

QString SchedulePath()
{
    return ensured(AppFolder() + QStringLiteral("/Schedule.dat"));
}
QString HolidayPath()
{
    return ensured(AppFolder() + QStringLiteral("/Holiday.dat"));
}
QString BalloonHintPath()
{
    return AppFolder() + QStringLiteral("/BalloonHint.dat");
}
QString DiaryFolder()
{
    return AppFolder() + QStringLiteral("/Diary");
}
QString BackUpFolder()
{
    return AppFolder() + QStringLiteral("/BackUp");
}
QString HelpFilePath()
{
    return AppFolder() + QStringLiteral("/Vnote.chm");
}

} // namespace vn
