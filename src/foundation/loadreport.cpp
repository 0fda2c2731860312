#include "loadreport.h"

#include <QDir>
#include <QStringList>

namespace vn {

namespace {

// The first few line numbers: a file of many thousand unreadable lines
// would otherwise give a box too big to lay out, let alone read.
constexpr int kNumbersShown = 10;

QString numbersText(const QList<int>& lines)
{
    QStringList numbers;
    for (int n : lines.first(qMin(lines.size(), qsizetype(kNumbersShown))))
        numbers.append(QString::number(n));
    return numbers.join(QStringLiteral(", "));
}

// "3, 8 行目", or with more lines than are shown "1, 2, … 10 行目など".
QString linesText(const QList<int>& lines)
{
    return numbersText(lines) + QStringLiteral(" 行目") +
           (lines.size() > kNumbersShown ? QStringLiteral("など") : QString());
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
                         .arg(linesText(unreadableLines)));
    if (!cutLines.isEmpty())
        parts.append(QStringLiteral("ファイル \"%1\" の予定の繰り返しが多すぎるため、%2の"
                                    "繰り返しを途中までしか読み込めませんでした")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(linesText(cutLines)));
    return parts.join(QStringLiteral("\r\n"));
}

} // namespace vn
