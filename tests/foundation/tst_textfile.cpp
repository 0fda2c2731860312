#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/recordfile.h"
#include "foundation/settings.h"
#include "foundation/splitfields.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
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

    // A NUL or bytes the file's form cannot decode make their line
    // unreadable; the lines after it are read all the same.
    void linesPastWhatCannotBeDecoded_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<qsizetype>>("unreadable");
        QTest::addColumn<int>("form");
        const QString bad = QStringLiteral("\uFFFD");
        QTest::newRow("NUL in a line")
            << QByteArray("ab\r\ncd\0ef\r\ngh", 13) << QStringList{"ab", "cd" + bad + "ef", "gh"}
            << QList<qsizetype>{1} << int(TextForm::Sjis);
        QTest::newRow("NUL first") << QByteArray("\0x\ny", 4) << QStringList{bad + "x", "y"}
                                   << QList<qsizetype>{0} << int(TextForm::Sjis);
        QTest::newRow("Shift-JIS cannot decode")
            << QByteArray("a\r\n\x82\r\n\x88\xEA") << QStringList{"a", bad, "一"}
            << QList<qsizetype>{1} << int(TextForm::Sjis);
        QTest::newRow("UTF-8 with a mark and a broken sequence")
            << QByteArray("\xEF\xBB\xBF\xE6\xB3\xA8\r\n\xC3(") << QStringList{"注", bad + "("}
            << QList<qsizetype>{1} << int(TextForm::Utf8);
        QTest::newRow("UTF-16 LE")
            << QByteArray("\xFF\xFE\xE5\x65\x2C\x67\r\0\n\0x\0", 12) << QStringList{"日本", "x"}
            << QList<qsizetype>{} << int(TextForm::Utf16LE);
        QTest::newRow("UTF-16 BE with a NUL")
            << QByteArray("\xFE\xFF\0a\0\0\0\n\0b", 10) << QStringList{"a" + bad, "b"}
            << QList<qsizetype>{0} << int(TextForm::Utf16BE);
    }
    void linesPastWhatCannotBeDecoded()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QList<qsizetype>, unreadable);
        QFETCH(int, form);
        TempDataFolder dir;
        dir.writeBytes("f.dat", bytes);
        const FileLines read = ReadFileLines(dir.file("f.dat"));
        QCOMPARE(read.lines, lines);
        QCOMPARE(read.unreadable, unreadable);
        QCOMPARE(int(read.form), form);
        QCOMPARE(ReadLines(dir.file("f.dat")), lines);
    }

    // Only regular files are read or replaced; a FIFO is never opened (it
    // would block), and what is there stays.
    void onlyRegularFilesAreReadOrReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("device") << "device";
    }
    void onlyRegularFilesAreReadOrReplaced()
    {
        QFETCH(QString, kind);
        TempDataFolder dir;
        const QString path = dir.file("Vnote.ini");
        const QByteArray name = QFile::encodeName(path);
        if (kind == "fifo")
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("Vnote.ini"));
        else
            QVERIFY(QFile::link("/dev/null", path));
        struct stat before;
        QCOMPARE(::stat(name.constData(), &before), 0);
        const QString expected = NotRegularFileText(QDir::toNativeSeparators(path));
        auto messageOf = [](const std::function<void()>& run) {
            try {
                run();
            } catch (const AppError& e) {
                return e.message();
            }
            return QString();
        };
        QCOMPARE(messageOf([&] { ReadFileBytes(path); }), expected);
        QCOMPARE(messageOf([&] { ReadLines(path); }), expected);
        QCOMPARE(messageOf([&] { RecordFile::Read(path); }), expected);
        QCOMPARE(messageOf([&] { CheckSettingsFileReadable(); }), expected);
        QCOMPARE(messageOf([&] { WriteLines(path, {"x"}); }),
                 NotRegularFileText(QDir::toNativeSeparators(path), true));
        struct stat after;
        QCOMPARE(::stat(name.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
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
        // An export gets what the user's umask gives; a rewrite still keeps
        // the old mode.
        const mode_t old = ::umask(027);
        WriteEditText(dir.file("export.txt"), QStringLiteral("x"), NewFileMode::UserUmask);
        ::umask(old);
        ::stat(QFile::encodeName(dir.file("export.txt")).constData(), &st);
        QCOMPARE(int(st.st_mode & 0777), 0640);
        WriteEditText(dir.file("new.txt"), QStringLiteral("z"), NewFileMode::UserUmask);
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
        QCOMPARE(message,
                 QStringLiteral("ファイル \"%1\" を作成できません。ファイルが大きすぎます [%2]")
                     .arg(QDir::toNativeSeparators(dir.file("keep.txt")),
                          QString::fromLocal8Bit(std::strerror(EFBIG))));
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
            // In Japanese; the system's own words only in brackets at the end.
            QCOMPARE(e.message(), QStringLiteral("ファイル \"%1\" を開けません。ファイルまたは"
                                                 "フォルダーがありません [%2]")
                                      .arg(QDir::toNativeSeparators(dir.file("nope.txt")),
                                           QString::fromLocal8Bit(std::strerror(ENOENT))));
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
