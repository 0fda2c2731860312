#include "outsidechange.h"

#include "clock.h"
#include "datetimeformat.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>

namespace vn {

namespace {

OutsideChangeSink& sink()
{
    static OutsideChangeSink s;
    return s;
}

bool taken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString shownName(const OutsideChange& c)
{
    const QString file = QFileInfo(c.path).fileName();
    return c.what.isEmpty() ? QStringLiteral("「%1」").arg(file)
                            : QStringLiteral("%1（%2）").arg(c.what, file);
}

} // namespace

QString ConflictCopyPath(const QString& path)
{
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName()) +
                         QStringLiteral(" (外部の変更 ") +
                         RenderDateTime(QStringLiteral("yyyy-mm-dd hhnn"), Now());
    QString candidate = stem + QStringLiteral(").txt");
    for (int n = 2; taken(candidate); ++n)
        candidate = stem + u' ' + QString::number(n) + QStringLiteral(").txt");
    return candidate;
}

QString KeepConflictCopy(const QString& path, const QByteArray& outsideBytes)
{
    const QString copy = ConflictCopyPath(path);
    WriteFileAtomic(copy, outsideBytes);
    return copy;
}

void SetOutsideChangeSink(OutsideChangeSink s)
{
    sink() = std::move(s);
}

void ReportOutsideChange(const OutsideChange& change)
{
    if (sink())
        sink()(change);
}

QString OutsideChangeMessage(const QList<OutsideChange>& changes)
{
    QStringList parts;
    for (const OutsideChange& c : changes) {
        if (c.kind == OutsideChange::Kind::Copied)
            parts << QStringLiteral("%1は、このプログラムで編集している間に、ほかのプログラム"
                                    "（同期ツールやほかのパソコンなど）でも書き換えられました。"
                                    "ここで編集した内容で保存し、外で書き換えられた内容は同じ"
                                    "フォルダに次の名前で残しました。\r\n%2")
                         .arg(shownName(c), QDir::toNativeSeparators(c.copyPath));
        else if (c.kind == OutsideChange::Kind::Merged)
            parts << QStringLiteral("%1は、このプログラムで編集している間に、ほかのプログラムでも"
                                    "書き換えられました。外で足された行と変えられた行も残して、"
                                    "行ごとに合わせて保存しました。")
                         .arg(shownName(c));
    }
    return parts.join(QStringLiteral("\r\n\r\n"));
}

} // namespace vn
