#pragma once
// Files written for the user outside the program's own files (an iCalendar
// export): only to a regular file or to a new name, and never into the data
// folder itself or its diary and backup folders, whatever links or relative
// names lead there. A FIFO, a device or a folder is left alone, and so is
// every file the program keeps (pages, settings, lists, run record, diary,
// backups), including those it will make later.
#include <QByteArray>
#include <QString>

namespace vn {

// Throws AppError with one Japanese line when path is no place to write to.
void CheckExportTarget(const QString& path);
// CheckExportTarget, then the atomic write (WriteFileAtomic).
void WriteExportFile(const QString& path, const QByteArray& bytes);

} // namespace vn
