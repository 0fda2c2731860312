#include "qtdesktop.h"

#include "foundation/webaddress.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace vn {

QStringList CalculatorPrograms()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
}

void QtDesktop::openUrl(const QString& url)
{
    // Only web addresses reach the desktop's opener, whoever asks.
    const QUrl target = WebAddress(url);
    if (target.isValid())
        QDesktopServices::openUrl(target);
}

void QtDesktop::openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDesktop::startCalculator()
{
    for (const QString& name : CalculatorPrograms()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            return QProcess::startDetached(program, {});
    }
    return false;
}

} // namespace vn
