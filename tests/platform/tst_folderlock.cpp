// The data folder's lock: the rule that tells a live holder from a stale
// one, and the lock file between two holders.
#include "platform/folderlock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vn;

namespace {

LockHolder someone(const QString& host, const QString& machine, const QString& boot, qint64 pid,
                   qint64 started)
{
    LockHolder h;
    h.host = host;
    h.machine = machine;
    h.boot = boot;
    h.pid = pid;
    h.started = started;
    h.user = QStringLiteral("taro");
    h.since = QStringLiteral("2026/12/10 09:00");
    return h;
}

void setAge(const QString& path, qint64 secondsAgo)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    QVERIFY(::stat(name.constData(), &st) == 0);
    const time_t t = ::time(nullptr) - time_t(secondsAgo);
    struct timespec times[2] = {{t, 0}, {t, 0}};
    QVERIFY(::utimensat(AT_FDCWD, name.constData(), times, 0) == 0);
}

} // namespace

class TestFolderLock : public QObject {
    Q_OBJECT
private slots:
    void holderTextReadsBack();
    void staleRule_data();
    void staleRule();
    void anotherPcCountsWhereLocksStayLocal();
    void lockFollowsFileReplacedBySyncTool();
};

void TestFolderLock::holderTextReadsBack()
{
    const LockHolder here = CurrentLockHolder();
    QVERIFY(!here.isEmpty());
    QVERIFY(here.started > 0);
    QCOMPARE(ParseLockHolder(LockHolderText(here)), here);
    QVERIFY(ParseLockHolder("not a lock\n").isEmpty());
}

void TestFolderLock::staleRule_data()
{
    QTest::addColumn<bool>("kernelRefused");
    QTest::addColumn<bool>("locksShared");
    QTest::addColumn<LockHolder>("holder");
    QTest::addColumn<qint64>("holderStartHere"); // -1: no such process here
    QTest::addColumn<qint64>("ageSecs");
    QTest::addColumn<bool>("held");

    const LockHolder sameHost = someone("pc1", "m1", "boot1", 4242, 9000);
    const LockHolder otherHost = someone("pc2", "m2", "bootX", 4242, 9000);
    const qint64 bound = kStaleAfterSecs;
    // The kernel's word first.
    QTest::newRow("kernel refuses") << true << true << LockHolder{} << -1LL << 0LL << true;
    QTest::newRow("shared locks, granted, file names a live PC")
        << false << true << otherHost << -1LL << 0LL << false;
    // Locks that may stay with their client: the file decides.
    QTest::newRow("empty file") << false << false << LockHolder{} << -1LL << 0LL << false;
    QTest::newRow("same host, process runs") << false << false << sameHost << 9000LL << 0LL << true;
    QTest::newRow("same host, process gone") << false << false << sameHost << -1LL << 0LL << false;
    QTest::newRow("same host, pid taken by another process")
        << false << false << sameHost << 9555LL << 0LL << false;
    QTest::newRow("same host, other boot")
        << false << false << someone("pc1", "m1", "boot0", 4242, 9000) << 9000LL << 0LL << false;
    // Two PCs called alike: its other boot id does not make the lock stale.
    QTest::newRow("same host name, other machine: another PC")
        << false << false << someone("pc1", "m9", "boot9", 4242, 9000) << -1LL << kHeartbeatSecs
        << true;
    QTest::newRow("other host, fresh heartbeat")
        << false << false << otherHost << -1LL << kHeartbeatSecs << true;
    QTest::newRow("other host, heartbeat at the bound")
        << false << false << otherHost << -1LL << bound << true;
    QTest::newRow("other host, heartbeat too old")
        << false << false << otherHost << -1LL << bound + 1 << false;
    QTest::newRow("other host, its clock ahead")
        << false << false << otherHost << -1LL << -300LL << true;
}

void TestFolderLock::staleRule()
{
    QFETCH(bool, kernelRefused);
    QFETCH(bool, locksShared);
    QFETCH(LockHolder, holder);
    QFETCH(qint64, holderStartHere);
    QFETCH(qint64, ageSecs);
    QFETCH(bool, held);
    FolderLockFacts facts;
    facts.kernelRefused = kernelRefused;
    facts.locksShared = locksShared;
    facts.holder = holder;
    facts.here = someone("pc1", "m1", "boot1", 777, 1234);
    facts.holderStartHere = holderStartHere;
    facts.heartbeatAgeSecs = ageSecs;
    QCOMPARE(FolderLockHeld(facts), held);
    // This very process never keeps itself out.
    facts.holder = facts.here;
    facts.holderStartHere = facts.here.started;
    QCOMPARE(FolderLockHeld(facts), kernelRefused);
}

void TestFolderLock::anotherPcCountsWhereLocksStayLocal()
{
    // On SMB or sshfs the file's lines and its age speak for the other PC.
    QTemporaryDir dir;
    const QString path = dir.filePath(DataFolderLock::fileName());
    const QByteArray theirs = LockHolderText(someone("pc2", "m2", "b2", 99, 5));
    auto put = [&](const QByteArray& text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    auto fileText = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    put(theirs);
    DataFolderLock mine(dir.path(), DataFolderLock::Trust::PerClient);
    setAge(path, kHeartbeatSecs);
    QCOMPARE(mine.acquire(), DataFolderLock::Result::Held);
    QCOMPARE(mine.holder().host, QStringLiteral("pc2"));
    setAge(path, kStaleAfterSecs + 60); // that PC crashed or went away
    QCOMPARE(mine.acquire(), DataFolderLock::Result::Taken);
    QVERIFY(mine.needsHeartbeat());
    QCOMPARE(ParseLockHolder(fileText()).pid, qint64(::getpid()));
    setAge(path, 300);
    QVERIFY(mine.heartbeat());
    QVERIFY(QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime()) < 60);

    // This PC slept past the bound, and the other one took the folder back.
    put(theirs);
    QVERIFY(!mine.heartbeat());
    QCOMPARE(mine.holder().host, QStringLiteral("pc2"));
    QVERIFY(!mine.taken());
    mine.release(); // lets go without emptying the other's file
    QCOMPARE(fileText(), theirs);
}

void TestFolderLock::lockFollowsFileReplacedBySyncTool()
{
    QTemporaryDir dir;
    DataFolderLock mine(dir.path());
    QCOMPARE(mine.acquire(), DataFolderLock::Result::Taken);
    QCOMPARE(mine.followFile(), DataFolderLock::Follow::Same);
    // As Syncthing writes a file: a temporary file renamed over it.
    auto replace = [&](const QByteArray& text) {
        const QString tmp = dir.filePath(QStringLiteral(".syncthing.lock.tmp"));
        QFile f(tmp);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        QVERIFY(::rename(QFile::encodeName(tmp).constData(),
                         QFile::encodeName(mine.path()).constData()) == 0);
    };
    auto fileText = [&] {
        QFile f(mine.path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    const QByteArray otherPc = LockHolderText(someone("pc2", "m2", "b2", 99, 5));
    replace(otherPc);
    QCOMPARE(mine.followFile(), DataFolderLock::Follow::Moved);
    QCOMPARE(fileText(), otherPc); // the other PC's lines stay: no ping-pong between PCs
    DataFolderLock second(dir.path());
    QCOMPARE(second.acquire(), DataFolderLock::Result::Held);

    replace(QByteArray()); // the other PC let go
    QCOMPARE(mine.followFile(), DataFolderLock::Follow::Moved);
    QCOMPARE(ParseLockHolder(fileText()).pid, qint64(::getpid()));

    // Another instance took the new file before this one followed it.
    replace(otherPc);
    DataFolderLock quicker(dir.path());
    QCOMPARE(quicker.acquire(), DataFolderLock::Result::Taken);
    QCOMPARE(mine.followFile(), DataFolderLock::Follow::Lost);
    QVERIFY(!mine.taken());
    QCOMPARE(mine.holder().pid, qint64(::getpid())); // quicker wrote its own lines
}

QTEST_GUILESS_MAIN(TestFolderLock)
#include "tst_folderlock.moc"
