#include "pagefiles.h"

#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <QFile>
#include <sys/stat.h>

namespace vn {

bool PageFileMatches(int index, const QString& text)
{
    const QString path = PageFilePath(index);
    if (!FileExists(path))
        return false;
    return ReadFileBytes(path) == EncodeText(text);
}

QByteArray FileStamp(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QByteArray();
    const qint64 v[] = {qint64(st.st_dev),          qint64(st.st_ino),
                        qint64(st.st_size),         qint64(st.st_mtim.tv_sec),
                        qint64(st.st_mtim.tv_nsec), qint64(st.st_ctim.tv_sec),
                        qint64(st.st_ctim.tv_nsec)};
    return QByteArray(reinterpret_cast<const char*>(v), sizeof v);
}

void PageSaver::markInSync(int index, quint64 generation)
{
    synced_[index] = {generation, FileStamp(PageFilePath(index))};
}

QStringList PageSaver::save(int count, const PageTextFn& textOf, bool reportAll)
{
    return save(count, Source{textOf, [&](int i) { return textOf(i).isEmpty(); }, nullptr},
                reportAll);
}

QStringList PageSaver::save(int count, const Source& pages, bool reportAll)
{
    QStringList errors;
    bool allEmpty = true;
    for (int i = 0; i < kPageCount && allEmpty; ++i)
        allEmpty = pages.isEmpty(i);
    if (allEmpty)
        return errors;
    for (int i = 0; i < count && i < kPageCount; ++i) {
        const QString path = PageFilePath(i);
        const quint64 gen = pages.generation ? pages.generation(i) : 0;
        if (pages.generation && !failing_.contains(i)) {
            const auto it = synced_.constFind(i);
            if (it != synced_.constEnd() && it->generation == gen && !it->stamp.isEmpty() &&
                it->stamp == FileStamp(path))
                continue; // unchanged text, untouched file
        }
        try {
            const QString text = pages.text(i);
            if (!PageFileMatches(i, text))
                WriteEditText(path, text);
            failing_.remove(i);
            if (pages.generation)
                synced_[i] = {gen, FileStamp(path)};
        } catch (const AppError& e) {
            if (reportAll || !failing_.contains(i))
                errors.append(e.message());
            failing_.insert(i);
            synced_.remove(i);
        }
    }
    return errors;
}

QString LoadPageFile(int index)
{
    const QString path = PageFilePath(index);
    return FileExists(path) ? ReadEditText(path) : QString();
}

} // namespace vn
