#include "editcommands.h"

namespace vn {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

bool endsWithBreak(const QString& t)
{
    return t.endsWith(u'\n') || t.endsWith(u'\r');
}
} // namespace

QString SeparatorInsertion(const QString& mark, bool breakBefore, bool breakAfter)
{
    return (breakBefore ? kCrLf : QString()) + mark + (breakAfter ? kCrLf : QString());
}

QString TextWithLastLine(const QString& pageText, const QString& value)
{
    QString t = pageText;
    if (!t.isEmpty() && !endsWithBreak(t))
        t += kCrLf;
    return t + value + kCrLf;
}

QString AppendOnNewLine(const QString& fileText, const QString& selection)
{
    if (fileText.isEmpty())
        return selection + kCrLf;
    if (endsWithBreak(fileText))
        return fileText + selection + kCrLf;
    return fileText + kCrLf + selection;
}

QString UrlOfLine(const QString& line)
{
    return line.startsWith(QLatin1String("http://"), Qt::CaseSensitive) ? line : QString();
}

} // namespace vn
