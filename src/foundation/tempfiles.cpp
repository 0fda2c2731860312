#include "tempfiles.h"

#include "paths.h"
#include "readonlyfolder.h"

#include <QFile>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vn {

namespace {

bool isTempSuffixChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// The target name of a temporary file name, or an empty view.
QStringView targetOf(QStringView fileName)
{
    const qsizetype n = fileName.size();
    if (n < 9 || fileName[0] != u'.' || fileName[n - 7] != u'.')
        return {};
    for (qsizetype i = n - 6; i < n; ++i)
        if (!isTempSuffixChar(fileName[i]))
            return {};
    return fileName.mid(1, n - 8);
}

bool isDiaryDayName(QStringView name) // "yyyymmdd.txt"
{
    if (name.size() != 12 || !name.endsWith(QLatin1String(".txt")))
        return false;
    for (int i = 0; i < 8; ++i)
        if (name[i] < u'0' || name[i] > u'9')
            return false;
    return true;
}

bool isMonthFolderName(const QByteArray& name) // "yyyymm"
{
    if (name.size() != 6)
        return false;
    for (char c : name)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QStringList pageFileNames()
{
    QStringList names;
    for (int i = 0; i < 30; ++i) {
        const QString path = PageFilePath(i);
        names.append(path.mid(path.lastIndexOf(u'/') + 1));
    }
    return names;
}

template <typename Owned> int removeIn(const QString& folder, qint64 startedAt, Owned owned)
{
    const QByteArray dirName = QFile::encodeName(folder);
    DIR* dir = ::opendir(dirName.constData());
    if (!dir)
        return 0;
    const uid_t me = ::getuid();
    int removed = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] != '.')
            continue; // cheap test first: most names are not hidden
        const QString name = QFile::decodeName(e->d_name);
        const QStringView target = targetOf(name);
        if (target.isEmpty() || !owned(target))
            continue;
        const QByteArray path = dirName + '/' + e->d_name;
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != me ||
            st.st_mtime >= startedAt)
            continue;
        if (::unlink(path.constData()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

// Sub-folders of a folder whose byte names pass a test (links not followed).
template <typename Test> QStringList subFolders(const QString& folder, Test test)
{
    QStringList out;
    const QByteArray dirName = QFile::encodeName(folder);
    DIR* dir = ::opendir(dirName.constData());
    if (!dir)
        return out;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == ".." || !test(name))
            continue;
        struct stat st;
        const QByteArray path = dirName + '/' + name;
        if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            out.append(QFile::decodeName(path));
    }
    ::closedir(dir);
    return out;
}

} // namespace

bool IsTempFileNameFor(QStringView fileName, QStringView target)
{
    return !target.isEmpty() && targetOf(fileName) == target;
}

int RemoveStaleTempFiles(qint64 startedAt)
{
    if (!MayWriteAt(AppFolder()))
        return 0; // another instance writes the folder: its temporary files are its own
    const QStringList pages = pageFileNames();
    const QString base = AppBaseName();
    QSet<QString> dataNames(pages.begin(), pages.end());
    for (const char* ext : {".ini", ".vdt"})
        dataNames.insert(base + QLatin1String(ext));
    for (const char* name : {"Schedule.dat", "Holiday.dat", "BalloonHint.dat"})
        dataNames.insert(QLatin1String(name));
    QSet<QString> backUpNames(pages.begin(), pages.end());
    for (const char* name : {"Schedule.dat", "Holiday.dat", "TabName.txt"})
        backUpNames.insert(QLatin1String(name));

    int removed = removeIn(AppFolder(), startedAt,
                           [&](QStringView t) { return dataNames.contains(t.toString()); });
    for (const QString& month : subFolders(DiaryFolder(), isMonthFolderName))
        removed += removeIn(month, startedAt, isDiaryDayName);
    for (const QString& gen :
         subFolders(BackUpFolder(), [](const QByteArray& n) { return !n.startsWith('.'); }))
        removed += removeIn(gen, startedAt,
                            [&](QStringView t) { return backUpNames.contains(t.toString()); });
    return removed;
}

} // namespace vn
