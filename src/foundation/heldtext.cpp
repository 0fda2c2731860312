#include "heldtext.h"

#include "clock.h"
#include "datetimeformat.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>

namespace vn {

namespace {

bool hasNul(const QByteArray& bytes, TextForm form)
{
    if (form != TextForm::Utf16LE && form != TextForm::Utf16BE)
        return bytes.contains('\0');
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == '\0' && bytes[i + 1] == '\0')
            return true;
    return false;
}

} // namespace

EditFileText DecodeEditFile(const QByteArray& bytes, const QString& path)
{
    FileText decoded = DecodeFileText(bytes);
    EditFileText out;
    out.text = NormalizeLineBreaks(decoded.text);
    out.form = decoded.form;
    if (!decoded.exact) {
        const QString shown = QDir::toNativeSeparators(path);
        out.heldReason =
            hasNul(bytes, decoded.form)
                ? QStringLiteral("ファイル \"%1\" には NUL 文字が含まれているため、そのままでは"
                                 "表示できません（NUL 文字は「\uFFFD」で表示）")
                      .arg(shown)
                : QStringLiteral("ファイル \"%1\" には文字として読めないバイトが含まれているため、"
                                 "そのままでは表示できません（読めないバイトは「\uFFFD」で表示）")
                      .arg(shown);
    }
    return out;
}

QByteArray EncodeEditFile(const QString& text, TextForm form)
{
    return text.isEmpty() ? QByteArray() : EncodeFileText(text, form);
}

QString ReadEditFileText(const QString& path)
{
    if (!FileExists(path))
        return QString();
    return DecodeEditFile(ReadFileBytes(path), path).text;
}

QString HeldCopyPath(const QString& path)
{
    const QString stem = path + u'.' + RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), Now());
    QString candidate = stem + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = stem + u'_' + QString::number(n) + QStringLiteral(".bak");
    return candidate;
}

void KeepHeldCopy(const QString& path, const QString& copyPath)
{
    if (!QFileInfo(path).isFile())
        return;
    WriteFileAtomic(copyPath, ReadFileBytes(path));
}

QString HeldRewritePrompt(const QString& what, const QString& reason, const QString& copyPath)
{
    return QStringLiteral("%1を、表示している文章で書き換えて編集できるようにしますか？\r\n\r\n"
                          "%2。\r\n\r\n"
                          "書き換えると、表示できていない部分はこのファイルからなくなります。"
                          "書き換える前のファイルは、同じフォルダに次の名前で残します。\r\n%3")
        .arg(what, reason, QFileInfo(copyPath).fileName());
}

QString HeldNotice(const QString& reason)
{
    return reason +
           QStringLiteral("。読み取り専用です。「編集する」を押すと、元のファイルを控えとして"
                          "残し、表示している文章で書き換えて編集できます。");
}

} // namespace vn
