#include "foundation/apperror.h"
#include "foundation/inifile.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

class TstIniFile : public QObject {
    Q_OBJECT
private slots:
    void readsHandWrittenFiles()
    {
        TempDataFolder dir;
        dir.writeBytes("a.ini",
                       Sjis("[Show]\r\nCalendar=0\r\n\r\n[tabname]\r\n"
                            "01=買い物\r\n 02 = 仕事 \r\n; comment=1\r\n03=\"  spaced  \"\r\n"));
        IniFile ini(dir.file("a.ini"));
        QCOMPARE(ini.readInt("SHOW", "calendar", 1), 0);
        QCOMPARE(ini.readString("TabName", "01", "x"), QStringLiteral("買い物"));
        QCOMPARE(ini.readString("TabName", "02", "x"), QStringLiteral("仕事"));
        QCOMPARE(ini.readString("TabName", "03", "x"), QStringLiteral("  spaced  "));
        QCOMPARE(ini.readString("TabName", "; comment", "x"), QStringLiteral("x"));
        QCOMPARE(ini.readString("Missing", "01", "def"), QStringLiteral("def"));
        QCOMPARE(ini.readString("Show", "Missing", "def"), QStringLiteral("def"));
        QCOMPARE(IniFile(dir.file("none.ini")).readInt("a", "b", 7), 7);
    }

    void numbers()
    {
        TempDataFolder dir;
        dir.writeBytes("n.ini", "[N]\r\na=0x1F\r\nb=$1F\r\nc=abc\r\nd=\r\ne=-16777203\r\n"
                                "f=0xFF00000D\r\ng= 42 \r\nh=12abc\r\ni=99999999999\r\n");
        IniFile ini(dir.file("n.ini"));
        QCOMPARE(ini.readInt("N", "a", 5), 31);
        QCOMPARE(ini.readInt("N", "b", 5), 31);
        QCOMPARE(ini.readInt("N", "c", 5), 5);
        QCOMPARE(ini.readInt("N", "d", 5), 5);
        QCOMPARE(ini.readInt("N", "e", 5), -16777203);
        QCOMPARE(ini.readInt("N", "f", 5), -16777203);
        QCOMPARE(ini.readInt("N", "g", 5), 42);
        QCOMPARE(ini.readInt("N", "h", 5), 5);
        QCOMPARE(ini.readInt("N", "i", 5), 5);
        // an empty text value stays empty
        QCOMPARE(ini.readString("N", "d", "def"), QString(""));
        QVERIFY(!ini.readString("N", "d", "def").isNull());
    }

    void writesInPlaceAtSectionEndAndAtFileEnd()
    {
        TempDataFolder dir;
        dir.writeBytes("w.ini", "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
        IniFile ini(dir.file("w.ini"));
        ini.writeValue("a", "Y", "20");   // in place, keeps the key's spelling
        ini.writeValue("A", "new", "n");  // after the section's last key
        ini.writeValue("C", "k", "日本"); // new section at the end
        QCOMPARE(dir.readBytes("w.ini"),
                 Sjis("[A]\r\nx=1\r\ny=20\r\nnew=n\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nk=日本\r\n"));
    }

    void firstWriteCreatesTheFile()
    {
        TempDataFolder dir;
        IniFile ini(dir.file("new.ini"));
        ini.writeInt("Show", "Calendar", 0);
        QCOMPARE(dir.readBytes("new.ini"), QByteArray("[Show]\r\nCalendar=0\r\n"));
    }

    void everyWrittenValueReadsBackUnchanged()
    {
        TempDataFolder dir;
        IniFile ini(dir.file("r.ini"));
        const QStringList values = {"",    " lead", "trail ", "\"quoted\"", "'q'",
                                    "a=b", "[x]",   "メモ１", "😀 emoji",    "; not a comment"};
        int i = 0;
        for (const QString& v : values)
            ini.writeValue("S", QString::number(i++), v);
        i = 0;
        for (const QString& v : values)
            QCOMPARE(ini.readString("S", QString::number(i++), "def"), v);
    }

    void valueLongerThanTheReadLimitIsCut()
    {
        TempDataFolder dir;
        IniFile ini(dir.file("l.ini"));
        ini.writeValue("S", "k", QString(3000, u'x'));
        QCOMPARE(ini.readString("S", "k", "").size(), 2047);
        ini.writeValue("S", "j", QString(1500, u'あ'));
        QCOMPARE(ini.readString("S", "j", "").size(), 1023); // never half a character
    }

    void writeErrorNamesTheFile()
    {
        TempDataFolder dir;
        QDir(dir.path()).mkdir("sub.ini");
        IniFile ini(dir.file("sub.ini"));
        try {
            ini.writeValue("S", "k", "v");
            QFAIL("no error");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), dir.file("sub.ini") + QStringLiteral(" に書き込めません"));
        }
    }

    void aReadBurstReadsOnceButSeesItsOwnWrites()
    {
        TempDataFolder dir;
        IniFile ini(dir.file("b.ini"));
        ini.writeInt("S", "k", 1);
        {
            IniReadBurst burst;
            QCOMPARE(ini.readInt("S", "k", 0), 1);
            dir.writeBytes("b.ini", "[S]\r\nk=2\r\n"); // not seen within the burst
            QCOMPARE(ini.readInt("S", "k", 0), 1);
            ini.writeInt("S", "j", 3); // the program's own write is seen
            QCOMPARE(ini.readInt("S", "j", 0), 3);
            QCOMPARE(ini.readInt("S", "k", 0), 2);
        }
        dir.writeBytes("b.ini", "[S]\r\nk=4\r\n");
        QCOMPARE(ini.readInt("S", "k", 0), 4);
    }

    void changesMadeByOthersAreSeenAtOnce()
    {
        TempDataFolder dir;
        IniFile ini(dir.file("c.ini"));
        ini.writeInt("S", "k", 1);
        QCOMPARE(ini.readInt("S", "k", 0), 1);
        dir.writeBytes("c.ini", "[S]\r\nk=2\r\n");
        QCOMPARE(ini.readInt("S", "k", 0), 2);
    }
};

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
