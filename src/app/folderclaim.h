#pragma once
// The data folder's one writer: the lock in the folder is taken at the
// start, or, when another instance (another login, another PC) holds it,
// the user chooses between opening the folder read-only and quitting.
#include "platform/folderlock.h"

#include <QString>

namespace vn {

class MainWindow;

// What the box says about the instance that holds the folder.
QString FolderInUseText(const LockHolder& holder, const QString& folder);

// True when the program goes on: the lock is taken, the folder cannot be
// locked at all (it is not writable), or the user chose to open it
// read-only (the folder is then marked so, before anything is written).
// False when the user chose to quit.
bool ClaimDataFolder(DataFolderLock& lock, const QString& folder);

// Keeps the lock on the file a sync tool puts in its place, and, on file
// systems that need it, touches the file every few minutes. When another
// instance has taken the folder meanwhile (this PC slept past the bound),
// the folder becomes read-only and the user is told.
void KeepDataFolderClaim(DataFolderLock* lock, MainWindow* main);

} // namespace vn
