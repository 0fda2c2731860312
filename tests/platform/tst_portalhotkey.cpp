// The show/hide key through the desktop portal's GlobalShortcuts, against a
// fake portal on a private session bus.
#include "platform/portalhotkeysource.h"
#include "privatebus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QMutex>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace vn;
using vn::test::PrivateBus;

// One shortcut as the portal takes and reports it: a(sa{sv}). (Outside any
// anonymous namespace: the bus finds slots by the names of their types.)
struct Shortcut {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(Shortcut)

QDBusArgument& operator<<(QDBusArgument& a, const Shortcut& s)
{
    a.beginStructure();
    a << s.id << s.properties;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, Shortcut& s)
{
    a.beginStructure();
    a >> s.id >> s.properties;
    a.endStructure();
    return a;
}

namespace {

QString senderPart(const QString& unique)
{
    QString s = unique;
    return s.remove(0, 1).replace(u'.', u'_');
}

} // namespace

// The portal as xdg-desktop-portal presents it: requests answered through a
// Response signal on a request object, a session object with Close. It runs
// in a thread of its own, as another process would, so that the program's
// blocking calls get their answers; the test reads copies of what it saw.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    explicit FakePortal(QDBusConnection bus) : bus_(bus) {}
    uint version() const { return 1; }

    std::atomic<uint> answer = 0; // 0 granted, 1 cancelled, 2 refused
    QStringList sessions() const
    {
        QMutexLocker lock(&mutex_);
        return sessions_;
    }
    QList<Shortcut> bound() const
    {
        QMutexLocker lock(&mutex_);
        return bound_;
    }
    QString boundSession() const
    {
        QMutexLocker lock(&mutex_);
        return boundSession_;
    }

    void activate(const QString& session, const QString& id)
    {
        QDBusMessage s = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        s << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1234)
          << QVariantMap();
        bus_.send(s);
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        const QString sender = senderPart(message().service());
        const QString token = options.value("handle_token").toString();
        const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                                    .arg(sender, options.value("session_handle_token").toString());
        {
            QMutexLocker lock(&mutex_);
            sessions_ << session;
        }
        QVariantMap results;
        results.insert(QStringLiteral("session_handle"), session); // a string, as documented
        return respond(sender, token, results);
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session, const QList<Shortcut>& shortcuts,
                                  const QString&, const QVariantMap& options)
    {
        QList<Shortcut> reported = shortcuts;
        {
            QMutexLocker lock(&mutex_);
            bound_ = reported;
            boundSession_ = session.path();
        }
        for (Shortcut& s : reported)
            s.properties.insert(
                QStringLiteral("trigger_description"),
                s.properties.value("preferred_trigger", QStringLiteral("Ctrl+F12")));
        QVariantMap results;
        results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(reported));
        return respond(senderPart(message().service()), options.value("handle_token").toString(),
                       results);
    }

private:
    QDBusObjectPath respond(const QString& sender, const QString& token, const QVariantMap& results)
    {
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
        const uint code = answer;
        QMetaObject::invokeMethod(
            this,
            [this, path, code, results] {
                QDBusMessage s = QDBusMessage::createSignal(
                    path, QStringLiteral("org.freedesktop.portal.Request"),
                    QStringLiteral("Response"));
                s << code << results;
                bus_.send(s);
            },
            Qt::QueuedConnection);
        return QDBusObjectPath(path);
    }

    QDBusConnection bus_;
    mutable QMutex mutex_;
    QStringList sessions_;
    QList<Shortcut> bound_;
    QString boundSession_;
};

// Session objects: counts the closing.
class FakeSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public:
    std::atomic<int> closed = 0;
public slots:
    void Close() { ++closed; }
};

// The portal's side of the bus, in its own thread.
struct PortalThread {
    QThread thread;
    QDBusConnection bus;
    FakePortal portal;
    FakeSession session;
    PortalThread(const QString& address, const QString& name)
        : bus(QDBusConnection::connectToBus(address, name)), portal(bus)
    {
        portal.moveToThread(&thread);
        session.moveToThread(&thread);
        thread.start();
    }
    ~PortalThread()
    {
        thread.quit();
        thread.wait();
    }
    bool serve()
    {
        return bus.registerObject("/org/freedesktop/portal/desktop", &portal,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllProperties) &&
               bus.registerService("org.freedesktop.portal.Desktop");
    }
};

class TstPortalHotKey : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
    }

    void bindsTheShortcutAndDeliversEveryPress()
    {
        PrivateBus bus;
        QVERIFY2(bus.started(), "dbus-daemon could not be started");
        PortalThread side(bus.address(), "portal");
        QDBusConnection appSide = QDBusConnection::connectToBus(bus.address(), "app");
        QVERIFY(side.bus.isConnected() && appSide.isConnected());

        // No portal yet: nothing offered, nothing registered.
        QVERIFY(!PortalHotKeySource::Offered(appSide));
        {
            PortalHotKeySource none(appSide);
            QVERIFY(!none.available());
            QVERIFY(!none.registerKey(HotKey::Pause));
        }

        QVERIFY(side.serve());
        QVERIFY(PortalHotKeySource::Offered(appSide));
        FakePortal& portal = side.portal;

        PortalHotKeySource source(appSide);
        QVERIFY(source.available());
        QSignalSpy presses(&source, &HotKeySource::pressed);
        QVERIFY(source.registerKey(HotKey::Pause));
        QTRY_COMPARE(source.state(), PortalHotKeySource::State::Bound);
        QStringList sessions = portal.sessions();
        QCOMPARE(sessions.size(), 1);
        // The session and request paths follow the portal's naming.
        QVERIFY(sessions[0].startsWith("/org/freedesktop/portal/desktop/session/" +
                                       senderPart(appSide.baseService()) + "/"));
        QList<Shortcut> bound = portal.bound();
        QCOMPARE(bound.size(), 1);
        QCOMPARE(bound[0].id, QStringLiteral("toggle-window"));
        QCOMPARE(bound[0].properties.value("preferred_trigger").toString(),
                 QStringLiteral("Pause"));
        QVERIFY(!bound[0].properties.value("description").toString().isEmpty());
        QCOMPARE(portal.boundSession(), sessions[0]);
        QCOMPARE(source.trigger(), QStringLiteral("Pause"));

        // Every activation of our shortcut in our session is one press.
        portal.activate(sessions[0], "toggle-window");
        portal.activate(sessions[0], "toggle-window");
        QTRY_COMPARE(presses.size(), 2);
        portal.activate(sessions[0], "other-shortcut");
        portal.activate("/org/freedesktop/portal/desktop/session/x/other", "toggle-window");
        QTest::qWait(200);
        QCOMPARE(presses.size(), 2);

        // Another kind: the old session is closed, a new one bound; a bare
        // Ctrl is no trigger, so the user picks one.
        QVERIFY(
            side.bus.registerObject(sessions[0], &side.session, QDBusConnection::ExportAllSlots));
        QVERIFY(source.registerKey(HotKey::Ctrl));
        QTRY_COMPARE(source.state(), PortalHotKeySource::State::Bound);
        QTRY_COMPARE(side.session.closed.load(), 1);
        sessions = portal.sessions();
        QCOMPARE(sessions.size(), 2);
        QVERIFY(!portal.bound()[0].properties.contains("preferred_trigger"));
        QCOMPARE(source.trigger(), QStringLiteral("Ctrl+F12"));
        portal.activate(sessions[0], "toggle-window"); // the closed session
        portal.activate(sessions[1], "toggle-window");
        QTRY_COMPARE(presses.size(), 3);
        QTest::qWait(200);
        QCOMPARE(presses.size(), 3);

        source.unregisterKey();
        QCOMPARE(source.state(), PortalHotKeySource::State::Idle);
        portal.activate(sessions[1], "toggle-window");
        QTest::qWait(200);
        QCOMPARE(presses.size(), 3);
    }

    void aRefusalIsAFailure()
    {
        PrivateBus bus;
        QVERIFY2(bus.started(), "dbus-daemon could not be started");
        PortalThread side(bus.address(), "portal2");
        QDBusConnection appSide = QDBusConnection::connectToBus(bus.address(), "app2");
        side.portal.answer = 1; // the user cancelled the dialog
        QVERIFY(side.serve());
        PortalHotKeySource source(appSide);
        QVERIFY(source.registerKey(HotKey::Pause));
        QTRY_COMPARE(source.state(), PortalHotKeySource::State::Failed);
        QVERIFY(side.portal.bound().isEmpty());
        // Asking again tries again.
        side.portal.answer = 0;
        QVERIFY(source.registerKey(HotKey::Pause));
        QTRY_COMPARE(source.state(), PortalHotKeySource::State::Bound);
    }
};

QTEST_GUILESS_MAIN(TstPortalHotKey)
#include "tst_portalhotkey.moc"
