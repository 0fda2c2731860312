#include "qttrayicon.h"

#include "programicon.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

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

BalloonRoute RouteBalloon(const BalloonPlace& place)
{
    if (place.notificationService)
        return BalloonRoute::Notification;
    if (!place.trayAvailable || !place.iconVisible)
        return BalloonRoute::Refused;
    return place.iconPlaced ? BalloonRoute::AtIcon : BalloonRoute::Wait;
}

QtTrayIcon::QtTrayIcon(QObject* parent, std::unique_ptr<NotificationService> notifications)
    : TrayIcon(parent), icon_(std::make_unique<QSystemTrayIcon>(ProgramIcon())),
      notifications_(notifications ? std::move(notifications)
                                   : std::make_unique<DBusNotifications>())
{
    waitTimer_.setInterval(100);
    connect(&waitTimer_, &QTimer::timeout, this, &QtTrayIcon::retryWaiting);
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

BalloonPlace QtTrayIcon::place(bool askService)
{
    BalloonPlace p;
    p.notificationService = askService && notifications_->available();
    p.trayAvailable =
        QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages();
    p.iconVisible = icon_->isVisible();
    p.iconPlaced = p.trayAvailable && p.iconVisible && iconPlaced();
    return p;
}

bool QtTrayIcon::iconPlaced()
{
    // In an X11 tray the icon is a window of Qt's own. Until the tray has
    // taken it in and Qt has heard where it went, Qt places balloons at the
    // window's first place, the screen's top-left corner, over the main
    // window's tool bar.
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QSystemTrayIconSys"))
            window = w;
    if (!window)
        return true; // a StatusNotifier host places it; there is no corner
    if (!window->isVisible() || !window->testAttribute(Qt::WA_WState_Created))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return true;
    xcb_connection_t* conn = x11->connection();
    const auto id = xcb_window_t(window->winId());
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, id), nullptr);
    if (!tree)
        return false;
    const xcb_window_t root = tree->root;
    const bool docked = tree->parent != root;
    std::free(tree);
    if (!docked) {
        dockedChecks_ = 0;
        return false;
    }
    xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
        conn, xcb_translate_coordinates(conn, id, root, 0, 0), nullptr);
    if (!at)
        return false;
    const QPoint real(at->dst_x, at->dst_y);
    std::free(at);
    // Qt works in device-independent pixels; the server in real ones. Should
    // the two never agree, Qt has had two seconds to hear of the move.
    const QPoint known = icon_->geometry().topLeft() * window->devicePixelRatio();
    return known == real || ++dockedChecks_ > 20;
}

bool QtTrayIcon::showBalloon(const QString& title, const QString& text, int iconKind, int seconds)
{
    // A new message replaces the one shown or waiting, if any.
    waiting_.reset();
    waitTimer_.stop();
    switch (RouteBalloon(place(true))) {
    case BalloonRoute::Refused: return false;
    case BalloonRoute::Notification:
        notifications_->notify(title, text, iconKind, seconds);
        notified_ = true;
        return true;
    case BalloonRoute::AtIcon: showAtIcon(title, text, iconKind, seconds * 1000); return true;
    case BalloonRoute::Wait:
        waiting_ = Waiting{title, text, iconKind, QDeadlineTimer(qint64(seconds) * 1000)};
        waitTimer_.start();
        return true;
    }
    return false;
}

void QtTrayIcon::retryWaiting()
{
    if (!waiting_ || waiting_->until.hasExpired()) {
        // Its time ran out before the icon found its place.
        waiting_.reset();
        waitTimer_.stop();
        return;
    }
    // The service was not there a moment ago; only the icon is watched.
    const BalloonRoute route = RouteBalloon(place(false));
    if (route == BalloonRoute::Wait)
        return;
    const Waiting w = *waiting_;
    waiting_.reset();
    waitTimer_.stop();
    if (route == BalloonRoute::AtIcon)
        showAtIcon(w.title, w.text, w.iconKind, int(qMax<qint64>(1000, w.until.remainingTime())));
}

void QtTrayIcon::showAtIcon(const QString& title, const QString& text, int iconKind, int msecs)
{
    icon_->showMessage(title, text, BalloonIconForKind(iconKind), msecs);
    balloonShown_ = true;
}

void QtTrayIcon::hideBalloon()
{
    waiting_.reset();
    waitTimer_.stop();
    if (notified_) {
        notified_ = false;
        notifications_->close();
    }
    if (!balloonShown_)
        return;
    balloonShown_ = false;
    // A message with neither title nor text takes the shown one away.
    if (icon_->isVisible())
        icon_->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
}

} // namespace vn
