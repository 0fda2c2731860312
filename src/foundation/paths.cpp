#include "paths.h"

#include "apperror.h"
#include "textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vn {

namespace {

const QString kBaseName = QStringLiteral("Vnote");

struct Location {
    QString folder;
    QString baseName;
    bool set = false;
};

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

Location& location()
{
    static Location loc;
    if (!loc.set) {
        const DataFolderChoice choice = ChooseDataFolder(CurrentDataFolderInputs());
        if (choice.kind == DataFolderKind::UserData)
            MakePrivateFolder(choice.folder);
        loc.folder = choice.folder;
        loc.baseName = kBaseName;
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

DataFolderChoice ChooseDataFolder(const DataFolderInputs& in)
{
    if (!in.overrideDir.isEmpty())
        return {withoutTrailingSlash(QFileInfo(in.overrideDir).absoluteFilePath()),
                DataFolderKind::Override};
    if (in.programDirWritable && !in.programDirIsSystem)
        return {withoutTrailingSlash(in.programDir), DataFolderKind::Portable};
    // Only an absolute XDG_DATA_HOME counts; otherwise ~/.local/share.
    QString base = in.xdgDataHome;
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = withoutTrailingSlash(in.home) + QStringLiteral("/.local/share");
    return {withoutTrailingSlash(QDir::cleanPath(base)) + QStringLiteral("/velnote"),
            DataFolderKind::UserData};
}

DataFolderInputs CurrentDataFolderInputs()
{
    DataFolderInputs in;
    in.overrideDir = qEnvironmentVariable("VELNOTE_DATA_DIR");
    in.programDir = QCoreApplication::applicationDirPath();
    if (in.programDir.isEmpty())
        in.programDir = QDir::currentPath();
    in.programDirWritable =
        ::access(QFile::encodeName(in.programDir).constData(), W_OK | X_OK) == 0;
    // The folders where installed programs live. The administrator may write
    // there, but the data of a user belongs in the user's own folder.
    const QString canonical = QFileInfo(in.programDir).canonicalFilePath();
    for (const char* system : {VN_INSTALL_BINDIR, "/usr/bin", "/bin", "/usr/local/bin",
                               "/usr/games", "/usr/sbin", "/sbin"}) {
        const QString dir = QString::fromLocal8Bit(system);
        if (canonical == dir || canonical == QFileInfo(dir).canonicalFilePath())
            in.programDirIsSystem = true;
    }
    in.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    in.home = QDir::homePath();
    return in;
}

QStringList RescueFolders(const RescueInputs& in)
{
    QStringList folders;
    const auto absolute = [](const QString& p) { return !p.isEmpty() && QDir::isAbsolutePath(p); };
    const QString state = absolute(in.xdgStateHome) ? withoutTrailingSlash(in.xdgStateHome)
                                                    : in.home + QStringLiteral("/.local/state");
    if (absolute(state))
        folders << state + QStringLiteral("/velnote/rescued");
    if (absolute(in.runtimeDir))
        folders << withoutTrailingSlash(in.runtimeDir) + QStringLiteral("/velnote-rescued");
    if (absolute(in.tempDir))
        folders << withoutTrailingSlash(in.tempDir) +
                       QStringLiteral("/velnote-rescued-%1").arg(in.uid);
    return folders;
}

RescueInputs CurrentRescueInputs()
{
    return {qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath(),
            qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), uint(::getuid())};
}

bool MakePrivateFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(clean).isDir())
        return true;
    // Create from the top down, so that every new folder gets mode 0700.
    const QStringList parts = clean.split(u'/', Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current += u'/' + part;
        if (QFileInfo(current).isDir())
            continue;
        if (::mkdir(QFile::encodeName(current).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(clean).isDir();
}

QString PrepareDataFolder(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    errno = 0;
    if (MakePrivateFolder(path))
        return QString();
    const int error = errno;
    QString text =
        QFileInfo::exists(path)
            ? QStringLiteral("データフォルダー \"%1\" はフォルダーではありません。").arg(shown)
            : QStringLiteral("データフォルダー \"%1\" を作成できません。").arg(shown);
    text += QStringLiteral("Velnoteを起動できません。");
    if (error != 0 && error != EEXIST)
        text += SystemErrorText(error);
    return text;
}

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
QString HelpFilePath(const QString& programFolder)
{
    // Installed, the command is in bin/ and the help in share/velnote/help/;
    // in the build folder (or a portable copy) it is in help/ beside it.
    const QDir dir(programFolder);
    for (const QString& candidate :
         {QStringLiteral("../share/velnote/help/index.html"), QStringLiteral("help/index.html")}) {
        const QFileInfo file(dir.filePath(candidate));
        if (file.isFile())
            return QDir::cleanPath(file.absoluteFilePath());
    }
    return QString();
}

QString HelpFilePath()
{
    return HelpFilePath(QCoreApplication::applicationDirPath());
}

namespace {

// The folder's real path; a folder not there yet is taken as written.
QString realFolder(const QString& folder)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(folder) : real;
}

} // namespace

QString LinkTargetOutsideDataFolder(const QString& path)
{
    if (!QFileInfo(path).isSymLink())
        return QString();
    const QString target = WriteTargetOf(path);
    if (target.isEmpty())
        return QString(); // a loop of links: the write fails anyway
    // The target's folder decides: the target itself may not exist yet.
    const qsizetype slash = target.lastIndexOf(u'/');
    const QString folder = realFolder(slash > 0 ? target.left(slash) : QStringLiteral("/"));
    const QString data = realFolder(AppFolder());
    if (folder == data || folder.startsWith(data + u'/'))
        return QString();
    return folder + target.mid(slash);
}

} // namespace vn
