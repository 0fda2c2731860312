#include "foundation/apperror.h"
#include "foundation/inifile.h"
#include "foundation/textcodec.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <future>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

// The bytes of a literal that may hold NUL bytes.
template <size_t N> QByteArray Raw(const char (&s)[N])
{
    return QByteArray(s, qsizetype(N - 1));
}

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

    void everyValueReadsBackExactlyAndAddsNothing_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("injected section") << QStringLiteral("x\r\n[ShowVnote]\r\nCount=30");
        QTest::newRow("NUL") << QString::fromUtf16(u"a\0b\0", 4);
        QTest::newRow("LF") << QStringLiteral("line1\nline2");
        QTest::newRow("CR") << QStringLiteral("\r");
        QTest::newRow("controls") << QStringLiteral("\x01\x1A\x1F\tx\t");
        QTest::newRow("tab inside") << QStringLiteral("a\tb");
        QTest::newRow("reference-like") << QStringLiteral("&#13;&#38;");
        QTest::newRow("ampersands") << QStringLiteral("& && &# &#x41; &#;");
        QTest::newRow("big reference") << QStringLiteral("&#99999999;");
        QTest::newRow("accent") << QStringLiteral("Café");
        QTest::newRow("emoji") << QStringLiteral("メモ😀");
        QTest::newRow("lone surrogate") << QString(QChar(0xD83D)) + QStringLiteral("x");
        QTest::newRow("U+FEFF") << QStringLiteral("\uFEFFa");
        QTest::newRow("half-width") << QStringLiteral("ﾏｲﾅｽ");
        QTest::newRow("ideographic space") << QStringLiteral("\u3000全角\u3000");
        QTest::newRow("quotes and blanks") << QStringLiteral(" \"x\" ");
        QTest::newRow("comment-like") << QStringLiteral(";x=1\r\n;y");
    }
    void everyValueReadsBackExactlyAndAddsNothing()
    {
        QFETCH(QString, value);
        TempDataFolder dir;
        IniFile ini(dir.file("v.ini"));
        ini.writeInt("ShowVnote", "Count", 3);
        ini.writeValue("Search", "String", value);
        ini.writeValue("Search", "After", "1");
        QCOMPARE(ini.readString("Search", "String", "def"), value);
        QCOMPARE(ini.readInt("ShowVnote", "Count", 0), 3);
        QCOMPARE(ini.readString("Search", "After", ""), QStringLiteral("1"));
        QCOMPARE(ini.sectionNames(), QStringList({"ShowVnote", "Search"}));
        // one line for the value; the file is Shift-JIS that Windows reads as text
        const QByteArray bytes = dir.readBytes("v.ini");
        QCOMPARE(bytes.count("\r\n"), 6);
        QVERIFY(!bytes.contains('\0'));
        QCOMPARE(bytes.count('\r'), 6);
        QCOMPARE(bytes.count('\n'), 6);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        bool exact = false;
        FromSjis(bytes, &exact);
        QVERIFY(exact);
    }

    void aValueShiftJisCannotHoldLeavesTheRestAsWindowsWroteIt()
    {
        TempDataFolder dir;
        const QByteArray windows = Sjis("[TabName]\r\n01=買い物\r\n02=ﾒﾓ\r\n\r\n"
                                        "[Format]\r\nDate=yyyy年mm月dd日\r\n");
        dir.writeBytes("w.ini", windows);
        IniFile ini(dir.file("w.ini"));
        ini.writeValue("TabName", "03", QStringLiteral("Café 😀"));
        QCOMPARE(dir.readBytes("w.ini"),
                 Sjis("[TabName]\r\n01=買い物\r\n02=ﾒﾓ\r\n03=Caf&#233; &#128512;\r\n\r\n"
                      "[Format]\r\nDate=yyyy年mm月dd日\r\n"));
        QCOMPARE(ini.readString("TabName", "03", ""), QStringLiteral("Café 😀"));
        QCOMPARE(ini.readString("TabName", "01", ""), QStringLiteral("買い物"));
        QCOMPARE(ini.readString("TabName", "02", ""), QStringLiteral("ﾒﾓ"));
    }

    void aNulInTheMiddleIsReadPastAndKept()
    {
        TempDataFolder dir;
        const QByteArray before = Raw("[A]\r\nx=1\0junk\r\n\0\r\n[B]\r\ny=2\r\n");
        dir.writeBytes("n.ini", before);
        IniFile ini(dir.file("n.ini"));
        QCOMPARE(ini.readString("A", "x", "def"), QStringLiteral("1"));
        QCOMPARE(ini.readInt("B", "y", 0), 2);
        ini.writeInt("B", "z", 3);
        QCOMPARE(dir.readBytes("n.ini"), before + "z=3\r\n");
        ini.writeInt("A", "x", 5);
        QCOMPARE(dir.readBytes("n.ini"), Raw("[A]\r\nx=5\r\n\0\r\n[B]\r\ny=2\r\nz=3\r\n"));
    }

    void linesAWriteDoesNotChangeKeepTheirBytes()
    {
        TempDataFolder dir;
        // bytes Shift-JIS cannot decode, LF-only and CR-only breaks, no final break
        const QByteArray before = Raw("; \x80\xFF\x82\r\n[A]\nk=\xA0v\rj=1");
        dir.writeBytes("b.ini", before);
        IniFile ini(dir.file("b.ini"));
        ini.writeInt("A", "j", 2);
        QCOMPARE(dir.readBytes("b.ini"), Raw("; \x80\xFF\x82\r\n[A]\nk=\xA0v\rj=2"));
        ini.writeInt("A", "new", 7);
        QCOMPARE(dir.readBytes("b.ini"), Raw("; \x80\xFF\x82\r\n[A]\nk=\xA0v\rj=2\r\nnew=7\r\n"));
    }

    void aUtf16FileStaysUtf16_data()
    {
        QTest::addColumn<QByteArray>("mark");
        QTest::newRow("little-endian") << QByteArray("\xFF\xFE");
        QTest::newRow("big-endian") << QByteArray("\xFE\xFF");
    }
    void aUtf16FileStaysUtf16()
    {
        QFETCH(QByteArray, mark);
        const bool le = mark[0] == '\xFF';
        auto utf16 = [le](const QString& s) {
            QByteArray b;
            for (QChar c : s) {
                const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
                b.append(le ? lo : hi).append(le ? hi : lo);
            }
            return b;
        };
        TempDataFolder dir;
        dir.writeBytes("u.ini", mark + utf16(QStringLiteral("[TabName]\r\n01=買い物😀\r\n")));
        IniFile ini(dir.file("u.ini"));
        QCOMPARE(ini.readString("TabName", "01", ""), QStringLiteral("買い物😀"));
        ini.writeValue("TabName", "02", QStringLiteral("é\r\n"));
        QCOMPARE(dir.readBytes("u.ini"),
                 mark + utf16(QStringLiteral("[TabName]\r\n01=買い物😀\r\n02=é&#13;&#10;\r\n")));
        QCOMPARE(ini.readString("TabName", "02", ""), QStringLiteral("é\r\n"));
    }

    void aUtf8FileIsWrittenBackAsShiftJis()
    {
        // as an older version wrote it
        TempDataFolder dir;
        dir.writeBytes("o.ini", "\xEF\xBB\xBF" +
                                    QStringLiteral("[TabName]\r\n01=Café\r\n02=メモ\r\n").toUtf8());
        IniFile ini(dir.file("o.ini"));
        QCOMPARE(ini.readString("TabName", "01", ""), QStringLiteral("Café"));
        ini.writeInt("Show", "Calendar", 1);
        QCOMPARE(dir.readBytes("o.ini"),
                 Sjis("[TabName]\r\n01=Caf&#233;\r\n02=メモ\r\n\r\n[Show]\r\nCalendar=1\r\n"));
        QCOMPARE(ini.readString("TabName", "01", ""), QStringLiteral("Café"));
        QCOMPARE(ini.readString("TabName", "02", ""), QStringLiteral("メモ"));
    }

    void everyTwoCharacterHalfWidthKatakanaValueReadsAsShiftJis()
    {
        TempDataFolder dir;
        IniFile ini(dir.file("k.ini"));
        for (char16_t a = 0xFF61; a <= 0xFF9F; ++a) {
            for (char16_t b = 0xFF61; b <= 0xFF9F; ++b) {
                const QString text = QString(QChar(a)) + QChar(b);
                dir.writeBytes("k.ini", "[TabName]\r\n01=" + Sjis(text) + "\r\n");
                QCOMPARE(ini.readString("TabName", "01", ""), text);
            }
        }
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

    // A batch rewrites each file once, at commit: the same bytes as the writes
    // one by one; reads see the batch; a file that cannot be written is named
    // and does not keep the others from being written; a batch that ends
    // without commit (an error on its way) still writes what it holds.
    void aWriteBatchRewritesEachFileOnce()
    {
        TempDataFolder dir;
        QDir(dir.path()).mkdir("folder.ini");
        IniFile a(dir.file("a.ini")), single(dir.file("single.ini"));
        IniFile b(dir.file("b.ini")), bad(dir.file("folder.ini"));
        auto writes = [](IniFile& f) {
            f.writeInt("S", "k", 2);
            f.writeValue("T", "t", QStringLiteral("メモ"));
            f.writeInt("S", "j", 3);
        };
        a.writeInt("S", "k", 1);
        single.writeInt("S", "k", 1);
        const QByteArray before = dir.readBytes("a.ini");
        writes(single);
        {
            IniWriteBatch batch;
            writes(a);
            b.writeInt("S", "k", 4);
            bad.writeInt("S", "k", 5);
            QCOMPARE(dir.readBytes("a.ini"), before); // nothing written yet
            QVERIFY(!dir.exists("b.ini"));
            QCOMPARE(a.readInt("S", "k", 0), 2);
            QCOMPARE(a.readString("T", "t", {}), QStringLiteral("メモ"));
            try {
                batch.commit();
                QFAIL("no error");
            } catch (const AppError& e) {
                QCOMPARE(e.message(), dir.file("folder.ini") + QStringLiteral(" に書き込めません"));
            }
        }
        QCOMPARE(dir.readBytes("a.ini"), dir.readBytes("single.ini"));
        QCOMPARE(IniFile(dir.file("b.ini")).readInt("S", "k", 0), 4);
        QCOMPARE(bad.readInt("S", "k", 0), 0);
        try {
            IniWriteBatch batch;
            a.writeInt("S", "k", 6);
            throw AppError(QStringLiteral("elsewhere"));
        } catch (const AppError&) {
        }
        QVERIFY(dir.readBytes("a.ini").contains("k=6"));
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

    // A file read ahead on another thread gives the same values, and never
    // hides a change made after it was read; a missing file reads as missing.
    void aFileReadAheadNeverHidesAChange()
    {
        TempDataFolder dir;
        dir.writeBytes("a.ini", Sjis("[S]\r\nk=1\r\nname=メモ\r\n"));
        auto ahead =
            std::async(std::launch::async, [&] { return ReadIniAhead(dir.file("a.ini")); });
        AdoptIniReadAhead(ahead.get());
        IniFile ini(dir.file("a.ini"));
        QCOMPARE(ini.readString("S", "name", ""), QString("メモ"));
        dir.writeBytes("b.ini", Sjis("[S]\r\nk=1\r\nname=メモ\r\n"));
        auto stale = ReadIniAhead(dir.file("b.ini"));
        dir.writeBytes("b.ini", "[S]\r\nk=2\r\n");
        AdoptIniReadAhead(stale);
        IniFile changed(dir.file("b.ini"));
        QCOMPARE(changed.readInt("S", "k", 0), 2);
        QCOMPARE(changed.readString("S", "name", "none"), QString("none"));
        QVERIFY(!ReadIniAhead(dir.file("missing.ini")));
    }
};

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
