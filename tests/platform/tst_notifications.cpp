// Balloons through the desktop's notification service, against a fake
// service on a private session bus.
#include "platform/notifications.h"
#include "platform/qttrayicon.h"
#include "privatebus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMutex>
#include <QTest>
#include <QThread>

using namespace vn;
using vn::test::PrivateBus;

// org.freedesktop.Notifications as a desktop offers it. It runs in a thread
// of its own, as another process would, so that the program's blocking
// calls get their answers; the test reads copies of what it saw.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        QString app, icon, summary, body;
        uint replaces = 0;
        int timeout = 0;
    };
    QStringList capabilities{QStringLiteral("body")};

    QList<Shown> shown() const
    {
        QMutexLocker lock(&mutex_);
        return shown_;
    }
    QList<uint> closed() const
    {
        QMutexLocker lock(&mutex_);
        return closed_;
    }

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int timeout)
    {
        QMutexLocker lock(&mutex_);
        shown_.append({app, icon, summary, body, replaces, timeout});
        return replaces ? replaces : uint(shown_.size());
    }
    void CloseNotification(uint id)
    {
        QMutexLocker lock(&mutex_);
        closed_.append(id);
    }

private:
    mutable QMutex mutex_;
    QList<Shown> shown_;
    QList<uint> closed_;
};

struct ServerThread {
    QThread thread;
    QDBusConnection bus;
    FakeNotificationServer server;
    explicit ServerThread(const QString& address)
        : bus(QDBusConnection::connectToBus(address, QStringLiteral("notifications")))
    {
        server.moveToThread(&thread);
        thread.start();
    }
    ~ServerThread()
    {
        thread.quit();
        thread.wait();
    }
    bool serve()
    {
        return bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                  QDBusConnection::ExportAllSlots) &&
               bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }
};

class TstNotifications : public QObject {
    Q_OBJECT
private slots:
    void balloonsArriveAsNotifications()
    {
        PrivateBus bus;
        if (!bus.started())
            QSKIP("dbus-daemon could not be started");
        ServerThread side(bus.address());
        const QDBusConnection appSide = QDBusConnection::connectToBus(bus.address(), "app");
        QVERIFY(appSide.isConnected());

        auto owned = std::make_unique<DBusNotifications>(appSide);
        DBusNotifications* service = owned.get();
        QVERIFY(!service->available()); // nobody owns the name yet
        QVERIFY(side.serve());
        QVERIFY(service->available());

        // Through the tray icon, whose own tray this platform lacks.
        QtTrayIcon tray(nullptr, std::move(owned));
        tray.show();
        const QString title = QStringLiteral("本日の予定 [仏滅] ●元日");
        const QString text =
            QStringLiteral("2026/01/01(木)の予定は 1件です。\r\n\r\n"
                           "10:00 <初詣> & 書き初め\r\n\r\n　　　... Velnote Information");
        QVERIFY(tray.showBalloon(title, text, 1, 30));
        QTRY_COMPARE(side.server.shown().size(), 1);
        FakeNotificationServer::Shown first = side.server.shown()[0];
        QCOMPARE(first.app, QStringLiteral("Velnote"));
        QCOMPARE(first.summary, title);
        QCOMPARE(first.body, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(first.icon, QStringLiteral("dialog-information"));
        QCOMPARE(first.timeout, 30000);
        QCOMPARE(first.replaces, 0u);

        // A second one takes the first one's place; taking it away closes it.
        QTRY_VERIFY(service->showing());
        QVERIFY(tray.showBalloon(QStringLiteral("5分前"), QStringLiteral("10:00 会議"), 2, 10));
        QTRY_COMPARE(side.server.shown().size(), 2);
        QCOMPARE(side.server.shown()[1].replaces, 1u);
        QCOMPARE(side.server.shown()[1].icon, QStringLiteral("dialog-warning"));
        tray.hideBalloon();
        QTRY_COMPARE(side.server.closed(), QList<uint>{1u});
        QVERIFY(!service->showing());

        // A service that reads markup gets the text escaped, so it shows the
        // same characters.
        QCOMPARE(NotificationBody(QStringLiteral("a<b>&c\r\nd"), true),
                 QStringLiteral("a&lt;b&gt;&amp;c\nd"));
    }
};

QTEST_MAIN(TstNotifications)
#include "tst_notifications.moc"
