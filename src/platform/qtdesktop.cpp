#include "qtdesktop.h"

#include "foundation/webaddress.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <utility>

namespace vn {

QStringList CalculatorPrograms(const QString& currentDesktop)
{
    QStringList programs = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                            QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
                            QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
    // The desktop's own calculator comes first ("ubuntu:GNOME" names two
    // desktops, the more particular first).
    static const std::pair<QLatin1String, QLatin1String> own[] = {
        {QLatin1String("GNOME"), QLatin1String("gnome-calculator")},
        {QLatin1String("KDE"), QLatin1String("kcalc")},
        {QLatin1String("MATE"), QLatin1String("mate-calc")},
        {QLatin1String("XFCE"), QLatin1String("galculator")},
    };
    const QStringList desktops = currentDesktop.toUpper().split(u':', Qt::SkipEmptyParts);
    for (auto d = desktops.crbegin(); d != desktops.crend(); ++d)
        for (const auto& [desktop, program] : own)
            if (*d == desktop)
                programs.move(programs.indexOf(program), 0);
    return programs;
}

QStringList CalculatorPrograms()
{
    return CalculatorPrograms(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
}

void QtDesktop::openUrl(const QString& url)
{
    // Only web addresses reach the desktop's opener, whoever asks.
    const QUrl target = WebAddress(url);
    if (target.isValid())
        QDesktopServices::openUrl(target);
}

bool QtDesktop::openDocument(const QString& path)
{
    // Without xdg-open (and outside GNOME and KDE) Qt finds no opener.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDesktop::startCalculator()
{
    // One that is installed but does not start gives way to the next.
    for (const QString& name : CalculatorPrograms()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return true;
    }
    return false;
}

} // namespace vn
