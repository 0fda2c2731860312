// The command-line jobs of the real program: no window, no display, an exit
// code and at most one line on standard error.
#include "foundation/textcodec.h"
#include "platform/flockinstancelock.h"
#include "platform/folderlock.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

class Folder {
public:
    Folder() { QDir(dir_.path()).mkpath(QStringLiteral("runtime")); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + u'/' + name; }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Every entry below the folder, links not followed: its kind and inode,
    // and the bytes of a regular file. A file replaced by a rename or
    // changed in place shows.
    QStringList snapshot() const
    {
        QStringList all;
        QDirIterator it(path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString p = it.next();
            struct stat st;
            if (::lstat(QFile::encodeName(p).constData(), &st) != 0)
                continue;
            QString entry = QStringLiteral("%1 %2 %3").arg(p).arg(st.st_mode).arg(st.st_ino);
            if (S_ISREG(st.st_mode)) {
                QFile f(p);
                entry += u' ' + QString::fromLatin1(
                                    (f.open(QIODevice::ReadOnly) ? f.readAll() : "?").toHex());
            }
            all << entry;
        }
        all.sort();
        return all;
    }

    // The program with this folder as its data folder and its own runtime
    // folder, without any display; standard output to a file, or closed
    // ("-").
    Run run(const QStringList& args, const QString& stdoutTo = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELNOTE_DATA_DIR"), file(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), file(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Tokyo"));
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        QProcess p;
        p.setProcessEnvironment(env);
        if (stdoutTo == QLatin1String("-")) {
            p.start(QStringLiteral("/bin/sh"),
                    QStringList{"-c", "exec \"$0\" \"$@\" >&-", QStringLiteral(VN_PROGRAM)} + args);
        } else {
            if (!stdoutTo.isEmpty())
                p.setStandardOutputFile(stdoutTo);
            p.start(QStringLiteral(VN_PROGRAM), args);
        }
        Run r;
        if (!p.waitForFinished(30000))
            return r;
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private:
    QTemporaryDir dir_;
};

const QByteArray kSchedules =
    vn::ToSjis(QStringLiteral("200412141530,10,0,1,1,20050314,定例会\r\n"
                              "200501010000,00,0,1,-8,20301231,元日\r\n"));

} // namespace

class TstCommandLine : public QObject {
    Q_OBJECT
private slots:
    void exportThenImport()
    {
        Folder f;
        QDir().mkpath(f.file("data"));
        f.write("data/Schedule.dat", kSchedules);
        Run r = f.run({"--export-ics", f.file("out.ics")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out, QStringLiteral("2件の予定を書き出しました。\n"));
        const QByteArray ics = f.read("out.ics");
        QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\n"));
        QVERIFY(ics.contains("DTSTART;TZID=Asia/Tokyo:20041214T153000\r\n"));
        QCOMPARE(ics.count("BEGIN:VEVENT"), 2);
        // Nothing else was written into the data folder.
        QCOMPARE(QDir(f.file("data")).entryList(QDir::Files), QStringList{"Schedule.dat"});

        r = f.run({"--export-ics=-"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("BEGIN:VCALENDAR")));
        QVERIFY(r.out.contains(QStringLiteral("SUMMARY:定例会")));

        QDir(f.file("data")).removeRecursively();
        r = f.run({"--import-ics", f.file("out.ics")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QString());
        QVERIFY(r.out.startsWith(QStringLiteral("2件の予定を追加しました。\n")));
        QCOMPARE(f.read("data/Schedule.dat"), kSchedules);
        QCOMPARE(QFileInfo(f.file("data")).permissions() & 0x0077, QFileDevice::Permissions());
    }

    void failuresSayOneLineAndChangeNothing()
    {
        Folder f;
        QDir().mkpath(f.file("data"));
        f.write("data/Schedule.dat", kSchedules);
        f.write("bad.ics", "no calendar here\r\n");
        struct Case {
            QStringList args;
            int code;
            const char* says;
        };
        const Case cases[] = {
            {{"--import-ics", f.file("missing.ics")}, 1, "missing.ics"},
            {{"--import-ics", f.file("bad.ics")}, 1, "iCalendar形式のデータではありません"},
            {{"--import-ics"}, 2, "--import-ics にはファイル名が必要です"},
            {{"--export-ics"}, 2, "--export-ics にはファイル名が必要です"},
            {{"--export-ics", f.path()}, 1, "フォルダーです"},
            {{"--export-ics", "a.ics", "--import-ics", "b.ics"}, 2, "一つだけ"},
        };
        for (const Case& c : cases) {
            const Run r = f.run(c.args);
            QCOMPARE(r.code, c.code);
            QVERIFY2(r.err.startsWith(QStringLiteral("velnote: ")) && r.err.endsWith(u'\n') &&
                         r.err.count(u'\n') == 1 && r.err.contains(QString::fromUtf8(c.says)),
                     qPrintable(r.err));
            QCOMPARE(f.read("data/Schedule.dat"), kSchedules);
        }
    }

    // An export goes to a regular file or a new name outside the data
    // folder, and all of it to standard output; anything else fails with one
    // line and leaves every file as it was.
    void exportWritesOnlyWhereItShould()
    {
        Folder f;
        QDir().mkpath(f.file("data/Diary/202401"));
        QDir().mkpath(f.file("folder"));
        f.write("data/Schedule.dat", kSchedules);
        f.write("data/Vnote.ini", "[Memo]\r\n");
        QVERIFY(::mkfifo(QFile::encodeName(f.file("fifo")).constData(), 0600) == 0);
        QVERIFY(QFile::link(f.file("fifo"), f.file("to-fifo")));
        QVERIFY(QFile::link(f.file("data/Schedule.dat"), f.file("to-schedule")));
        QVERIFY(QFile::link(f.file("data/Diary"), f.file("to-diary")));
        // A device node of our own (not the machine's), where it may be made.
        const bool device = ::mknod(QFile::encodeName(f.file("null")).constData(), S_IFCHR | 0600,
                                    makedev(1, 3)) == 0;
        struct Case {
            QString target;
            const char* says;
            QString stdoutTo;
        };
        QList<Case> cases = {
            {f.file("fifo"), "通常のファイルではありません", {}},
            {f.file("to-fifo"), "通常のファイルではありません", {}},
            {f.file("folder"), "フォルダーです", {}},
            {f.file("data/Schedule.dat"), "データフォルダーの中です", {}},
            {f.file("data/Vnote.ini"), "データフォルダーの中です", {}},
            {f.file("data/Vnote7.vnm"), "データフォルダーの中です", {}}, // a page not made yet
            {f.file("data/Diary/202402/20240201.txt"), "データフォルダーの中です", {}},
            {f.file("folder/../data/Schedule.dat"), "データフォルダーの中です", {}},
            {f.file("to-schedule"), "データフォルダーの中です", {}},
            {f.file("to-diary/202401/x.ics"), "データフォルダーの中です", {}},
            {"-", "標準出力に書き込めません [", "/dev/full"},
            {"-", "標準出力に書き込めません [", "-"},
        };
        if (device)
            cases.append({f.file("null"), "通常のファイルではありません", {}});
        for (const Case& c : cases) {
            const QStringList before = f.snapshot();
            const Run r = f.run({"--export-ics", c.target}, c.stdoutTo);
            QVERIFY2(r.code == 1, qPrintable(c.target));
            QVERIFY2(r.err.startsWith(QStringLiteral("velnote: ")) && r.err.endsWith(u'\n') &&
                         r.err.count(u'\n') == 1 && r.err.contains(QString::fromUtf8(c.says)),
                     qPrintable(c.target + u' ' + r.err));
            QCOMPARE(f.snapshot(), before);
        }
    }

    void importWaitsForTheRunningProgram()
    {
        Folder f;
        f.write("in.ics",
                "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                "DTSTART;VALUE=DATE:20240101\r\nSUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        {
            vn::FlockInstanceLock running(f.file("runtime/EX_Vnote.lock"));
            QVERIFY(running.acquire());
            const Run r = f.run({"--import-ics", f.file("in.ics")});
            QCOMPARE(r.code, 1);
            QVERIFY(r.err.contains(QStringLiteral("Velnoteが起動しています")));
            QVERIFY(!QFileInfo::exists(f.file("data/Schedule.dat")));
            // Writing out needs no such care.
            QCOMPARE(f.run({"--export-ics", f.file("out.ics")}).code, 0);
        }
        {
            // Another login (or PC) with the folder open: its runtime lock is
            // elsewhere, the folder's lock is taken.
            QVERIFY(QDir().mkpath(f.file("data")));
            vn::DataFolderLock otherLogin(f.file("data"));
            QCOMPARE(otherLogin.acquire(), vn::DataFolderLock::Result::Taken);
            const Run r = f.run({"--import-ics", f.file("in.ics")});
            QCOMPARE(r.code, 1);
            QVERIFY2(r.err.contains(QStringLiteral("別のPCまたは別のログイン")), qPrintable(r.err));
            QVERIFY(!QFileInfo::exists(f.file("data/Schedule.dat")));
        }
        QCOMPARE(f.run({"--import-ics", f.file("in.ics")}).code, 0);
        QVERIFY(QFileInfo::exists(f.file("data/Schedule.dat")));
    }

    void helpAndVersion()
    {
        Folder f;
        Run r = f.run({"--help"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains(QStringLiteral("--export-ics")));
        QVERIFY(r.out.contains(f.file("data")));
        r = f.run({"--version"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("Velnote ")));
    }
};

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_commandline.moc"
