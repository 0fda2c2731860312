#include "loadreport.h"

#include <QDir>
#include <QStringList>

namespace vn
{

QString LoadReport::message() const
{
    if (ok()) return QString();
    QStringList numbers;
    for (int n : unreadableLines)
        numbers.append(QString::number(n));
    return QStringLiteral("ファイル \"%1\" に読み込めない行が %2 行あります（%3 行目）。"
                          "これらの行は飛ばして読み込み、ファイルにはそのまま残します")
        .arg(QDir::toNativeSeparators(path))
        .arg(count())
        .arg(numbers.join(QStringLiteral(", ")));
}

} // namespace vn
