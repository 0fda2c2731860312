#include "writtenfiles.h"

namespace vn {

namespace {
WrittenFileListener& listener()
{
    static WrittenFileListener l;
    return l;
}
} // namespace

void SetWrittenFileListener(WrittenFileListener l)
{
    listener() = std::move(l);
}

void NoteFileWritten(const QString& path)
{
    if (const WrittenFileListener& l = listener())
        l(path);
}

} // namespace vn
