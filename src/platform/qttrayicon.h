#pragma once
// The notification-area icon over QSystemTrayIcon.
#include "notifications.h"
#include "trayicon.h"

#include <QDeadlineTimer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>
#include <optional>

namespace vn {

// The balloon icon for an icon kind: 0 none, 1 information, 2 warning,
// 3 error; other kinds show no icon.
QSystemTrayIcon::MessageIcon BalloonIconForKind(int iconKind);

// Where a balloon goes.
enum class BalloonRoute {
    Refused,      // no notification service and no tray icon to show it at
    Notification, // the desktop's notification service
    AtIcon,       // beside the tray icon
    Wait,         // the icon's place is not known yet: shown once it is
};

struct BalloonPlace {
    bool notificationService = false;
    bool trayAvailable = false;
    bool iconVisible = false;
    bool iconPlaced = false; // the tray has taken the icon in
};

// A balloon is never shown where the icon's place is not known: a desktop
// notification when there is a service, else beside the placed icon.
BalloonRoute RouteBalloon(const BalloonPlace& place);

class QtTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    // Without a service given, balloons go to the session bus's
    // notification service when there is one.
    explicit QtTrayIcon(QObject* parent = nullptr,
                        std::unique_ptr<NotificationService> notifications = nullptr);
    ~QtTrayIcon() override;

    void show() override;
    void setToolTip(const QString& text) override;
    void setContextMenu(QMenu* menu) override;
    bool showBalloon(const QString& title, const QString& text, int iconKind, int seconds) override;
    void hideBalloon() override;

    QSystemTrayIcon* systemTrayIcon() const { return icon_.get(); }
    // A balloon waiting for the icon's place to be known.
    bool balloonWaiting() const { return waiting_.has_value(); }

private:
    struct Waiting {
        QString title;
        QString text;
        int iconKind = 0;
        QDeadlineTimer until; // when the balloon would have gone again
    };

    BalloonPlace place(bool askService);
    void showAtIcon(const QString& title, const QString& text, int iconKind, int msecs);
    void retryWaiting();
    bool iconPlaced();

    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<NotificationService> notifications_;
    bool balloonShown_ = false;
    bool notified_ = false;
    int dockedChecks_ = 0; // checks since the tray took the icon in
    std::optional<Waiting> waiting_;
    QTimer waitTimer_;
};

} // namespace vn
