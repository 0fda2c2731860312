#include "apperror.h"

namespace vn {

void ThrowOpenError(const QString& path, const QString& cause)
{
    throw AppError(QStringLiteral("ファイル \"%1\". %2 は開けません").arg(path, cause));
}

void ThrowCreateError(const QString& path, const QString& cause)
{
    throw AppError(QStringLiteral("ファイル \"%1\". %2 を作成できません").arg(path, cause));
}

QString ErrorBoxText(const QString& message)
{
    if (message.endsWith(u'.') || message.endsWith(u'。'))
        return message;
    return message + u'.';
}

} // namespace vn
