// The sync password in a real keyring: gnome-keyring-daemon's Secret
// Service on a private session bus, unlocked for the test.
#include "platform/passwordstore.h"
#include "privatebus.h"
#include "sync/syncaccount.h"
#include "tempdatafolder.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDirIterator>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/prctl.h>

using namespace vn::platform;
using Status = PasswordResult::Status;

class TstPasswordStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!bus_.started())
            QSKIP("no private D-Bus session bus");
        if (QStandardPaths::findExecutable(QStringLiteral("gnome-keyring-daemon")).isEmpty())
            QSKIP("gnome-keyring-daemon is not installed (scripts/setup-deps.sh)");
        // The keyring library finds the bus by the environment, once.
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus_.address().toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP"); // the Secret Service, not a desktop's own wallet
    }

    // No Secret Service on the bus: the store says so instead of failing,
    // and the session store stands in.
    void withoutKeyringSaysUnavailable()
    {
        const PasswordResult result =
            MakeKeyringPasswordStore()->write(server_, user_, QStringLiteral("x"));
        QVERIFY2(result.status == Status::Unavailable, qPrintable(result.detail));

        SessionPasswordStore session;
        QCOMPARE(session.read(server_, user_).status, Status::NotFound);
        QVERIFY(session.write(server_, user_, password_).ok());
        QCOMPARE(session.read(server_, user_).password, password_);
        QCOMPARE(session.read(server_, QStringLiteral("bob")).status, Status::NotFound);
    }

    // Kept, read back, replaced and removed in the keyring; the data folder
    // holding the account has the password in none of its files.
    void keyringKeepsThePasswordOutOfTheDataFolder()
    {
        startKeyring();
        auto store = MakeKeyringPasswordStore();
        QCOMPARE(store->read(server_, user_).status, Status::NotFound);
        const PasswordResult written = store->write(server_, user_, password_);
        QVERIFY2(written.ok(), qPrintable(written.detail));
        QCOMPARE(store->read(server_, user_).password, password_);
        // Off the main thread the keyring is not asked (QtKeychain would crash).
        PasswordResult offThread;
        QThread* worker = QThread::create([&] { offThread = store->read(server_, user_); });
        worker->start();
        QVERIFY(worker->wait(10000));
        delete worker;
        QCOMPARE(offThread.status, Status::Failed);
        QVERIFY(offThread.password.isEmpty());
        // Another user of the same server has a password of their own.
        QCOMPARE(store->read(server_, QStringLiteral("bob")).status, Status::NotFound);

        vn::test::TempDataFolder data;
        vn::sync::SyncAccount account;
        account.server = server_;
        account.user = user_;
        account.calendarUrl = server_ + QStringLiteral("alice/velnote/");
        vn::sync::WriteSyncAccount(data.file(QStringLiteral("VnoteSync.ini")), account);
        QVERIFY(data.exists(QStringLiteral("VnoteSync.ini")));
        for (QDirIterator it(data.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();) {
            QFile f(it.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QVERIFY2(!bytes.contains(password_.toUtf8()), qPrintable(f.fileName()));
        }

        QVERIFY(store->write(server_, user_, QStringLiteral("changed")).ok());
        QCOMPARE(store->read(server_, user_).password, QStringLiteral("changed"));
        QVERIFY(store->remove(server_, user_).ok());
        QCOMPARE(store->read(server_, user_).status, Status::NotFound);
        QVERIFY(store->remove(server_, user_).ok());
    }

    void cleanupTestCase()
    {
        if (keyring_.state() != QProcess::NotRunning) {
            keyring_.terminate();
            if (!keyring_.waitForFinished(3000))
                keyring_.kill();
            keyring_.waitForFinished(1000);
        }
    }

private:
    void startKeyring()
    {
        // The daemon keeps its files under a home of its own and creates the
        // login keyring, unlocked by the password it reads on stdin.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_.address());
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
        keyring_.setProcessEnvironment(env);
        keyring_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        keyring_.start(QStringLiteral("gnome-keyring-daemon"),
                       {QStringLiteral("--foreground"), QStringLiteral("--components=secrets"),
                        QStringLiteral("--unlock")});
        QVERIFY(keyring_.waitForStarted(5000));
        keyring_.write("keyring-unlock");
        keyring_.closeWriteChannel();
        QDBusConnection bus =
            QDBusConnection::connectToBus(bus_.address(), QStringLiteral("keyring-watch"));
        QTRY_VERIFY_WITH_TIMEOUT(
            bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")), 10000);
    }

    vn::test::PrivateBus bus_;
    QTemporaryDir home_;
    QProcess keyring_;
    const QString server_ = QStringLiteral("https://dav.example.com/");
    const QString user_ = QStringLiteral("alice");
    const QString password_ = QStringLiteral("パス-w0rd;\"=\\");
};

QTEST_GUILESS_MAIN(TstPasswordStore)
#include "tst_passwordstore.moc"
