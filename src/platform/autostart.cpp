#include "autostart.h"

#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vn {

namespace {

// An argument of Exec: quoted when it holds a reserved character, with ",
// `, $ and \ escaped inside the quotes; % is doubled (field codes).
QString execArgument(const QString& arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString s = arg;
    s.replace(u'%', QStringLiteral("%%"));
    bool quote = s.isEmpty();
    for (QChar c : s)
        quote = quote || reserved.contains(c);
    if (!quote)
        return s;
    QString q = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            q += u'\\';
        q += c;
    }
    return q + u'"';
}

// A value of a desktop entry: backslashes and line breaks escaped.
QString entryValue(const QString& v)
{
    QString out;
    for (QChar c : v) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

QString AutostartFilePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config) + QStringLiteral("/autostart/velnote.desktop");
}

bool AutostartEnabled(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QStringList lines;
    try {
        lines = SplitLines(QString::fromUtf8(ReadFileBytes(path)));
    } catch (const AppError&) {
        return false;
    }
    bool inEntry = false, application = false, off = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inEntry || line.startsWith(u'#') || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Type"))
            application = value == QLatin1String("Application");
        else if (key == QLatin1String("Hidden") && value == QLatin1String("true"))
            off = true;
        else if (key == QLatin1String("X-GNOME-Autostart-enabled") &&
                 value == QLatin1String("false"))
            off = true;
    }
    return application && !off;
}

QString AutostartEntry(const QString& program, const QString& dataFolder)
{
    QString exec = execArgument(program);
    if (!dataFolder.isEmpty())
        exec = QStringLiteral("env ") +
               execArgument(QStringLiteral("VELNOTE_DATA_DIR=") + dataFolder) + u' ' + exec;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Velnote\n"
                          "Name[ja]=Velnote\n"
                          "Comment=Starts Velnote at login\n"
                          "Comment[ja]=ログイン時にVelnoteを起動します\n"
                          "Exec=%1\n"
                          "Icon=velnote\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(entryValue(exec));
}

void SetAutostart(bool on, const QString& program, const QString& path, const QString& dataFolder)
{
    if (!on) {
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw AppError(QStringLiteral("ファイル \"%1\" を削除できません")
                               .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const QByteArray text = AutostartEntry(program, dataFolder).toUtf8();
    if (QFileInfo(path).isFile()) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == text)
            return;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!MakePrivateFolder(folder))
        throw AppError(QStringLiteral("フォルダー \"%1\" を作成できません")
                           .arg(QDir::toNativeSeparators(folder)));
    WriteFileAtomic(path, text);
}

} // namespace vn
