#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/splitfields.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

class TstTextFile : public QObject {
    Q_OBJECT
private slots:
    void lineBreaksOfEveryKindReadAlike()
    {
        TempDataFolder dir;
        const QStringList expected = {QStringLiteral("一"), QString(), QStringLiteral("three")};
        const QList<QByteArray> files = {QByteArray("\x88\xEA\r\n\r\nthree\r\n"),
                                         "\x88\xEA\n\nthree\n", "\x88\xEA\r\rthree\r",
                                         "\x88\xEA\r\n\r\nthree"};
        for (const QByteArray& bytes : files) {
            dir.writeBytes("f.txt", bytes);
            QCOMPARE(ReadLines(dir.file("f.txt")), expected);
        }
        dir.writeBytes("f.txt", "\x88\xEA\nx");
        QCOMPARE(ReadEditText(dir.file("f.txt")), QStringLiteral("一\r\nx"));
    }

    void nulEndsTheText()
    {
        TempDataFolder dir;
        dir.writeBytes("f.txt", QByteArray("ab\r\ncd\0ef\r\ngh", 14));
        QCOMPARE(ReadLines(dir.file("f.txt")), QStringList({"ab", "cd"}));
    }

    void shortHalfWidthKatakanaTextsStayShiftJis()
    {
        // Valid UTF-8 too, but the program writes UTF-8 only with a mark.
        TempDataFolder dir;
        const QByteArray bytes("\xCF\xB2\xC5\xBD\x20\x31\x30\x30\x0D\x0A\xCA\xB2");
        dir.writeBytes("Vnote.vnm", bytes);
        QCOMPARE(ReadEditText(dir.file("Vnote.vnm")), QStringLiteral("ﾏｲﾅｽ 100\r\nﾊｲ"));
        QCOMPARE(ReadLines(dir.file("Vnote.vnm")), QStringList({"ﾏｲﾅｽ 100", "ﾊｲ"}));
        WriteEditText(dir.file("Vnote.vnm"), ReadEditText(dir.file("Vnote.vnm")));
        QCOMPARE(dir.readBytes("Vnote.vnm"), bytes);
        WriteLines(dir.file("l.dat"), ReadLines(dir.file("Vnote.vnm")));
        QCOMPARE(dir.readBytes("l.dat"), bytes + "\r\n");
        // a reference file may still be UTF-8 without a mark
        dir.writeBytes("ref.txt", QStringLiteral("参照 ﾒﾓ").toUtf8());
        QCOMPARE(ReadForeignEditText(dir.file("ref.txt")), QStringLiteral("参照 ﾒﾓ"));
    }

    void textBeginningWithU_FEFFKeepsIt()
    {
        TempDataFolder dir;
        const QString text = QStringLiteral("\uFEFFメモ\r\nabc");
        WriteEditText(dir.file("p.vnm"), text);
        QCOMPARE(ReadEditText(dir.file("p.vnm")), text);
        const QStringList lines = {QStringLiteral("\uFEFF2024,1,1,x"), QStringLiteral("y")};
        WriteLines(dir.file("l.dat"), lines);
        QCOMPARE(ReadLines(dir.file("l.dat")), lines);
    }

    void aSymbolicLinkIsWrittenThroughToItsTarget()
    {
        TempDataFolder dir;
        QDir(dir.path()).mkdir("real");
        dir.writeBytes("real/page.vnm", "old");
        ::chmod(QFile::encodeName(dir.file("real/page.vnm")).constData(), 0640);
        QVERIFY(QFile::link("real/page.vnm", dir.file("Vnote.vnm")));        // relative
        QVERIFY(QFile::link(dir.file("Vnote.vnm"), dir.file("Vnote1.vnm"))); // a chain
        WriteEditText(dir.file("Vnote1.vnm"), QStringLiteral("新しい"));
        QVERIFY(QFileInfo(dir.file("Vnote.vnm")).isSymLink());
        QVERIFY(QFileInfo(dir.file("Vnote1.vnm")).isSymLink());
        QCOMPARE(dir.readBytes("real/page.vnm"), Sjis("新しい"));
        struct stat st;
        ::stat(QFile::encodeName(dir.file("real/page.vnm")).constData(), &st);
        QCOMPARE(int(st.st_mode & 0777), 0640);
        QCOMPARE(QDir(dir.file("real")).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
        // a link to a file not there yet creates the file
        QVERIFY(QFile::link("real/new.dat", dir.file("Holiday.dat")));
        WriteLines(dir.file("Holiday.dat"), {QStringLiteral("a")});
        QVERIFY(QFileInfo(dir.file("Holiday.dat")).isSymLink());
        QCOMPARE(dir.readBytes("real/new.dat"), QByteArray("a\r\n"));
        // a loop of links cannot be written and stays as it was
        QVERIFY(QFile::link("loop2", dir.file("loop1")));
        QVERIFY(QFile::link("loop1", dir.file("loop2")));
        QVERIFY_THROWS_EXCEPTION(AppError, WriteEditText(dir.file("loop1"), QStringLiteral("x")));
        QVERIFY(QFileInfo(dir.file("loop1")).isSymLink());
    }

    void writtenForms()
    {
        TempDataFolder dir;
        WriteEditText(dir.file("e.txt"), QStringLiteral("abc"));
        QCOMPARE(dir.readBytes("e.txt"), QByteArray("abc"));
        WriteLines(dir.file("l.txt"), {QStringLiteral("abc")});
        QCOMPARE(dir.readBytes("l.txt"), QByteArray("abc\r\n"));
        WriteLines(dir.file("z.txt"), {});
        QVERIFY(dir.exists("z.txt"));
        QCOMPARE(dir.readBytes("z.txt"), QByteArray());
        WriteLines(dir.file("j.txt"), {QStringLiteral("日本"), QStringLiteral("語")});
        QCOMPARE(dir.readBytes("j.txt"), QByteArray("\x93\xFA\x96\x7B\r\n\x8C\xEA\r\n"));
    }

    void newFilesArePrivateAndOldOnesKeepTheirMode()
    {
        TempDataFolder dir;
        WriteEditText(dir.file("new.txt"), QStringLiteral("x"));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(dir.file("new.txt")).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);
        ::chmod(QFile::encodeName(dir.file("new.txt")).constData(), 0644);
        WriteEditText(dir.file("new.txt"), QStringLiteral("y"));
        ::stat(QFile::encodeName(dir.file("new.txt")).constData(), &st);
        QCOMPARE(int(st.st_mode & 0777), 0644);
    }

    void failedWriteLeavesTheOldFileAndSaysWhy()
    {
        // A file-size limit makes the write fail half-way, as a full disk would.
        TempDataFolder dir;
        WriteEditText(dir.file("keep.txt"), QStringLiteral("old text"));
        struct rlimit old;
        ::getrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &small);
        QString message;
        try {
            WriteEditText(dir.file("keep.txt"), QString(10000, u'x'));
        } catch (const AppError& e) {
            message = e.message();
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(message.startsWith(QStringLiteral("ファイル \"")));
        QVERIFY(message.endsWith(QStringLiteral(" を作成できません")));
        QCOMPARE(dir.readBytes("keep.txt"), QByteArray("old text"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void writeOverAFolderFailsCleanly()
    {
        TempDataFolder dir;
        QDir(dir.path()).mkdir("sub");
        QVERIFY_THROWS_EXCEPTION(AppError, WriteEditText(dir.file("sub"), QStringLiteral("x")));
        QVERIFY(QFileInfo(dir.file("sub")).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }

    void missingFileRaisesTheOpenError()
    {
        TempDataFolder dir;
        try {
            ReadLines(dir.file("nope.txt"));
            QFAIL("no error");
        } catch (const AppError& e) {
            QVERIFY(e.message().contains(QStringLiteral("nope.txt\". ")));
            QVERIFY(e.message().endsWith(QStringLiteral(" は開けません")));
        }
    }

    void pathsOfTheDataFolder()
    {
        SetAppLocation(QStringLiteral("/data/tools"), QStringLiteral("Vnote"));
        QCOMPARE(PageFilePath(0), QStringLiteral("/data/tools/Vnote.vnm"));
        QCOMPARE(PageFilePath(12), QStringLiteral("/data/tools/Vnote12.vnm"));
        QCOMPARE(PageFilePath(29), QStringLiteral("/data/tools/Vnote29.vnm"));
        QCOMPARE(SettingsFilePath(), QStringLiteral("/data/tools/Vnote.ini"));
        QCOMPARE(AppPathWithExtension(".vdt"), QStringLiteral("/data/tools/Vnote.vdt"));
        QCOMPARE(DiaryFolder(), QStringLiteral("/data/tools/Diary"));
        QCOMPARE(BackUpFolder(), QStringLiteral("/data/tools/BackUp"));
        TempDataFolder dir;
        QVERIFY(!dir.exists("Schedule.dat"));
        QCOMPARE(SchedulePath(), dir.file("Schedule.dat"));
        QCOMPARE(dir.readBytes("Schedule.dat"), QByteArray());
        QVERIFY(dir.exists("Schedule.dat"));
        HolidayPath();
        QVERIFY(dir.exists("Holiday.dat"));
        BalloonHintPath();
        QVERIFY(!dir.exists("BalloonHint.dat"));
    }

    void splitFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("example") << "  2008 , 3,,x ," << QStringList{"2008", "3", "x"};
        QTest::newRow("blank field") << "a, ,b" << QStringList{"a", "", "b"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("blanks") << "   \t " << QStringList{};
        QTest::newRow("double comma") << "a,,b" << QStringList{"a", "b"};
        QTest::newRow("leading comma") << ",a" << QStringList{"a"};
        QTest::newRow("trailing comma") << "a," << QStringList{"a"};
        QTest::newRow("control chars trimmed") << "\ta\x01,\x02 b" << QStringList{"a", "b"};
        QTest::newRow("japanese") << "2008,1,1,元日" << QStringList{"2008", "1", "1", "元日"};
    }
    void splitFields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(SplitFields(line, u','), fields);
    }
};

QTEST_GUILESS_MAIN(TstTextFile)
#include "tst_textfile.moc"
