#include "pagefiles.h"

#include "foundation/paths.h"
#include "foundation/textfile.h"

namespace vn {

bool PageFileMatches(int index, const QString& text)
{
    const QString path = PageFilePath(index);
    if (!FileExists(path))
        return false;
    return JoinLinesCrLf(ReadLines(path)) == text;
}

void SavePageFiles(int count, const PageTextFn& textOf)
{
    bool allEmpty = true;
    for (int i = 0; i < kPageCount && allEmpty; ++i)
        allEmpty = textOf(i).isEmpty();
    if (allEmpty)
        return;
    for (int i = 0; i < count && i < kPageCount; ++i) {
        const QString text = textOf(i);
        if (!PageFileMatches(i, text))
            WriteEditText(PageFilePath(i), text);
    }
}

QString LoadPageFile(int index)
{
    const QString path = PageFilePath(index);
    return FileExists(path) ? ReadEditText(path) : QString();
}

} // namespace vn
