// The one-instance lock, held by other processes.
#include "platform/flockinstancelock.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

using namespace vn;

namespace {

// A helper process holding (or failing to take) the lock on path.
class Holder {
public:
    explicit Holder(const QString& path, bool spawn = false)
    {
        QStringList args{QStringLiteral("lock"), path};
        if (spawn)
            args << QStringLiteral("spawn");
        process.start(QStringLiteral(VN_PLATFORM_HELPER), args);
    }
    ~Holder()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    QByteArray readLine()
    {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(30000))
                return {};
        return process.readLine().trimmed();
    }
    QProcess process;
};

} // namespace

class TestInstanceLock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void otherProcessKeepsLockUntilItDies();
    void secondHelperIsRefusedWhileWeHoldIt();
    void lockFileIsPrivateToUser();
    void acquiringTwiceInOneProcessIsFine();
    void startedProgramsDoNotInheritLock();
    void defaultPathUsesRuntimeFolder();
    void defaultPathFallsBackToTmp();

private:
    QTemporaryDir dir_;
    QString path_;
};

void TestInstanceLock::init()
{
    QVERIFY(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("EX_Vnote.lock"));
    QFile::remove(path_);
}

void TestInstanceLock::otherProcessKeepsLockUntilItDies()
{
    Holder first(path_);
    QCOMPARE(first.readLine(), QByteArray("locked"));

    FlockInstanceLock mine(path_);
    QVERIFY(!mine.acquire());
    QVERIFY(!mine.held());
    QVERIFY(!mine.acquire()); // still refused on a second try

    // A crash must not leave the lock behind.
    first.process.kill();
    QVERIFY(first.process.waitForFinished());
    QVERIFY(mine.acquire());
    QVERIFY(mine.held());
}

void TestInstanceLock::secondHelperIsRefusedWhileWeHoldIt()
{
    {
        FlockInstanceLock mine(path_);
        QVERIFY(mine.acquire());
        Holder other(path_);
        QCOMPARE(other.readLine(), QByteArray("busy"));
        QVERIFY(other.process.waitForFinished());
    }
    // Released when the lock object goes.
    Holder later(path_);
    QCOMPARE(later.readLine(), QByteArray("locked"));
}

void TestInstanceLock::lockFileIsPrivateToUser()
{
    const mode_t old = ::umask(0);
    FlockInstanceLock mine(path_);
    const bool ok = mine.acquire();
    ::umask(old);
    QVERIFY(ok);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(path_).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0600));
}

void TestInstanceLock::acquiringTwiceInOneProcessIsFine()
{
    FlockInstanceLock mine(path_);
    QVERIFY(mine.acquire());
    QVERIFY(mine.acquire());
    Holder other(path_);
    QCOMPARE(other.readLine(), QByteArray("busy"));
}

void TestInstanceLock::startedProgramsDoNotInheritLock()
{
    // The helper takes the lock, starts a long-running program and ends.
    Holder first(path_, true);
    QCOMPARE(first.readLine(), QByteArray("locked"));
    bool isNumber = false;
    const qint64 childPid = first.readLine().toLongLong(&isNumber);
    QVERIFY(isNumber && childPid > 0);
    QVERIFY(first.process.waitForFinished());

    FlockInstanceLock mine(path_);
    const bool ok = mine.acquire();
    ::kill(pid_t(childPid), SIGKILL);
    QVERIFY2(ok, "a program started by the first instance kept its lock");
}

void TestInstanceLock::defaultPathUsesRuntimeFolder()
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir_.path()));
    const QString path = DefaultInstanceLockPath();
    qputenv("XDG_RUNTIME_DIR", saved);
    QCOMPARE(path, dir_.path() + QStringLiteral("/EX_Vnote.lock"));
}

void TestInstanceLock::defaultPathFallsBackToTmp()
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const QString expected = QStringLiteral("/tmp/EX_Vnote-%1.lock").arg(::getuid());
    qunsetenv("XDG_RUNTIME_DIR");
    const QString unset = DefaultInstanceLockPath();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir_.filePath(QStringLiteral("missing"))));
    const QString missing = DefaultInstanceLockPath();
    qputenv("XDG_RUNTIME_DIR", saved);
    QCOMPARE(unset, expected);
    QCOMPARE(missing, expected);
}

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
