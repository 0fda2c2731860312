#pragma once
// Who in the program follows the files it writes: the background sync
// learns here that the schedules or a diary day changed, without asking the
// windows. A file is noted after it was written (renamed into place) or
// removed by this process.
#include <QString>

#include <functional>

namespace vn {

using WrittenFileListener = std::function<void(const QString& path)>;
// One listener; an empty one stops the notes.
void SetWrittenFileListener(WrittenFileListener listener);
void NoteFileWritten(const QString& path);

} // namespace vn
