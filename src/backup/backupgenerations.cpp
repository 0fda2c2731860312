#include "backupgenerations.h"

#include "folderwriter.h"
#include "foundation/apperror.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/heldtext.h"
#include "foundation/paths.h"
#include "foundation/readonlyfolder.h"
#include "foundation/settings.h"
#include "foundation/syncleftovers.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace vn {

namespace {

// Sub-folders and plain files of the BackUp folder, hidden ones and a sync
// tool's leftovers left out, in ascending text order.
QStringList backUpEntries()
{
    QStringList names =
        QDir(BackUpFolder()).entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    names.removeIf([](const QString& n) { return IsSyncLeftover(n); });
    std::sort(names.begin(), names.end());
    return names;
}

const QString kWorkSuffix = QStringLiteral(".part");
const QString kOldSuffix = QStringLiteral(".old");

QString unfinishedFolder(const QString& name, const QString& suffix)
{
    return BackUpFolder() + QStringLiteral("/.") + name + suffix;
}

// A hidden folder of this module: its files, then the folder.
void removeUnfinished(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir())
        return;
    DeleteBackUpGeneration(folder);
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The finished work folder takes the generation's name; a generation of that
// name (the same minute, or the same second by hand) is replaced.
bool moveIntoPlace(const QString& work, const QString& target, const QString& name)
{
    QDir dir;
    if (!QFileInfo(target).isDir()) {
        if (!dir.rename(work, target))
            return false;
        syncFolder(BackUpFolder());
        return true;
    }
    const QString old = unfinishedFolder(name, kOldSuffix);
    removeUnfinished(old);
    if (!dir.rename(target, old))
        return false;
    if (!dir.rename(work, target)) {
        dir.rename(old, target);
        return false;
    }
    syncFolder(BackUpFolder());
    removeUnfinished(old);
    return true;
}

} // namespace

QString SettingsBackUpSource::tabName(int page) const
{
    return ReadSettingStr(REG_ShowTabName + page);
}

namespace {

// A page whose file holds bytes no text can show (a NUL, bytes that are no
// character) is shown held, with U+FFFD in their place; while it shows just
// that, the generation keeps the file's bytes, not the text shown for them.
QByteArray pageBytes(int page, const QString& text)
{
    const QString path = PageFilePath(page);
    if (text.contains(QChar(0xFFFD)) && FileKindOf(path) == FileKind::Regular) {
        const QByteArray bytes = ReadFileBytes(path);
        const EditFileText shown = DecodeEditFile(bytes, path);
        if (!shown.heldReason.isEmpty() && shown.text == text)
            return bytes;
    }
    return EncodeText(text);
}

} // namespace

BackUpResult MakeBackUpGeneration(const BackUpSource& source, bool manual)
{
    const DateTime now = Now();
    const QString name =
        manual ? RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), now) + QStringLiteral("_Velnote")
               : RenderDateTime(QStringLiteral("yyyymmdd_hhnn"), now) + QStringLiteral("00");
    BackUpResult result;
    result.folder = BackUpFolder() + u'/' + name;
    if (!MayWriteAt(result.folder))
        return result; // the data folder is open read-only: no generation, nothing to tell
    const QString cannotMake =
        QStringLiteral("データバックアップフォルダの作成失敗\r\n作成フォルダ名 = ") +
        QDir::toNativeSeparators(result.folder);
    const QFileInfo target(result.folder);
    if (target.isSymLink() || (target.exists() && !target.isDir())) {
        result.message = cannotMake;
        return result;
    }
    // The copies are made in a hidden folder that becomes the generation
    // only when every file is written: a failure leaves no half-made
    // generation, and the generation of the same name stays as it was.
    const QString work = unfinishedFolder(name, kWorkSuffix);
    removeUnfinished(work);
    if (!QDir().mkpath(work)) {
        result.message = cannotMake;
        return result;
    }
    try {
        FolderWriter files(work, result.folder);
        // The list files are copied byte for byte; something other than a
        // regular file in their place is left out and named.
        for (const QString& path : {SchedulePath(), HolidayPath()}) {
            if (FileKindOf(path) == FileKind::Other) {
                result.message += (result.message.isEmpty() ? QString() : QStringLiteral("\r\n")) +
                                  NotRegularFileText(QDir::toNativeSeparators(path)) +
                                  QStringLiteral("。バックアップには含めません");
                continue;
            }
            files.add(QFileInfo(path).fileName(), ReadFileBytes(path));
        }
        for (int page = 0; page < kBackUpPageCount; ++page)
            files.add(QFileInfo(PageFilePath(page)).fileName(),
                      pageBytes(page, source.pageText(page)));
        QStringList tabNames;
        for (int page = 0; page < kBackUpPageCount; ++page)
            tabNames.append(source.tabName(page));
        files.add(QStringLiteral("TabName.txt"), EncodeText(JoinLinesCrLf(tabNames)));
        files.commit();
    } catch (...) {
        removeUnfinished(work);
        throw;
    }
    if (!moveIntoPlace(work, result.folder, name)) {
        removeUnfinished(work);
        result.message = cannotMake;
        return result;
    }

    PruneBackUpGenerations(source.schedule().maxGenerations);
    result.made = true;
    return result;
}

void RemoveUnfinishedGenerations()
{
    if (!MayWriteAt(BackUpFolder()))
        return;
    const QStringList hidden =
        QDir(BackUpFolder())
            .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& n : hidden) {
        if (n.startsWith(u'.') && (n.endsWith(kWorkSuffix) || n.endsWith(kOldSuffix)))
            removeUnfinished(BackUpFolder() + u'/' + n);
    }
}

QStringList AutomaticGenerations()
{
    QStringList names = backUpEntries();
    names.removeIf([](const QString& n) { return n.size() != kAutomaticNameLength; });
    return names;
}

QStringList GenerationsByAge(const QStringList& automatic, DateTime now)
{
    const QString nowName = RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), now);
    QStringList names = automatic;
    std::sort(names.begin(), names.end());
    const auto future = std::upper_bound(names.begin(), names.end(), nowName);
    QStringList aged(std::make_reverse_iterator(names.end()), std::make_reverse_iterator(future));
    aged.append(QStringList(names.begin(), future));
    return aged;
}

void PruneBackUpGenerations(int maxGenerations)
{
    const int keep = std::clamp(maxGenerations, kBackUpMinGenerations, kBackUpMaxGenerations);
    const QStringList names = GenerationsByAge(AutomaticGenerations(), Now());
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        DeleteBackUpGeneration(BackUpFolder() + u'/' + names[i]);
}

void DeleteBackUpGeneration(const QString& folder)
{
    if (!MayWriteAt(folder))
        return;
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
    const QString nowName = RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), now);
    QString newest;
    for (const QString& n : AutomaticGenerations()) {
        if (n <= nowName)
            newest = n; // ascending: the last one not after now
    }
    return BackUpOverdue(schedule, now, newest);
}

QStringList ListBackUpGenerations()
{
    QStringList names = backUpEntries();
    std::reverse(names.begin(), names.end());
    return names;
}

} // namespace vn
