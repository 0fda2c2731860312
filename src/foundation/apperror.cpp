#include "apperror.h"

#include <cerrno>
#include <cstring>

namespace vn {

namespace {

QString japaneseCause(int err)
{
    switch (err) {
    case ENOENT: return QStringLiteral("ファイルまたはフォルダーがありません");
    case EACCES:
    case EPERM: return QStringLiteral("アクセスが許可されていません");
    case ENOSPC: return QStringLiteral("ディスクの空きが足りません");
    case EDQUOT: return QStringLiteral("ディスクの使用量の上限に達しました");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます");
    case EROFS: return QStringLiteral("読み取り専用の場所です");
    case EISDIR: return QStringLiteral("フォルダーです");
    case ENOTDIR: return QStringLiteral("途中の名前がフォルダーではありません");
    case ELOOP: return QStringLiteral("シンボリックリンクが循環しています");
    case ENAMETOOLONG: return QStringLiteral("名前が長すぎます");
    case EIO: return QStringLiteral("ディスクの読み書きに失敗しました");
    case EMFILE:
    case ENFILE: return QStringLiteral("開いているファイルが多すぎます");
    case ENOMEM: return QStringLiteral("メモリが足りません");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("ほかのプログラムが使用中です");
    case EEXIST: return QStringLiteral("同じ名前のものがすでにあります");
    case EXDEV: return QStringLiteral("別のディスクへは移せません");
    default: return QStringLiteral("システムのエラーです");
    }
}

QString bracketed(const QString& systemText)
{
    return systemText.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(systemText);
}

} // namespace

QString SystemErrorText(int err)
{
    return japaneseCause(err) + bracketed(QString::fromLocal8Bit(std::strerror(err)));
}

void ThrowOpenError(const QString& path, int err)
{
    throw AppError(
        QStringLiteral("ファイル \"%1\" を開けません。%2").arg(path, SystemErrorText(err)));
}

void ThrowCreateError(const QString& path, int err)
{
    throw AppError(
        QStringLiteral("ファイル \"%1\" を作成できません。%2").arg(path, SystemErrorText(err)));
}

void ThrowOpenError(const QString& path, const QString& systemText)
{
    throw AppError(QStringLiteral("ファイル \"%1\" を開けません").arg(path) +
                   bracketed(systemText));
}

void ThrowCreateError(const QString& path, const QString& systemText)
{
    throw AppError(QStringLiteral("ファイル \"%1\" を作成できません").arg(path) +
                   bracketed(systemText));
}

QString NotRegularFileText(const QString& path, bool writing)
{
    return (writing ? QStringLiteral("ファイル \"%1\" を作成できません。")
                    : QStringLiteral("ファイル \"%1\" を開けません。"))
               .arg(path) +
           QStringLiteral(
               "通常のファイルではありません（フォルダー、名前付きパイプ、デバイスなど）");
}

void ThrowNotRegularFile(const QString& path, bool writing)
{
    throw AppError(NotRegularFileText(path, writing));
}

QString ErrorBoxText(const QString& message)
{
    if (message.endsWith(u'.') || message.endsWith(u'。') || message.endsWith(u']'))
        return message;
    return message + u'.';
}

} // namespace vn
