// Making, reusing, pruning, deleting and listing backup generations.
#include "backup/backupgenerations.h"

#include "fakeclock.h"
#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace vn;
using vn::test::FakeClock;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

DateTime at(int y, int m, int d, int h, int n, int s = 0)
{
    return EncodeDate(y, m, d) + EncodeTime(h, n, s);
}

class FakeSource : public BackUpSource {
public:
    BackUpSchedule values;
    QStringList pages = QStringList(kBackUpPageCount, QString());
    BackUpSchedule schedule() const override { return values; }
    QString pageText(int page) const override { return pages[page]; }
    QString tabName(int page) const override { return QStringLiteral("タブ%1").arg(page + 1); }
};

void makeEntry(const QString& name, bool folder = true)
{
    const QString path = BackUpFolder() + u'/' + name;
    if (folder) {
        QDir().mkpath(path);
        WriteLines(path + "/Schedule.dat", {});
    } else {
        QDir().mkpath(BackUpFolder());
        WriteLines(path, {"x"});
    }
}

} // namespace

class TstBackUpGenerations : public QObject {
    Q_OBJECT
private slots:
    void automaticGenerationHoldsEverything()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 5, 12, 0, 20));
        dir.writeBytes("Schedule.dat",
                       Sjis(QStringLiteral("200501010900,00,0,0,0,20050101,予定\n/c")));
        FakeSource src;
        src.pages[0] = QStringLiteral("一頁目\r\n二行目");
        src.pages[12] = QStringLiteral("未保存の編集");
        src.pages[29] = QStringLiteral("last");
        // A held page (a NUL in its file) shown as it was read: its bytes go
        // in; once its text is changed, the text goes in.
        const QByteArray heldBytes("second\0 line\r\n", 14);
        dir.writeBytes("Vnote2.vnm", heldBytes);
        dir.writeBytes("Vnote3.vnm", heldBytes);
        src.pages[2] = QStringLiteral("second\uFFFD line\r\n");
        src.pages[3] = QStringLiteral("second line\r\n");

        QVERIFY(BackUpOverdue(src.values, clock.now()));
        const BackUpResult r = MakeBackUpGeneration(src, false);
        QVERIFY(r.made);
        QCOMPARE(r.folder, BackUpFolder() + QStringLiteral("/20090105_120000"));
        QVERIFY(!BackUpOverdue(src.values, clock.now()));

        QDir gen(r.folder);
        QCOMPARE(gen.entryList(QDir::Files).size(), 2 + 30 + 1);
        // Copies of the two lists byte for byte; Holiday.dat was created
        // empty on the way.
        QCOMPARE(ReadFileBytes(gen.filePath("Schedule.dat")), dir.readBytes("Schedule.dat"));
        QCOMPARE(ReadFileBytes(gen.filePath("Holiday.dat")), QByteArray());
        QVERIFY(dir.exists("Holiday.dat"));
        // Pages as the editors hold them, under the page files' names.
        QCOMPARE(ReadFileBytes(gen.filePath("Vnote.vnm")), Sjis(src.pages[0]));
        QCOMPARE(ReadFileBytes(gen.filePath("Vnote12.vnm")), Sjis(src.pages[12]));
        QCOMPARE(ReadFileBytes(gen.filePath("Vnote29.vnm")), QByteArray("last"));
        QCOMPARE(ReadFileBytes(gen.filePath("Vnote1.vnm")), QByteArray());
        QCOMPARE(ReadFileBytes(gen.filePath("Vnote2.vnm")), heldBytes);
        QCOMPARE(ReadFileBytes(gen.filePath("Vnote3.vnm")), Sjis(src.pages[3]));
        const QStringList tabs = ReadLines(gen.filePath("TabName.txt"));
        QCOMPARE(tabs.size(), 30);
        QCOMPARE(tabs[0], QStringLiteral("タブ1"));
        QCOMPARE(tabs[29], QStringLiteral("タブ30"));
        QVERIFY(ReadFileBytes(gen.filePath("TabName.txt")).endsWith("\r\n"));
    }

    void aListThatIsNoRegularFileIsLeftOutAndNamed()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 5, 12, 0, 20));
        const QByteArray schedules("a\0b\r\n\xFF\xFE", 7);
        dir.writeBytes("Schedule.dat", schedules);
        QCOMPARE(::mkfifo(QFile::encodeName(dir.file("Holiday.dat")).constData(), 0600), 0);
        FakeSource src;
        const BackUpResult r = MakeBackUpGeneration(src, false); // does not block
        QVERIFY(r.made);
        QVERIFY(r.message.startsWith(
            NotRegularFileText(QDir::toNativeSeparators(dir.file("Holiday.dat")))));
        QCOMPARE(ReadFileBytes(r.folder + "/Schedule.dat"), schedules);
        QVERIFY(!QFileInfo::exists(r.folder + "/Holiday.dat"));
        QCOMPARE(FileKindOf(dir.file("Holiday.dat")), FileKind::Other);
    }

    void ticksOfOneMinuteShareOneFolder()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 5, 12, 0, 0));
        FakeSource src;
        for (int tick = 0; tick < 4; ++tick) {
            src.pages[0] = QStringLiteral("tick %1").arg(tick);
            QVERIFY(MakeBackUpGeneration(src, false).made);
            clock.advanceMSecs(15000);
        }
        QCOMPARE(ListBackUpGenerations(), QStringList({"20090105_120000"}));
        QCOMPARE(ReadEditText(BackUpFolder() + "/20090105_120000/Vnote.vnm"),
                 QStringLiteral("tick 3"));
    }

    void manualGenerationsAreNamedToTheSecond()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 5, 12, 34, 56));
        FakeSource src;
        QCOMPARE(MakeBackUpGeneration(src, true).folder,
                 BackUpFolder() + QStringLiteral("/20090105_123456_Velnote"));
        clock.advanceMSecs(400);
        MakeBackUpGeneration(src, true);
        clock.advanceMSecs(1000);
        MakeBackUpGeneration(src, true);
        QCOMPARE(ListBackUpGenerations(),
                 QStringList({"20090105_123457_Velnote", "20090105_123456_Velnote"}));
        // Manual generations do not stand for automatic ones.
        QVERIFY(BackUpOverdue(src.values, clock.now()));
    }

    void pruningCountsOnlyAutomaticNames()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 31, 12, 0));
        const QStringList automatic = {"20090101_120000", "20090102_120000", "20090103_120000",
                                       "20090104_120000", "20090105_120000"};
        for (const QString& n : automatic)
            makeEntry(n);
        for (const char* n :
             {"20081201_010101_Velnote", "20081202_010101_Velnote", "20090106_010101_Velnote"})
            makeEntry(QString::fromLatin1(n));
        makeEntry(".20000101_1200"); // hidden, 15 characters
        FakeSource src;
        src.values.maxGenerations = 5;
        QVERIFY(MakeBackUpGeneration(src, false).made); // the sixth automatic one
        const QStringList left = ListBackUpGenerations();
        QVERIFY(!left.contains("20090101_120000"));
        for (const QString& n : automatic.mid(1))
            QVERIFY(left.contains(n));
        QVERIFY(left.contains("20090131_120000"));
        QCOMPARE(left.filter("_Velnote").size(), 3);
        QVERIFY(QDir(BackUpFolder()).exists(".20000101_1200"));
        QVERIFY(!left.contains(".20000101_1200"));
        QCOMPARE(left.size(), 5 + 3);
        QCOMPARE(left.first(), QStringLiteral("20090131_120000"));
        QCOMPARE(left.last(), QStringLiteral("20081201_010101_Velnote"));
    }

    void entriesThatCannotBeRemovedKeepCounting()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 2, 1, 12, 0));
        makeEntry("20000101_120000", false); // a plain file
        makeEntry("20000102_120000");
        QDir().mkpath(BackUpFolder() + "/20000102_120000/inner");
        for (int d = 3; d <= 7; ++d)
            makeEntry(QString::asprintf("200001%.2d_120000", d));
        PruneBackUpGenerations(5); // two to delete, neither can go
        QStringList left = AutomaticGenerations();
        QCOMPARE(left.size(), 7);
        QVERIFY(QFile::exists(BackUpFolder() + "/20000101_120000"));
        // The files of a folder with a sub-folder are gone, the folder stays.
        QVERIFY(!QFile::exists(BackUpFolder() + "/20000102_120000/Schedule.dat"));
        QVERIFY(QFile::exists(BackUpFolder() + "/20000102_120000/inner"));
        // They go on counting; a maximum below 5 is taken as 5.
        makeEntry("20000108_120000");
        PruneBackUpGenerations(0);
        left = AutomaticGenerations();
        QCOMPARE(left, QStringList({"20000101_120000", "20000102_120000", "20000104_120000",
                                    "20000105_120000", "20000106_120000", "20000107_120000",
                                    "20000108_120000"}));
    }

    void deletingDoesNotFollowLinks()
    {
        TempDataFolder dir;
        QDir().mkpath(dir.file("elsewhere"));
        WriteLines(dir.file("elsewhere/keep.txt"), {"keep"});
        QDir().mkpath(BackUpFolder());
        QVERIFY(QFile::link(dir.file("elsewhere"), BackUpFolder() + "/20000101_120000"));
        makeEntry("20000102_120000");
        QVERIFY(QFile::link(dir.file("elsewhere/keep.txt"),
                            BackUpFolder() + "/20000102_120000/link.txt"));
        WriteLines(BackUpFolder() + "/20000102_120000/.hidden", {"h"});
        DeleteBackUpGeneration(BackUpFolder() + "/20000101_120000");
        DeleteBackUpGeneration(BackUpFolder() + "/20000102_120000");
        QVERIFY(QFile::exists(dir.file("elsewhere/keep.txt")));
        QVERIFY(!QFileInfo::exists(BackUpFolder() + "/20000102_120000"));
        DeleteBackUpGeneration(BackUpFolder() + "/nothing");
    }

    void aFolderThatCannotBeMadeIsReported()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 5, 12, 0));
        makeEntry("20000101_120000", false);
        // A plain file where the BackUp folder should be... inside it.
        dir.writeBytes("BackUp/20090105_120000", QByteArray());
        FakeSource src;
        const BackUpResult r = MakeBackUpGeneration(src, false);
        QVERIFY(!r.made);
        QCOMPARE(r.message,
                 QStringLiteral("データバックアップフォルダの作成失敗\r\n作成フォルダ名 = ") +
                     QDir::toNativeSeparators(BackUpFolder() + "/20090105_120000"));
    }

    void aCopyErrorLeavesNoHalfMadeGeneration()
    {
        TempDataFolder dir;
        FakeClock clock(at(2009, 1, 31, 12, 0));
        for (int d = 1; d <= 6; ++d)
            makeEntry(QString::asprintf("200901%.2d_120000", d));
        QFile::link("Holiday.dat", dir.file("Holiday.dat")); // a loop: cannot be read or created
        FakeSource src;
        QVERIFY_THROWS_EXCEPTION(AppError, MakeBackUpGeneration(src, false));
        // Nothing of it stays, hidden or not, and nothing was pruned.
        QCOMPARE(
            QDir(BackUpFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            AutomaticGenerations());
        QCOMPARE(AutomaticGenerations().size(), 6);

        // A rewrite of the same minute that fails keeps the copy made before.
        QFile::remove(dir.file("Holiday.dat"));
        src.pages[0] = QStringLiteral("first");
        QVERIFY(MakeBackUpGeneration(src, false).made);
        QFile::remove(dir.file("Holiday.dat"));
        QFile::link("Holiday.dat", dir.file("Holiday.dat"));
        src.pages[0] = QStringLiteral("second");
        QVERIFY_THROWS_EXCEPTION(AppError, MakeBackUpGeneration(src, false));
        QCOMPARE(ReadEditText(BackUpFolder() + "/20090131_120000/Vnote.vnm"),
                 QStringLiteral("first"));
        QCOMPARE(QDir(BackUpFolder() + "/20090131_120000").entryList(QDir::Files).size(), 33);
        QCOMPARE(AutomaticGenerations().size(), 5);
    }

    void listingIsNewestFirst()
    {
        TempDataFolder dir;
        QVERIFY(ListBackUpGenerations().isEmpty());
        makeEntry("20090101_120000");
        makeEntry("20090101_120000_Velnote");
        makeEntry("notes.txt", false);
        makeEntry(".hidden");
        makeEntry("20090102_120000 (Selective Sync Conflict)"); // a sync tool's, not ours
        makeEntry("20090102_120000.sync-conflict-20090102-120000-ABCDEFG", false);
        QCOMPARE(ListBackUpGenerations(),
                 QStringList({"notes.txt", "20090101_120000_Velnote", "20090101_120000"}));
    }
};

QTEST_GUILESS_MAIN(TstBackUpGenerations)
#include "tst_backupgenerations.moc"
