#pragma once
// Temporary files left behind by a killed process.
//
// The atomic writer (WriteFileAtomic) writes "." + the file's name + "." +
// six letters or digits beside the file and renames it into place; a process
// killed in between leaves the temporary file behind.
#include <QString>

namespace vn {

// Removes, in the data folder and in the diary month and backup generation
// folders below it, the regular files of that form whose file name is one the
// program writes there and that were last changed before startedAt (seconds
// since the epoch). Nothing else is touched: no other name, no link, no
// folder, no file changed since the start. Returns the number removed.
int RemoveStaleTempFiles(qint64 startedAt);

// Whether fileName is a temporary file of the atomic writer for a file named
// target.
bool IsTempFileNameFor(QStringView fileName, QStringView target);

} // namespace vn
