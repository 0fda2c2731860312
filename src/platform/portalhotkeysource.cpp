#include "portalhotkeysource.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <cstdio>

namespace vn {

namespace {

const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// One shortcut as the portal takes and reports it: a(sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

} // namespace

} // namespace vn

Q_DECLARE_METATYPE(vn::PortalShortcut)

namespace vn {

namespace {

QDBusArgument& operator<<(QDBusArgument& arg, const PortalShortcut& s)
{
    arg.beginStructure();
    arg << s.id << s.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, PortalShortcut& s)
{
    arg.beginStructure();
    arg >> s.id >> s.properties;
    arg.endStructure();
    return arg;
}

void registerTypes()
{
    static const bool done = [] {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    (void)done;
}

// The trigger proposed to the user. A bare Shift or Ctrl is no trigger in
// the desktop's sense: for those the user picks one.
QString preferredTrigger(HotKey key)
{
    return key == HotKey::Pause ? QStringLiteral("Pause") : QString();
}

QString pathOf(const QVariant& v)
{
    if (v.canConvert<QDBusObjectPath>() && v.userType() == qMetaTypeId<QDBusObjectPath>())
        return v.value<QDBusObjectPath>().path();
    return v.toString();
}

} // namespace

PortalHotKeySource::PortalHotKeySource(const QDBusConnection& bus, QObject* parent)
    : HotKeySource(parent), bus_(bus)
{
    registerTypes();
    available_ = bus_.isConnected() && Offered(bus_);
    if (available_)
        bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                     QString::fromLatin1(kInterface), QStringLiteral("Activated"), this,
                     SLOT(onActivated(QDBusMessage)));
}

PortalHotKeySource::~PortalHotKeySource()
{
    closeSession();
}

bool PortalHotKeySource::Offered(const QDBusConnection& bus, int timeoutMs)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(kInterface) << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().value<QDBusVariant>().variant().toUInt() >= 1;
}

bool PortalHotKeySource::registerKey(HotKey key)
{
    if (!available_)
        return false;
    if (key == key_ && state_ != State::Failed && state_ != State::Idle)
        return true;
    // A session binds its shortcuts once: another key needs a new session.
    closeSession();
    key_ = key;
    if (key == HotKey::None)
        return true;
    createSession();
    return state_ != State::Failed;
}

void PortalHotKeySource::unregisterKey()
{
    closeSession();
    key_ = HotKey::None;
}

QString PortalHotKeySource::requestPath(const QString& token) const
{
    // The portal's request objects: .../request/<sender>/<token>, the sender
    // being the unique name without ':' and with '_' for '.'.
    QString sender = bus_.baseService();
    sender.remove(0, 1).replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void PortalHotKeySource::watchRequest(const QString& path)
{
    pendingRequest_ = path;
    bus_.connect(QString::fromLatin1(kService), path, kRequestInterface, QStringLiteral("Response"),
                 this, SLOT(onResponse(uint, QVariantMap)));
}

bool PortalHotKeySource::call(const QString& method, const QList<QVariant>& args,
                              const QString& token)
{
    // Listen before asking, so that a quick answer is not missed.
    const QString expected = requestPath(token);
    watchRequest(expected);
    QDBusMessage msg =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), method);
    msg.setArguments(args);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(msg), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, expected](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (pendingRequest_ != expected)
                    return; // answered already (the answer may come first), or given up
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    fail();
                    return;
                }
                // An older portal may answer on another path than the one expected.
                const QString path = reply.value().path();
                if (path != expected) {
                    bus_.disconnect(QString::fromLatin1(kService), expected, kRequestInterface,
                                    QStringLiteral("Response"), this,
                                    SLOT(onResponse(uint, QVariantMap)));
                    watchRequest(path);
                }
            });
    return true;
}

void PortalHotKeySource::createSession()
{
    setState(State::CreatingSession);
    const QString token = QStringLiteral("velnote%1").arg(++tokens_);
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("session_handle_token"), token);
    call(QStringLiteral("CreateSession"), {options}, token);
}

void PortalHotKeySource::bindShortcut()
{
    setState(State::Binding);
    const QString token = QStringLiteral("velnote%1").arg(++tokens_);
    PortalShortcut shortcut;
    shortcut.id = QString::fromLatin1(kShortcutId);
    shortcut.properties.insert(QStringLiteral("description"),
                               QStringLiteral("Velnoteを表示/非表示"));
    const QString preferred = preferredTrigger(key_);
    if (!preferred.isEmpty())
        shortcut.properties.insert(QStringLiteral("preferred_trigger"), preferred);
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    call(QStringLiteral("BindShortcuts"),
         {QVariant::fromValue(QDBusObjectPath(session_)),
          QVariant::fromValue(QList<PortalShortcut>{shortcut}), QString(), options},
         token);
}

void PortalHotKeySource::onResponse(uint response, const QVariantMap& results)
{
    if (pendingRequest_.isEmpty() || (calledFromDBus() && message().path() != pendingRequest_))
        return;
    bus_.disconnect(QString::fromLatin1(kService), pendingRequest_, kRequestInterface,
                    QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    pendingRequest_.clear();
    if (response != 0) {
        fail(); // 1: the user cancelled, 2: refused
        return;
    }
    if (state_ == State::CreatingSession) {
        session_ = pathOf(results.value(QStringLiteral("session_handle")));
        if (session_.isEmpty()) {
            fail();
            return;
        }
        bindShortcut();
    } else if (state_ == State::Binding) {
        const QDBusArgument list =
            results.value(QStringLiteral("shortcuts")).value<QDBusArgument>();
        QList<PortalShortcut> bound;
        if (list.currentType() == QDBusArgument::ArrayType)
            list >> bound;
        for (const PortalShortcut& s : bound)
            if (s.id == QLatin1String(kShortcutId))
                trigger_ = s.properties.value(QStringLiteral("trigger_description")).toString();
        setState(State::Bound);
    }
}

void PortalHotKeySource::onActivated(const QDBusMessage& signal)
{
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QList<QVariant> args = signal.arguments();
    if (state_ != State::Bound || args.size() < 2)
        return;
    if (pathOf(args[0]) == session_ && args[1].toString() == QLatin1String(kShortcutId))
        emit pressed();
}

void PortalHotKeySource::closeSession()
{
    if (!pendingRequest_.isEmpty()) {
        bus_.disconnect(QString::fromLatin1(kService), pendingRequest_, kRequestInterface,
                        QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
        pendingRequest_.clear();
    }
    if (!session_.isEmpty() && bus_.isConnected())
        bus_.asyncCall(QDBusMessage::createMethodCall(QString::fromLatin1(kService), session_,
                                                      kSessionInterface, QStringLiteral("Close")));
    session_.clear();
    trigger_.clear();
    setState(State::Idle);
}

void PortalHotKeySource::setState(State s)
{
    if (state_ == s)
        return;
    state_ = s;
    emit stateChanged(s);
}

void PortalHotKeySource::fail()
{
    closeSession();
    setState(State::Failed);
    if (!failureReported_) {
        failureReported_ = true;
        std::fputs("Velnote: the show/hide key is not available on this desktop\n", stderr);
    }
}

} // namespace vn
