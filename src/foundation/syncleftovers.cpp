#include "syncleftovers.h"

#include <QRegularExpression>

namespace vn {

namespace {

bool startsWith(QStringView s, const char* prefix)
{
    return s.startsWith(QLatin1String(prefix));
}
bool endsWith(QStringView s, const char* suffix)
{
    return s.endsWith(QLatin1String(suffix));
}
bool contains(QStringView s, const char* part)
{
    return s.contains(QLatin1String(part));
}

bool syncthing(QStringView n)
{
    return (startsWith(n, ".syncthing.") && endsWith(n, ".tmp")) ||
           (startsWith(n, "~syncthing~") && endsWith(n, ".tmp")) ||
           contains(n, ".sync-conflict-") || n == QLatin1String(".stfolder") ||
           startsWith(n, ".stfolder.") || n == QLatin1String(".stversions") ||
           n == QLatin1String(".stignore");
}

bool nextcloud(QStringView n)
{
    // "Vnote1_conflict-20261210-093000.vnm" (ownCloud, older Nextcloud); the
    // newer "(conflicted copy …)" is matched with Dropbox's below.
    return startsWith(n, ".~lock.") || contains(n, "_conflict-") ||
           startsWith(n, ".owncloudsync.log") || (startsWith(n, "._sync_") && contains(n, ".db")) ||
           (startsWith(n, ".sync_") && contains(n, ".db")) ||
           // a download in progress: ".Vnote1.vnm.~1a2b3c"
           (startsWith(n, ".") && contains(n, ".~"));
}

bool dropbox(QStringView n)
{
    // "Vnote1 (Taro's conflicted copy 2026-12-10).vnm", "… (Case Conflict)",
    // "… (Selective Sync Conflict)".
    static const QRegularExpression conflicted(QStringLiteral("\\([^()]*[Cc]onflict[^()]*\\)"));
    // The cheap test first: a folder of diary days holds hundreds of names.
    return startsWith(n, ".dropbox") || (contains(n, "onflict") && conflicted.match(n).hasMatch());
}

bool editor(QStringView n)
{
    return endsWith(n, "~") ||
           (startsWith(n, ".") &&
            (endsWith(n, ".swp") || endsWith(n, ".swo") || endsWith(n, ".swx"))) ||
           startsWith(n, ".#") || (n.size() > 2 && startsWith(n, "#") && endsWith(n, "#"));
}

} // namespace

bool IsSyncLeftover(QStringView name)
{
    return !name.isEmpty() && (syncthing(name) || nextcloud(name) || dropbox(name) || editor(name));
}

bool IsSyncLeftoverPath(QStringView relativePath)
{
    for (QStringView part : relativePath.split(u'/', Qt::SkipEmptyParts))
        if (IsSyncLeftover(part))
            return true;
    return false;
}

} // namespace vn
