#include "loadreport.h"

#include <QDir>
#include <QStringList>

namespace vn {

namespace {

// "3, 7 行目"; past the first few numbers the rest are only counted, so
// that a file of noise gives a box that fits on the screen.
QString numbersText(const QList<int>& lines)
{
    constexpr qsizetype kShown = 10;
    QStringList numbers;
    for (qsizetype i = 0; i < qMin(lines.size(), kShown); ++i)
        numbers.append(QString::number(lines[i]));
    QString text = numbers.join(QStringLiteral(", ")) + QStringLiteral(" 行目");
    if (lines.size() > kShown)
        text += QStringLiteral("ほか %1 行").arg(lines.size() - kShown);
    return text;
}

} // namespace

QString LoadReport::message() const
{
    QStringList parts;
    if (!unreadableLines.isEmpty())
        parts.append(QStringLiteral("ファイル \"%1\" に読み込めない行が %2 行あります（%3）。"
                                    "これらの行は飛ばして読み込み、ファイルにはそのまま残します")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(count())
                         .arg(numbersText(unreadableLines)));
    if (!cutLines.isEmpty())
        parts.append(QStringLiteral("ファイル \"%1\" の予定の繰り返しが多すぎるため、%2以降の"
                                    "繰り返しを途中までしか読み込めませんでした")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(numbersText(cutLines)));
    return parts.join(QStringLiteral("\r\n"));
}

} // namespace vn
