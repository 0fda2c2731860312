#include "workspace/textrescue.h"

#include "foundation/paths.h"
#include "foundation/rescuefile.h"
#include "workspace/pagestore.h"

#include <QFileInfo>

#include <cstdio>

namespace vn {

namespace {

void tell(const QString& line)
{
    std::fprintf(stderr, "Velnote: %s\n", line.toUtf8().constData());
}

} // namespace

void TextRescue::rescue(const QString& what, const QString& fileName, const QString& text)
{
    if (text.isEmpty() || kept_.value(fileName) == text)
        return;
    const QString path = WriteRescueFile(fileName, text);
    kept_.insert(fileName, text);
    if (!path.isEmpty()) {
        tell(QStringLiteral("%1を保存できなかったため、内容を %2 に書き出しました。")
                 .arg(what, path));
        return;
    }
    // The last place left: the error output, which the desktop may keep.
    tell(QStringLiteral(
             "%1を保存できず、控えのファイルもどこにも書けなかったため、内容をここに書き出します。")
             .arg(what));
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!shown.endsWith(u'\n'))
        shown += u'\n';
    std::fprintf(stderr, "----- %s -----\n%s----- ここまで -----\n", what.toUtf8().constData(),
                 shown.toUtf8().constData());
    std::fflush(stderr);
}

void TextRescue::rescueFailingPages(const PageStore& store)
{
    for (int i = 0; i < kPageCount; ++i) {
        if (!store.failing(i))
            continue;
        const QString tab = store.page(i).tabName;
        const QString what = tab.isEmpty() ? QStringLiteral("メモ %1").arg(i + 1)
                                           : QStringLiteral("メモ「%1」").arg(tab);
        rescue(what, QFileInfo(PageFilePath(i)).fileName(), store.text(i));
    }
}

} // namespace vn
