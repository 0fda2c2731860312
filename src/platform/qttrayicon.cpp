#include "qttrayicon.h"

#include "programicon.h"

#include <QCoreApplication>

namespace vn {

QSystemTrayIcon::MessageIcon BalloonIconForKind(int iconKind)
{
    switch (iconKind) {
    case 1: return QSystemTrayIcon::Information;
    case 2: return QSystemTrayIcon::Warning;
    case 3: return QSystemTrayIcon::Critical;
    default: return QSystemTrayIcon::NoIcon;
    }
}

QtTrayIcon::QtTrayIcon(QObject* parent)
    : TrayIcon(parent), icon_(std::make_unique<QSystemTrayIcon>(ProgramIcon()))
{
    icon_->setToolTip(QStringLiteral("Velnote"));
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit clicked();
                if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked();
            });
}

QtTrayIcon::~QtTrayIcon()
{
    // Without the application the tray's windows are gone already; the icon
    // must not try to take itself out of the tray any more.
    if (!QCoreApplication::instance())
        (void)icon_.release();
}

void QtTrayIcon::show()
{
    icon_->show();
}

void QtTrayIcon::setToolTip(const QString& text)
{
    icon_->setToolTip(text);
}

void QtTrayIcon::setContextMenu(QMenu* menu)
{
    icon_->setContextMenu(menu);
}

bool QtTrayIcon::showBalloon(const QString& title, const QString& text, int iconKind, int seconds)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages() ||
        !icon_->isVisible())
        return false;
    // A new message replaces the one shown, if any.
    icon_->showMessage(title, text, BalloonIconForKind(iconKind), seconds * 1000);
    balloonShown_ = true;
    return true;
}

void QtTrayIcon::hideBalloon()
{
    if (!balloonShown_)
        return;
    balloonShown_ = false;
    // A message with neither title nor text takes the shown one away.
    if (icon_->isVisible())
        icon_->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
}

} // namespace vn
