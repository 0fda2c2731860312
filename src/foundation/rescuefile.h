#pragma once
// Rescue files: text that could not be saved where it belongs (the data
// folder cannot be written at the end of the session) is kept in a file of
// its own outside the data folder, in the first of RescueFolders that takes
// it. The program never removes these files; the next start tells the user
// where they are.
#include "paths.h"

#include <QString>
#include <QStringList>

namespace vn {

// Writes text (CR LF; Shift-JIS when it holds the text, else UTF-8) to a new
// file "<name>.<yyyymmdd_hhnnss>.txt", stamped with the clock's time,
// readable by its owner only. Returns the file's path, or an empty string
// when no folder took it.
QString WriteRescueFile(const QString& name, const QString& text,
                        const RescueInputs& in = CurrentRescueInputs());

// The rescue files no earlier start has told about (each folder keeps a
// list of the names told); from now on they count as told.
QStringList UntoldRescueFiles(const RescueInputs& in = CurrentRescueInputs());

} // namespace vn
