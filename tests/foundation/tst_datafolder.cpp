#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/rescuefile.h"
#include "foundation/textcodec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace vn;

namespace {

struct Probe {
    QString folder;
    QString mode;
    QString settingsFile;
};

// Runs a copy of the probe program that lives in programDir; as root, runs it
// as the user "nobody" when asked (the administrator may write anywhere).
Probe runProbe(const QString& programDir, const QProcessEnvironment& env, bool asNobody = false)
{
    QProcess p;
    p.setProcessEnvironment(env);
    const QString program = programDir + QStringLiteral("/pathprobe");
    if (asNobody)
        p.start(QStringLiteral("setpriv"),
                {"--reuid=nobody", "--regid=nogroup", "--clear-groups", program});
    else
        p.start(program, {});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    const QStringList lines = QString::fromLocal8Bit(p.readAllStandardOutput()).split(u'\n');
    if (lines.size() < 3)
        return {};
    return {lines[0], lines[1], lines[2]};
}

QString copyProbe(const QString& dir)
{
    const QString target = dir + QStringLiteral("/pathprobe");
    QFile::copy(QStringLiteral(VN_PATH_PROBE), target);
    QFile::setPermissions(target, QFile::permissions(QStringLiteral(VN_PATH_PROBE)));
    return target;
}

QProcessEnvironment cleanEnvironment(const QString& xdgDataHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VELNOTE_DATA_DIR"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), xdgDataHome);
    return env;
}

} // namespace

class TstDataFolder : public QObject {
    Q_OBJECT
private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("overrideDir");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("system");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("kind");
        const int o = int(DataFolderKind::Override), p = int(DataFolderKind::Portable),
                  u = int(DataFolderKind::UserData);
        QTest::newRow("portable") << "" << true << false << ""
                                  << "/opt/memo" << p;
        QTest::newRow("unwritable") << "" << false << false << ""
                                    << "/home/u/.local/share/velnote" << u;
        QTest::newRow("system folder") << "" << true << true << ""
                                       << "/home/u/.local/share/velnote" << u;
        QTest::newRow("xdg") << "" << false << false << "/data/x/"
                             << "/data/x/velnote" << u;
        QTest::newRow("relative xdg ignored") << "" << false << false << "rel/x"
                                              << "/home/u/.local/share/velnote" << u;
        QTest::newRow("variable beats portable") << "/srv/vn/" << true << false << ""
                                                 << "/srv/vn" << o;
        QTest::newRow("variable beats installed") << "/srv/vn" << false << true << "/data/x"
                                                  << "/srv/vn" << o;
    }
    void choice()
    {
        QFETCH(QString, overrideDir);
        QFETCH(bool, writable);
        QFETCH(bool, system);
        QFETCH(QString, xdg);
        QFETCH(QString, folder);
        QFETCH(int, kind);
        DataFolderInputs in;
        in.overrideDir = overrideDir;
        in.programDir = QStringLiteral("/opt/memo");
        in.programDirWritable = writable;
        in.programDirIsSystem = system;
        in.xdgDataHome = xdg;
        in.home = QStringLiteral("/home/u");
        const DataFolderChoice c = ChooseDataFolder(in);
        QCOMPARE(c.folder, folder);
        QCOMPARE(int(c.kind), kind);
    }

    // The real program in real folders: its own writable folder, the
    // variable, and a folder it cannot write to.
    void realFolders()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
        const QString xdg = root.path() + QStringLiteral("/xdg");

        const QString portable = root.path() + QStringLiteral("/portable");
        QVERIFY(QDir().mkpath(portable));
        copyProbe(portable);
        Probe pr = runProbe(portable, cleanEnvironment(xdg));
        QCOMPARE(pr.folder, portable);
        QCOMPARE(pr.settingsFile, portable + QStringLiteral("/Vnote.ini"));
        QVERIFY(!QFileInfo::exists(xdg));

        const QString named = root.path() + QStringLiteral("/named");
        QProcessEnvironment env = cleanEnvironment(xdg);
        env.insert(QStringLiteral("VELNOTE_DATA_DIR"), named + u'/');
        pr = runProbe(portable, env);
        QCOMPARE(pr.folder, named);

        // A folder the program cannot write to: as root, the probe runs as
        // "nobody", whose data folder then lives below a folder it owns.
        const QString locked = root.path() + QStringLiteral("/locked");
        QVERIFY(QDir().mkpath(locked));
        copyProbe(locked);
        const bool root_ = ::geteuid() == 0;
        ::chmod(QFile::encodeName(locked).constData(), 0555);
        if (root_) {
            QVERIFY(QDir().mkpath(xdg));
            QVERIFY(::chown(QFile::encodeName(xdg).constData(), 65534, 65534) == 0);
        }
        pr = runProbe(locked, cleanEnvironment(xdg + QStringLiteral("/share")), root_);
        ::chmod(QFile::encodeName(locked).constData(), 0755);
        QCOMPARE(pr.folder, xdg + QStringLiteral("/share/velnote"));
        QCOMPARE(pr.mode, QStringLiteral("700"));
        QCOMPARE(pr.settingsFile, pr.folder + QStringLiteral("/Vnote.ini"));
        // New parent folders are private too.
        QCOMPARE(QFileInfo(xdg + QStringLiteral("/share")).permissions() & 0x0077,
                 QFileDevice::Permissions());
    }

    // Text that cannot be saved goes to the first place that takes it: the
    // state folder, then the runtime folder, then the temporary folder.
    void rescuePlace_data()
    {
        QTest::addColumn<QString>("blocked"); // places that are a file, or "unset"
        QTest::addColumn<QString>("place");   // where the text lands; "" nowhere
        QTest::newRow("state folder") << ""
                                      << "state/velnote/rescued";
        QTest::newRow("state folder unwritable") << "state"
                                                 << "run/velnote-rescued";
        QTest::newRow("no runtime folder") << "state unset"
                                           << "tmp/velnote-rescued-<uid>";
        QTest::newRow("runtime folder unwritable") << "state run"
                                                   << "tmp/velnote-rescued-<uid>";
        QTest::newRow("no place at all") << "state run tmp"
                                         << "";
    }
    void rescuePlace()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, place);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        RescueInputs in{root + "state", root + "home", root + "run", root + "tmp",
                        uint(::getuid())};
        for (const QString& name : blocked.split(u' ', Qt::SkipEmptyParts)) {
            if (name == QLatin1String("unset"))
                in.runtimeDir.clear();
            else
                QVERIFY(QFile(root + name).open(QIODevice::WriteOnly)); // a file, not a folder
        }
        test::FakeClock clock(test::At(2026, 12, 10, 6, 15, 0));
        const QString text = QStringLiteral("全角の文字\r\nline 2\r\n");
        const QString path = WriteRescueFile(QStringLiteral("Vnote3.vnm"), text, in);
        if (place.isEmpty()) {
            QVERIFY(path.isEmpty());
            return;
        }
        QCOMPARE(path, root + place.replace("<uid>", QString::number(::getuid())) +
                           "/Vnote3.vnm.20261210_061500.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), EncodeText(text));
        QCOMPARE(f.permissions() & 0x0077, QFile::Permissions()); // the owner's alone
        // A second text of the same moment gets a name of its own.
        QCOMPARE(QFileInfo(WriteRescueFile("Vnote3.vnm", "x", in)).fileName(),
                 QStringLiteral("Vnote3.vnm.20261210_061500-2.txt"));
        // The next start tells of both once; they are never removed.
        QCOMPARE(UntoldRescueFiles(in).size(), 2);
        QVERIFY(UntoldRescueFiles(in).isEmpty());
        QVERIFY(f.exists());
    }

    void privateFolderKeepsWhatExists()
    {
        QTemporaryDir root;
        const QString existing = root.path() + QStringLiteral("/open");
        QVERIFY(QDir().mkpath(existing));
        ::chmod(QFile::encodeName(existing).constData(), 0755);
        QVERIFY(MakePrivateFolder(existing + QStringLiteral("/a/b")));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(existing).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0755u);
        QCOMPARE(::stat(QFile::encodeName(existing + QStringLiteral("/a/b")).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);
        // A file in the way is no folder.
        QFile f(root.path() + QStringLiteral("/file"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(!MakePrivateFolder(root.path() + QStringLiteral("/file/x")));
    }

    // A data folder that is missing is made owner-only; one that cannot be
    // made stops the start with a Japanese reason, the system's words last.
    void missingDataFolder_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("reason"); // empty: the folder is made
        QTest::newRow("missing") << "new/data"
                                 << "";
        QTest::newRow("a file in its place") << "file"
                                             << "はフォルダーではありません。";
        QTest::newRow("under a file") << "file/data"
                                      << "を作成できません。";
    }
    void missingDataFolder()
    {
        QFETCH(QString, relative);
        QFETCH(QString, reason);
        QTemporaryDir root;
        QFile f(root.path() + QStringLiteral("/file"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString path = root.path() + u'/' + relative;
        const QString text = PrepareDataFolder(path);
        if (reason.isEmpty()) {
            QCOMPARE(text, QString());
            struct stat st {};
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
            QCOMPARE(st.st_mode & 0777, 0700u);
            return;
        }
        QVERIFY2(text.startsWith(QStringLiteral("データフォルダー \"") + path + u'"' + u' ' +
                                 reason + QStringLiteral("Velnoteを起動できません。")),
                 qPrintable(text));
        QVERIFY(QFileInfo(root.path() + QStringLiteral("/file")).isFile());
    }

    // Where the help is found: installed under share/, or in help/ beside a
    // program run from its build folder; a folder of that name is no help.
    void helpFile_data()
    {
        QTest::addColumn<QStringList>("files"); // made under the root; "/" ends a folder
        QTest::addColumn<QString>("found");     // relative to the root, empty for none
        QTest::newRow("installed") << QStringList{"usr/share/velnote/help/index.html"}
                                   << "usr/share/velnote/help/index.html";
        QTest::newRow("build folder")
            << QStringList{"usr/bin/help/index.html"} << "usr/bin/help/index.html";
        QTest::newRow("installed first")
            << QStringList{"usr/bin/help/index.html", "usr/share/velnote/help/index.html"}
            << "usr/share/velnote/help/index.html";
        QTest::newRow("a folder in its place") << QStringList{"usr/bin/help/index.html/"} << "";
        QTest::newRow("none") << QStringList{"usr/share/doc/velnote/index.html"} << "";
    }
    void helpFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, found);
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("usr/bin"));
        for (const QString& name : files) {
            if (name.endsWith(u'/')) {
                QVERIFY(QDir(root.path()).mkpath(name));
                continue;
            }
            QVERIFY(QDir(root.path()).mkpath(QFileInfo(name).path()));
            QFile f(root.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString expected = found.isEmpty() ? QString() : root.filePath(found);
        QCOMPARE(HelpFilePath(root.filePath(QStringLiteral("usr/bin"))), expected);
    }
};

QTEST_GUILESS_MAIN(TstDataFolder)
#include "tst_datafolder.moc"
