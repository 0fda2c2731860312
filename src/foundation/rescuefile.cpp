#include "rescuefile.h"

#include "apperror.h"
#include "clock.h"
#include "datetimeformat.h"
#include "textcodec.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vn {

namespace {

const QString kToldList = QStringLiteral(".told");

// A folder of ours: made when missing, never one another user owns (the
// temporary folder is shared).
bool usableFolder(const QString& folder, uint uid)
{
    return MakePrivateFolder(folder) && QFileInfo(folder).ownerId() == uid;
}

QString freeName(const QString& folder, const QString& base)
{
    QString path = folder + u'/' + base + QStringLiteral(".txt");
    for (int n = 2; QFileInfo(path).exists() || QFileInfo(path).isSymLink(); ++n)
        path = folder + u'/' + base + QStringLiteral("-%1.txt").arg(n);
    return path;
}

} // namespace

QString WriteRescueFile(const QString& name, const QString& text, const RescueInputs& in)
{
    const QString base = name + u'.' + RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), Now());
    const QByteArray bytes = EncodeText(text);
    for (const QString& folder : RescueFolders(in)) {
        if (!usableFolder(folder, in.uid))
            continue;
        const QString path = freeName(folder, base);
        try {
            WriteFileAtomic(path, bytes);
        } catch (const AppError&) {
            continue; // the next place may take it
        }
        return path;
    }
    return {};
}

QStringList UntoldRescueFiles(const RescueInputs& in)
{
    QStringList untold;
    for (const QString& folder : RescueFolders(in)) {
        const QFileInfo info(folder);
        if (!info.isDir() || info.ownerId() != in.uid)
            continue;
        // Filtered by hand: a name filter would compile a regular expression
        // on every start.
        QStringList present = QDir(folder).entryList(QDir::Files, QDir::Name);
        present.removeIf([](const QString& name) { return !name.endsWith(QLatin1String(".txt")); });
        QFile list(folder + u'/' + kToldList);
        QByteArray told;
        if (list.open(QIODevice::ReadOnly))
            told = list.readAll();
        const QStringList toldNames = QString::fromUtf8(told).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& name : present)
            if (!toldNames.contains(name))
                untold << folder + u'/' + name;
        // The list names the files present now: a file the user removed
        // leaves it.
        const QByteArray now =
            present.isEmpty() ? QByteArray() : (present.join(u'\n') + u'\n').toUtf8();
        if (now != told) {
            try {
                WriteFileAtomic(list.fileName(), now);
            } catch (const AppError&) {
                // told again at the next start
            }
        }
    }
    return untold;
}

} // namespace vn
