#include "backupgenerations.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vn {

namespace {

// Sub-folders and plain files of the BackUp folder, hidden ones left out,
// in ascending text order.
QStringList backUpEntries()
{
    QStringList names =
        QDir(BackUpFolder()).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

QString SettingsBackUpSource::tabName(int page) const
{
    return ReadSettingStr(REG_ShowTabName + page);
}

BackUpResult MakeBackUpGeneration(const BackUpSource& source, bool manual)
{
    const DateTime now = Now();
    const QString name =
        manual ? RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), now) + QStringLiteral("_Velnote")
               : RenderDateTime(QStringLiteral("yyyymmdd_hhnn"), now) + QStringLiteral("00");
    BackUpResult result;
    result.folder = BackUpFolder() + u'/' + name;
    if (!QDir().mkpath(result.folder)) {
        result.message =
            QStringLiteral("データバックアップフォルダの作成失敗\r\n作成フォルダ名 = ") +
            QDir::toNativeSeparators(result.folder);
        return result;
    }
    const QString folder = result.folder + u'/';
    WriteLines(folder + QStringLiteral("Schedule.dat"), ReadLines(SchedulePath()));
    WriteLines(folder + QStringLiteral("Holiday.dat"), ReadLines(HolidayPath()));
    for (int page = 0; page < kBackUpPageCount; ++page) {
        if (!QDir().mkpath(result.folder))
            continue;
        WriteEditText(folder + QFileInfo(PageFilePath(page)).fileName(), source.pageText(page));
    }
    QStringList tabNames;
    for (int page = 0; page < kBackUpPageCount; ++page)
        tabNames.append(source.tabName(page));
    WriteLines(folder + QStringLiteral("TabName.txt"), tabNames);

    PruneBackUpGenerations(source.schedule().maxGenerations);
    result.made = true;
    return result;
}

QStringList AutomaticGenerations()
{
    QStringList names = backUpEntries();
    names.removeIf([](const QString& n) { return n.size() != kAutomaticNameLength; });
    return names;
}

void PruneBackUpGenerations(int maxGenerations)
{
    const int keep = std::clamp(maxGenerations, kBackUpMinGenerations, kBackUpMaxGenerations);
    const QStringList names = AutomaticGenerations();
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        DeleteBackUpGeneration(BackUpFolder() + u'/' + names[i]);
}

void DeleteBackUpGeneration(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir())
        return;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden |
                                                           QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& f : files) {
        if (f.isDir() && !f.isSymLink())
            continue;
        QFile::remove(f.absoluteFilePath()); // a link goes, not what it points to
    }
    QDir().rmdir(folder);
}

bool BackUpOverdue(const BackUpSchedule& schedule, DateTime now)
{
    const QStringList names = AutomaticGenerations();
    return BackUpOverdue(schedule, now, names.isEmpty() ? QString() : names.last());
}

QStringList ListBackUpGenerations()
{
    QStringList names = backUpEntries();
    std::reverse(names.begin(), names.end());
    return names;
}

} // namespace vn
