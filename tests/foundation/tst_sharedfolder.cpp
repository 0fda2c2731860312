// A data folder others touch: a sync tool's leftovers are never data, and a
// folder opened read-only is never written.
#include "foundation/paths.h"
#include "foundation/readonlyfolder.h"
#include "foundation/syncleftovers.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vn;

class TestSharedFolder : public QObject {
    Q_OBJECT
private slots:
    void leftoversOfEachTool_data();
    void leftoversOfEachTool();
    void readOnlyFolderTakesNoWrite_data();
    void readOnlyFolderTakesNoWrite();
};

void TestSharedFolder::leftoversOfEachTool_data()
{
    QTest::addColumn<QStringList>("leftovers");
    QTest::addColumn<QStringList>("data");
    // Each row: what the tool leaves, and names of the program's own files
    // (or the user's) that look alike and stay data.
    QTest::newRow("Syncthing") << QStringList{".syncthing.Vnote1.vnm.tmp",
                                              "~syncthing~Schedule.dat.tmp",
                                              "Vnote1.sync-conflict-20261210-093000-ABCDEFG.vnm",
                                              "20261210.sync-conflict-20261210-093000-7QX3Z.txt",
                                              ".stfolder",
                                              ".stversions",
                                              ".stignore"}
                               << QStringList{"Vnote1.vnm", "Schedule.dat", "20261210.txt",
                                              "syncthing.txt", "stfolder"};
    QTest::newRow("Nextcloud, ownCloud")
        << QStringList{".~lock.Vnote1.vnm#",
                       "Vnote1_conflict-20261210-093000.vnm",
                       "Vnote1 (conflicted copy 2026-12-10 093000).vnm",
                       ".owncloudsync.log",
                       "._sync_1a2b3c4d5e6f.db",
                       "._sync_1a2b3c4d5e6f.db-wal",
                       ".sync_1a2b3c4d5e6f.db",
                       ".Vnote1.vnm.~1a2b3c"}
        << QStringList{"Vnote.ini", "Holiday.dat", "conflict.txt", "my_conflicts.txt"};
    QTest::newRow("Dropbox") << QStringList{".dropbox",
                                            ".dropbox.cache",
                                            ".dropbox.attr",
                                            "Vnote1 (Taro's conflicted copy 2026-12-10).vnm",
                                            "Schedule (Case Conflict).dat",
                                            "Holiday (Selective Sync Conflict).dat",
                                            "Vnote1 (copy (Case Conflict)).vnm"}
                             << QStringList{"Dropbox.txt", "Vnote1 (copy).vnm", "BalloonHint.dat",
                                            "Memo (CONFLICT).txt", "Memo (conflict.txt",
                                            "Memo conflict).txt", "(a) conflict (b).txt"};
    QTest::newRow("editors") << QStringList{"Vnote1.vnm~", ".Vnote1.vnm.swp", ".Vnote1.vnm.swo",
                                            ".#Vnote1.vnm", "#Vnote1.vnm#"}
                             << QStringList{"Vnote.vdt", "Vnote.vdt.last", "#1.txt",
                                            "Vnote1.vnm.20261210_093000.bak"};
    QTest::newRow("this program") << QStringList{".~lock.Velnote#"}
                                  << QStringList{"Vnote29.vnm", ".Vnote1.vnm.Ab12Cd", "TabName.txt",
                                                 "20261210_093000_Velnote"};
}

void TestSharedFolder::leftoversOfEachTool()
{
    QFETCH(QStringList, leftovers);
    QFETCH(QStringList, data);
    for (const QString& name : leftovers) {
        QVERIFY2(IsSyncLeftover(name), qPrintable(name));
        // Inside a leftover folder, and as the last part of a path.
        QVERIFY2(IsSyncLeftoverPath(name + QStringLiteral("/202612/20261210.txt")),
                 qPrintable(name));
        QVERIFY2(IsSyncLeftoverPath(QStringLiteral("202612/") + name), qPrintable(name));
    }
    for (const QString& name : data) {
        QVERIFY2(!IsSyncLeftover(name), qPrintable(name));
        QVERIFY2(!IsSyncLeftoverPath(QStringLiteral("/202612/") + name), qPrintable(name));
    }
}

void TestSharedFolder::readOnlyFolderTakesNoWrite_data()
{
    QTest::addColumn<QString>("where"); // relative to the data folder; "@" is a folder outside
    QTest::addColumn<bool>("written");
    QTest::newRow("page") << "Vnote1.vnm" << false;
    QTest::newRow("diary month") << "Diary/202612/20261210.txt" << false;
    QTest::newRow("link in the folder to a file outside") << "Schedule.dat" << false;
    QTest::newRow("link outside to a file in the folder") << "@/into-folder.txt" << false;
    QTest::newRow("export outside") << "@/export.ics" << true;
}

void TestSharedFolder::readOnlyFolderTakesNoWrite()
{
    QFETCH(QString, where);
    QFETCH(bool, written);
    test::TempDataFolder data;
    QTemporaryDir outside;
    QVERIFY(QDir().mkpath(data.file(QStringLiteral("Diary/202612"))));
    data.writeBytes(QStringLiteral("Vnote1.vnm"), "old");
    QFile::link(outside.filePath(QStringLiteral("schedule-elsewhere.dat")),
                data.file(QStringLiteral("Schedule.dat")));
    QFile::link(data.file(QStringLiteral("Vnote1.vnm")),
                outside.filePath(QStringLiteral("into-folder.txt")));
    const QString path = where.startsWith(u'@') ? outside.path() + where.mid(1) : data.file(where);
    const QString target = WriteTargetOf(path);
    auto bytesAt = [&] {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    const QByteArray before = bytesAt();

    SetDataFolderReadOnly(true);
    WriteFileAtomic(path, "new");
    WriteLines(path, {QStringLiteral("new")});
    SetDataFolderReadOnly(false);
    QCOMPARE(bytesAt(), written ? QByteArray("new\r\n") : before);
    // Nothing else appeared in the folder (no temporary file either).
    QDir dir(data.path());
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             (QStringList{"Diary", "Schedule.dat", "Vnote1.vnm"}));

    WriteFileAtomic(path, "afterwards"); // no longer read-only: written
    QCOMPARE(bytesAt(), QByteArray("afterwards"));
}

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
