#pragma once
// Files that file-sync tools and editors leave in a folder they look after:
// their temporary files while a copy comes in, the copies they keep when
// two machines changed one file, their own book-keeping, an editor's backup
// and swap files. None of them is the program's data, whatever its name
// looks like, so every listing of the data folder passes them over.
#include <QStringView>

namespace vn {

// Whether a file or folder name (one component, no separator) is such a
// leftover:
// - Syncthing: ".syncthing.*.tmp", "~syncthing~*.tmp", "*.sync-conflict-*",
//   ".stfolder", ".stversions", ".stignore";
// - Nextcloud and ownCloud: ".~lock.*", "*_conflict-*", ".owncloudsync.log*",
//   "._sync_*.db*", ".sync_*.db*", their downloads ".*.~*";
// - Dropbox: ".dropbox*", "* (… conflicted copy …)*" and its other
//   "(… Conflict)" copies;
// - editors: "*~", ".*.swp" (and .swo, .swx), ".#*", "#*#".
// The program's own folder lock (".~lock.Velnote#") is one of them too.
bool IsSyncLeftover(QStringView name);

// Whether any component of a relative path ("a/b/c") is a leftover: a file
// inside ".stversions" is one even when its own name looks like data.
bool IsSyncLeftoverPath(QStringView relativePath);

} // namespace vn
