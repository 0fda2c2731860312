// Starting at login: the autostart entry written and removed, its state read
// from the file, and programs in awkward folders quoted so the desktop starts
// the right one.
#include "foundation/apperror.h"
#include "platform/autostart.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace vn;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace

class TstAutostart : public QObject {
    Q_OBJECT
private slots:
    void pathFollowsXdgConfigHome()
    {
        qputenv("XDG_CONFIG_HOME", "/cfg/x/");
        QCOMPARE(AutostartFilePath(), QStringLiteral("/cfg/x/autostart/velnote.desktop"));
        qputenv("XDG_CONFIG_HOME", "relative");
        QCOMPARE(AutostartFilePath(), QDir::homePath() + "/.config/autostart/velnote.desktop");
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(AutostartFilePath(), QDir::homePath() + "/.config/autostart/velnote.desktop");
    }

    void writeReadRemove()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/config/autostart/velnote.desktop";
        QVERIFY(!AutostartEnabled(path));
        SetAutostart(true, "/usr/bin/velnote", path);
        QVERIFY(AutostartEnabled(path));
        const QByteArray text = readAll(path);
        QVERIFY(text.contains("\nExec=/usr/bin/velnote\n"));
        QVERIFY(text.startsWith("[Desktop Entry]\nType=Application\n"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(dir.path() + "/config/autostart").constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);

        // The same entry again leaves the file alone.
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                                  QFileDevice::FileModificationTime));
        }
        SetAutostart(true, "/usr/bin/velnote", path);
        QCOMPARE(QFileInfo(path).lastModified().date(), QDate(2001, 1, 1));

        SetAutostart(false, "/usr/bin/velnote", path);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!AutostartEnabled(path));
        SetAutostart(false, "/usr/bin/velnote", path); // nothing there: nothing to do
    }

    // The state is the file's, whoever wrote it.
    void stateReadFromTheFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("plain") << QByteArray("[Desktop Entry]\nType=Application\nExec=velnote\n")
                               << true;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nType=Application\nHidden=true\n")
                                << false;
        QTest::newRow("gnome off")
            << QByteArray("[Desktop Entry]\nType=Application\nX-GNOME-Autostart-enabled=false\n")
            << false;
        QTest::newRow("gnome on, spaces")
            << QByteArray("# c\n[Desktop Entry]\r\nType = "
                          "Application\r\nX-GNOME-Autostart-enabled=true\r\n")
            << true;
        QTest::newRow("other group")
            << QByteArray("[Desktop Entry]\nType=Application\n[Desktop Action x]\nHidden=true\n")
            << true;
        QTest::newRow("link") << QByteArray("[Desktop Entry]\nType=Link\nURL=x\n") << false;
        QTest::newRow("no entry") << QByteArray("Type=Application\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void stateReadFromTheFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, enabled);
        QTemporaryDir dir;
        write(dir.path() + "/velnote.desktop", text);
        QCOMPARE(AutostartEnabled(dir.path() + "/velnote.desktop"), enabled);
    }

    // Program and data folders with blanks, quotes, dollars, backslashes and
    // percent signs: the entry stays valid and names both exactly.
    void awkwardProgramPaths_data()
    {
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("execPrefix");
        QTest::newRow("default data folder") << QString() << QString();
        QTest::newRow("data folder of VELNOTE_DATA_DIR")
            << QStringLiteral("/home/u/メモ $x")
            << QStringLiteral("env \"VELNOTE_DATA_DIR=/home/u/メモ \\\\$x\" ");
    }
    void awkwardProgramPaths()
    {
        QFETCH(QString, dataFolder);
        QFETCH(QString, execPrefix);
        QTemporaryDir dir;
        const QString path = dir.path() + "/velnote.desktop";
        const QString program = QStringLiteral("/home/u/my apps/\"v\"$HOME\\x%d/Vnote");
        SetAutostart(true, program, path, dataFolder);
        const QString text = QString::fromUtf8(readAll(path));
        QVERIFY2(
            text.contains(
                QStringLiteral("\nExec=") + execPrefix +
                QStringLiteral("\"/home/u/my apps/\\\\\"v\\\\\"\\\\$HOME\\\\\\\\x%%d/Vnote\"\n")),
            qPrintable(text));
        QProcess validate;
        validate.start("desktop-file-validate", {path});
        QVERIFY2(validate.waitForFinished(10000),
                 "desktop-file-validate (desktop-file-utils) missing");
        QCOMPARE(QString::fromUtf8(validate.readAllStandardOutput()), QString());
        QCOMPARE(validate.exitCode(), 0);
    }

    void unwritableFolderIsAnError()
    {
        QTemporaryDir dir;
        write(dir.path() + "/file", "x");
        QVERIFY_THROWS_EXCEPTION(AppError, SetAutostart(true, "/usr/bin/velnote",
                                                        dir.path() + "/file/a/velnote.desktop"));
    }
};

QTEST_GUILESS_MAIN(TstAutostart)
#include "tst_autostart.moc"
