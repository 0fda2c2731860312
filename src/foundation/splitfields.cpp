#include "splitfields.h"

namespace vn {

QString TrimControl(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b).toString();
}

QStringList SplitFields(const QString& line, QChar separator)
{
    QStringList out;
    const QString t = TrimControl(line);
    if (t.isEmpty())
        return out;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype sep = t.indexOf(separator, pos);
        if (sep < 0)
            break;
        if (sep > pos)
            out.append(TrimControl(QStringView(t).mid(pos, sep - pos)));
        pos = sep + 1;
    }
    const QString rest = TrimControl(QStringView(t).mid(pos));
    if (!rest.isEmpty())
        out.append(rest);
    return out;
}

} // namespace vn
