#include "notifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QVariantMap>

namespace vn {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString& kInterface = kService;

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

QString NotificationIconForKind(int iconKind)
{
    switch (iconKind) {
    case 1: return QStringLiteral("dialog-information");
    case 2: return QStringLiteral("dialog-warning");
    case 3: return QStringLiteral("dialog-error");
    default: return QString();
    }
}

QString NotificationBody(const QString& text, bool markup)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return markup ? body.toHtmlEscaped() : body;
}

DBusNotifications::DBusNotifications() = default;

DBusNotifications::DBusNotifications(const QDBusConnection& bus) : bus_(bus) {}

DBusNotifications::~DBusNotifications() = default;

QDBusConnection& DBusNotifications::bus()
{
    if (!bus_)
        bus_ = QDBusConnection::sessionBus();
    return *bus_;
}

bool DBusNotifications::available()
{
    if (!bus().isConnected() || !bus().interface())
        return false;
    if (bus().interface()->isServiceRegistered(kService).value())
        return true;
    const QDBusReply<QStringList> activatable = bus().interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

bool DBusNotifications::readsMarkup(const QString& owner)
{
    if (owner.isEmpty() || owner != capsOwner_) {
        // Asked once per service; a service that does not answer in time
        // is taken to show plain text.
        const QDBusReply<QStringList> caps =
            bus().call(call(QStringLiteral("GetCapabilities")), QDBus::Block, 1000);
        capsMarkup_ = caps.isValid() && caps.value().contains(QStringLiteral("body-markup"));
        capsOwner_ = owner;
    }
    return capsMarkup_;
}

void DBusNotifications::notify(const QString& title, const QString& text, int iconKind, int seconds)
{
    const QString owner =
        bus().interface() ? bus().interface()->serviceOwner(kService).value() : QString();
    QDBusMessage m = call(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("velnote"));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    const uint replaces = shownId_;
    m << QStringLiteral("Velnote") << replaces << NotificationIconForKind(iconKind) << title
      << NotificationBody(text, readsMarkup(owner)) << QStringList() << hints
      << qMax(1, seconds) * 1000;
    const uint request = ++requests_;
    latestReplaces_ = replaces;
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(m), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<uint> reply = *w;
                if (reply.isError())
                    return;
                const uint id = reply.value();
                if (closedAt_ >= request) { // taken away while on its way
                    closeId(id);
                    return;
                }
                if (request == requests_) {
                    shownId_ = id;
                    return;
                }
                // A newer one was sent before this id was known: unless it
                // took this one's place, it shows on its own and this goes.
                if (id != latestReplaces_)
                    closeId(id);
            });
}

void DBusNotifications::close()
{
    closedAt_ = requests_;
    if (shownId_ != 0)
        closeId(shownId_);
    shownId_ = 0;
}

void DBusNotifications::closeId(uint id)
{
    bus().asyncCall(call(QStringLiteral("CloseNotification")) << id);
}

} // namespace vn
