#include "pagefiles.h"

#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

namespace vn {

bool PageFileMatches(int index, const QString& text)
{
    const QString path = PageFilePath(index);
    if (!FileExists(path))
        return false;
    return ReadFileBytes(path) == EncodeText(text);
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

QStringList PageSaver::save(int count, const PageTextFn& textOf, bool reportAll)
{
    QStringList errors;
    bool allEmpty = true;
    for (int i = 0; i < kPageCount && allEmpty; ++i)
        allEmpty = textOf(i).isEmpty();
    if (allEmpty)
        return errors;
    for (int i = 0; i < count && i < kPageCount; ++i) {
        try {
            const QString text = textOf(i);
            if (!PageFileMatches(i, text))
                WriteEditText(PageFilePath(i), text);
            failing_.remove(i);
        } catch (const AppError& e) {
            if (reportAll || !failing_.contains(i))
                errors.append(e.message());
            failing_.insert(i);
        }
    }
    return errors;
}

QString LoadPageFile(int index)
{
    const QString path = PageFilePath(index);
    return FileExists(path) ? ReadEditText(path) : QString();
}

} // namespace vn
