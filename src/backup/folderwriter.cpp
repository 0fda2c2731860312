#include "folderwriter.h"

#include "foundation/apperror.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace vn {

FolderWriter::FolderWriter(QString folder, QString shownFolder)
    : folder_(std::move(folder)), shown_(std::move(shownFolder))
{
    // One flush for all files holds where a flush commits the metadata of
    // every file changed before it in one journal transaction, their data
    // having been written first: ext3/4 and xfs (and memory). Not btrfs,
    // whose flush logs only the one file.
    struct statfs fs {};
    if (::statfs(QFile::encodeName(folder_).constData(), &fs) == 0) {
        switch (quint32(fs.f_type)) {
        case 0xEF53:     // ext3/4
        case 0x58465342: // xfs
        case 0x01021994: // tmpfs
            batch_ = true;
            break;
        default: break;
        }
    }
}

FolderWriter::~FolderWriter()
{
    for (const Open& f : files_)
        ::close(f.fd);
}

void FolderWriter::fail(const QString& fileName, int err) const
{
    throw AppError(QStringLiteral("バックアップ \"%1\" の %2 を書き込めません。%3")
                       .arg(QDir::toNativeSeparators(shown_), fileName, SystemErrorText(err)));
}

void FolderWriter::add(const QString& fileName, const QByteArray& bytes)
{
    const QString path = folder_ + u'/' + fileName;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        fail(fileName, errno);
    files_.push_back({fd, fileName});
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(fileName, errno);
        data += n;
        left -= n;
    }
    // Start the writing to disk now; commit() waits for it.
    if (batch_ && ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE) != 0)
        batch_ = false;
}

void FolderWriter::commit()
{
    // Wait until every file's data has gone to the disk, then one full flush:
    // it commits the metadata of all the files (one journal transaction) and
    // empties the disk's write cache of their data.
    for (const Open& f : files_) {
        if (batch_ && ::sync_file_range(f.fd, 0, 0,
                                        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                            SYNC_FILE_RANGE_WAIT_AFTER) != 0)
            batch_ = false;
    }
    for (size_t i = 0; i < files_.size(); ++i) {
        const Open& f = files_[i];
        if ((!batch_ || i + 1 == files_.size()) && ::fsync(f.fd) != 0)
            fail(f.name, errno);
    }
    for (Open& f : files_)
        ::close(f.fd);
    files_.clear();
    const int dir = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace vn
