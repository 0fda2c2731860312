#include "readonlyfolder.h"

#include "paths.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>

namespace vn {

namespace {

bool g_readOnly = false;

bool inFolder(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && (path == folder || path.startsWith(folder + u'/'));
}

bool inDataFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString folder = QDir::cleanPath(QFileInfo(AppFolder()).absoluteFilePath());
    if (inFolder(clean, folder))
        return true;
    // The same folder reached through a link on either side.
    const QString real = QFileInfo(AppFolder()).canonicalFilePath();
    const qsizetype slash = clean.lastIndexOf(u'/');
    const QString parent = QFileInfo(clean.left(qMax<qsizetype>(slash, 1))).canonicalFilePath();
    return inFolder(parent + clean.mid(slash), real) || inFolder(parent, real);
}

} // namespace

void SetDataFolderReadOnly(bool readOnly)
{
    g_readOnly = readOnly;
}

bool DataFolderReadOnly()
{
    return g_readOnly;
}

bool MayWriteAt(const QString& path)
{
    if (!g_readOnly)
        return true;
    return !inDataFolder(path) && !inDataFolder(WriteTargetOf(path));
}

} // namespace vn
