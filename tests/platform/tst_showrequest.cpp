// A second start knocks at the running program's socket and the running
// program shows its window; with nobody listening the knock says so.
#include "platform/showrequest.h"

#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

using namespace vn;

class TstShowRequest : public QObject {
    Q_OBJECT
private slots:
    void secondStartReachesTheRunningOne_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<bool>("staleSocketFile"); // left by a process that ended
        QTest::newRow("running") << true << false;
        QTest::newRow("running after a crash") << true << true;
        QTest::newRow("nobody listens") << false << true;
    }
    void secondStartReachesTheRunningOne()
    {
        QFETCH(bool, listening);
        QFETCH(bool, staleSocketFile);
        QTemporaryDir dir;
        const QString path = ShowRequestSocketPath(dir.path() + "/EX_Vnote.lock");
        QCOMPARE(path, dir.path() + "/EX_Vnote.show");
        if (staleSocketFile) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QObject owner;
        int shown = 0;
        if (listening)
            QVERIFY(ListenForShowRequests(&owner, path, [&] { ++shown; }));
        QCOMPARE(RequestShow(path), listening);
        QCOMPARE(RequestShow(path), listening);
        if (listening)
            QTRY_COMPARE(shown, 2);
    }
};

QTEST_GUILESS_MAIN(TstShowRequest)
#include "tst_showrequest.moc"
