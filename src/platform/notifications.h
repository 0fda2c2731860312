#pragma once
// The desktop's notification service (org.freedesktop.Notifications on the
// session bus), where balloons go when the desktop has one: GNOME and KDE
// show them as their own notifications, at a place the desktop chooses.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

namespace vn {

class NotificationService {
public:
    virtual ~NotificationService() = default;
    // True when the desktop has a notification service now (one running,
    // or one the bus starts on demand).
    virtual bool available() = 0;
    // Shows a notification in place of the one shown before, if any.
    // Icon kind: 0 none, 1 information, 2 warning, 3 error.
    virtual void notify(const QString& title, const QString& text, int iconKind, int seconds) = 0;
    // Takes the shown notification away; nothing when none is shown.
    virtual void close() = 0;
};

// The icon name a notification shows for an icon kind; empty for none.
QString NotificationIconForKind(int iconKind);

// The body as sent: line breaks as the protocol has them (LF), and the
// characters markup gives a meaning escaped when the service reads markup.
QString NotificationBody(const QString& text, bool markup);

class DBusNotifications final : public QObject, public NotificationService {
    Q_OBJECT
public:
    // On the session bus, connected at the first use.
    DBusNotifications();
    explicit DBusNotifications(const QDBusConnection& bus);
    ~DBusNotifications() override;

    bool available() override;
    void notify(const QString& title, const QString& text, int iconKind, int seconds) override;
    void close() override;
    // True when a notification of ours is on screen (its id is known).
    bool showing() const { return shownId_ != 0; }

private:
    QDBusConnection& bus();
    bool readsMarkup(const QString& owner);
    void closeId(uint id);

    std::optional<QDBusConnection> bus_;
    uint shownId_ = 0;        // the notification on screen, 0 for none
    uint requests_ = 0;       // Notify calls sent
    uint closedAt_ = 0;       // requests_ when the last close came
    uint latestReplaces_ = 0; // the id the newest request replaces
    QString capsOwner_;       // whose capabilities capsMarkup_ holds
    bool capsMarkup_ = false;
};

} // namespace vn
