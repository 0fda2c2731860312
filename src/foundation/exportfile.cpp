#include "exportfile.h"

#include "apperror.h"
#include "paths.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vn {

namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool exists = false;
    bool operator==(const FileId& o) const
    {
        return exists && o.exists && device == o.device && inode == o.inode;
    }
};

FileId idOf(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_dev, st.st_ino, true};
}

QString parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash > 0 ? path.left(slash) : QStringLiteral("/");
}

// Whether a file at target (absolute, links resolved) would lie directly in
// the data folder or anywhere below its diary or backup folder. Folders are
// compared as the file system knows them, so another name for one (a link
// to it, a bind mount) is the same folder.
bool inProgramFolders(const QString& target)
{
    QString folder = parentOf(target);
    // The nearest folder that exists: a diary month not made yet lies in
    // the diary folder all the same.
    while (folder != QStringLiteral("/") && !idOf(folder).exists)
        folder = parentOf(folder);
    folder = QFileInfo(folder).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    if (idOf(folder) == idOf(AppFolder()))
        return true;
    const FileId diary = idOf(DiaryFolder());
    const FileId backUp = idOf(BackUpFolder());
    for (;; folder = parentOf(folder)) {
        const FileId id = idOf(folder);
        if (id == diary || id == backUp)
            return true;
        if (folder == QStringLiteral("/"))
            return false;
    }
}

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw AppError(QStringLiteral("書き出し先 \"%1\" %2").arg(QDir::toNativeSeparators(path), why));
}

} // namespace

void CheckExportTarget(const QString& path)
{
    const QString target = WriteTargetOf(path);
    if (target.isEmpty())
        refuse(path, QStringLiteral("のシンボリックリンクは循環しています"));
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            refuse(path, QStringLiteral("はフォルダーです"));
        if (!S_ISREG(st.st_mode))
            refuse(path, QStringLiteral("は通常のファイルではありません (FIFO、デバイスなど)"));
    } else if (errno != ENOENT) {
        refuse(path, QStringLiteral("を調べられません [%1]")
                         .arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
    if (inProgramFolders(target))
        refuse(path,
               QStringLiteral("はVelnoteのデータフォルダーの中です。別の場所を指定してください"));
}

void WriteExportFile(const QString& path, const QByteArray& bytes)
{
    CheckExportTarget(path);
    WriteFileAtomic(path, bytes, NewFileMode::UserUmask);
}

} // namespace vn
