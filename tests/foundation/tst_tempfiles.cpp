#include "foundation/tempfiles.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>
#include <utime.h>

using namespace vn;
using vn::test::TempDataFolder;

class TstTempFiles : public QObject {
    Q_OBJECT
private slots:
    void onlyOurOwnStaleTemporaryFilesGo()
    {
        TempDataFolder dir;
        const qint64 start = 1'700'000'000;
        struct Case {
            const char* path;
            bool old;
            bool removed;
        };
        const Case cases[] = {
            {".Vnote.ini.AbC123", true, true},
            {".Vnote.vnm.x9Y8z7", true, true},
            {".Vnote29.vnm.000000", true, true},
            {".Vnote.vdt.qwerty", true, true},
            {".Schedule.dat.ZZZZZZ", true, true},
            {".Holiday.dat.a1b2c3", true, true},
            {".BalloonHint.dat.a1b2c3", true, true},
            {"Diary/202401/.20240105.txt.QwErTy", true, true},
            {"BackUp/20240101_120000/.Vnote3.vnm.aaaaaa", true, true},
            {"BackUp/20240101_120000/.TabName.txt.bbbbbb", true, true},
            {".Vnote.ini.NeWeR1", false, false},  // written after the start
            {".notes.txt.AbC123", true, false},   // not a file of ours
            {".Vnote30.vnm.AbC123", true, false}, // no such page
            {".Vnote.ini.AbC12", true, false},    // five letters
            {".Vnote.ini.AbC1234", true, false},  // seven letters
            {".Vnote.ini.AbC-23", true, false},   // not a letter
            {"Vnote.ini.AbC123", true, false},    // not hidden
            {".Vnote.ini", true, false},
            {"Vnote.ini", true, false},
            {"Diary/202401/.notes.txt.QwErTy", true, false},
            {"Diary/202401/.Vnote.ini.QwErTy", true, false},
            {"Diary/misc/.20240105.txt.QwErTy", true, false}, // not a month folder
            {"BackUp/20240101_120000/.Vnote.ini.aaaaaa", true, false},
            {"other/.Vnote.ini.AbC123", true, false}, // not a folder we write
        };
        for (const Case& c : cases) {
            const QString path = dir.file(QString::fromLatin1(c.path));
            QDir().mkpath(QFileInfo(path).absolutePath());
            dir.writeBytes(QString::fromLatin1(c.path), "x");
            const struct utimbuf t = {time_t(start), time_t(c.old ? start - 60 : start + 1)};
            QCOMPARE(::utime(QFile::encodeName(path).constData(), &t), 0);
        }
        // a folder and a link of the temporary form stay too
        QDir(dir.path()).mkdir(".Vnote1.vnm.dir000");
        QVERIFY(QFile::link(dir.file("Vnote.ini"), dir.file(".Vnote2.vnm.link00")));
        const struct utimbuf t = {time_t(start - 60), time_t(start - 60)};
        ::utime(QFile::encodeName(dir.file(".Vnote1.vnm.dir000")).constData(), &t);

        int expected = 0;
        for (const Case& c : cases)
            expected += c.removed;
        QCOMPARE(RemoveStaleTempFiles(start), expected);
        for (const Case& c : cases)
            QVERIFY2(dir.exists(QString::fromLatin1(c.path)) != c.removed, c.path);
        QVERIFY(QFileInfo(dir.file(".Vnote1.vnm.dir000")).isDir());
        QVERIFY(QFileInfo(dir.file(".Vnote2.vnm.link00")).isSymLink());
        QCOMPARE(RemoveStaleTempFiles(start), 0);
    }

    void temporaryNames()
    {
        QVERIFY(IsTempFileNameFor(u".Vnote.ini.AbC123", u"Vnote.ini"));
        QVERIFY(!IsTempFileNameFor(u".Vnote.ini.AbC123", u"Vnote.vnm"));
        QVERIFY(!IsTempFileNameFor(u"..AbC123", u""));
        QVERIFY(!IsTempFileNameFor(u".Vnote.ini.", u"Vnote.ini"));
    }
};

QTEST_GUILESS_MAIN(TstTempFiles)
#include "tst_tempfiles.moc"
