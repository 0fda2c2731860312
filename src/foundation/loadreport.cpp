#include "loadreport.h"

#include <QDir>
#include <QStringList>

namespace vn {

namespace {

QString numbersText(const QList<int>& lines)
{
    QStringList numbers;
    for (int n : lines)
        numbers.append(QString::number(n));
    return numbers.join(QStringLiteral(", "));
}

} // namespace

QString LoadReport::message() const
{
    QStringList parts;
    if (!unreadableLines.isEmpty())
        parts.append(QStringLiteral("ファイル \"%1\" に読み込めない行が %2 行あります（%3 行目）。"
                                    "これらの行は飛ばして読み込み、ファイルにはそのまま残します")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(count())
                         .arg(numbersText(unreadableLines)));
    if (!cutLines.isEmpty())
        parts.append(QStringLiteral("ファイル \"%1\" の予定の繰り返しが多すぎるため、%2 行目以降の"
                                    "繰り返しを途中までしか読み込めませんでした")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(numbersText(cutLines)));
    return parts.join(QStringLiteral("\r\n"));
}

} // namespace vn
