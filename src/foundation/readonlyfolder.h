#pragma once
// A data folder opened read-only: another instance (another login, another
// PC) writes it, and this one only shows it. Every writer asks here before
// it writes, makes or removes anything, so no byte of the folder changes:
// no page, diary, list, INI or run-record save, no backup, no clean-up.
#include <QString>

namespace vn {

// Set once at start-up, before anything is written.
void SetDataFolderReadOnly(bool readOnly);
bool DataFolderReadOnly();

// False for a path in the data folder, or below it, while the folder is
// read-only (the path as given and, for a link, the file it leads to);
// true for everything else (exports, rescue files elsewhere).
bool MayWriteAt(const QString& path);

} // namespace vn
