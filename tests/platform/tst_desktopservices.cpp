// The calculator search, the sound player and the platform factory, on the
// offscreen platform (no X server, no tray).
#include "platform/lazysoundplayer.h"
#include "platform/platform.h"
#include "platform/qtdesktop.h"
#include "platform/qtsoundplayer.h"
#include "platform/x11hotkeysource.h"

#include <QFile>
#include <QMediaPlayer>
#include <QProcess>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>

using namespace vn;

namespace {

// Puts a program into dir that writes its own name into $VN_CALC_MARKER.
void WriteFakeProgram(const QDir& dir, const QString& name, bool executable = true)
{
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho " + name.toUtf8() + " > \"$VN_CALC_MARKER\"\n");
    file.close();
    QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        perms |= QFile::ExeOwner;
    QVERIFY(file.setPermissions(perms));
}

// Runs the calculator search with PATH set to dir only, on the desktop named.
bool StartCalculatorWithPath(const QString& dir, const QString& marker,
                             const QByteArray& desktop = QByteArray())
{
    const QByteArray savedPath = qgetenv("PATH");
    const QByteArray savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("PATH", QFile::encodeName(dir));
    qputenv("VN_CALC_MARKER", QFile::encodeName(marker));
    qputenv("XDG_CURRENT_DESKTOP", desktop);
    const bool ok = QtDesktop().startCalculator();
    qputenv("PATH", savedPath);
    qputenv("XDG_CURRENT_DESKTOP", savedDesktop);
    return ok;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

} // namespace

class TestDesktopServices : public QObject {
    Q_OBJECT
private slots:
    void calculatorsInPreferenceOrder();
    void startsFirstInstalledCalculator();
    void skipsFilesThatAreNotPrograms();
    void noCalculatorInstalled();
    void calculatorOfTheDesktop_data();
    void calculatorOfTheDesktop();
    void soundPlayerFollowsLatestFile();
    void soundModuleLoadsAtTheFirstSound();
    void soundPlayerPlaysDesktopSounds();
    void hotKeySourceWithoutX11();
    void factoryReportsMissingKeyOnce();
};

void TestDesktopServices::calculatorsInPreferenceOrder()
{
    const QStringList programs = CalculatorPrograms(QString());
    QCOMPARE(programs.first(), QStringLiteral("gnome-calculator"));
    QCOMPARE(programs.last(), QStringLiteral("xcalc"));
    QVERIFY(programs.indexOf(QStringLiteral("kcalc")) <
            programs.indexOf(QStringLiteral("mate-calc")));
    QCOMPARE(programs.size(), 6);
}

void TestDesktopServices::startsFirstInstalledCalculator()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFakeProgram(QDir(dir.path()), QStringLiteral("xcalc"));
    WriteFakeProgram(QDir(dir.path()), QStringLiteral("kcalc"));
    const QString marker = dir.filePath(QStringLiteral("ran.txt"));
    QVERIFY(StartCalculatorWithPath(dir.path(), marker));
    // The program runs on its own; wait for its mark.
    QTRY_VERIFY_WITH_TIMEOUT(!ReadAll(marker).isEmpty(), 20000);
    QCOMPARE(ReadAll(marker), QByteArray("kcalc"));
}

void TestDesktopServices::skipsFilesThatAreNotPrograms()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFakeProgram(QDir(dir.path()), QStringLiteral("gnome-calculator"), false);
    WriteFakeProgram(QDir(dir.path()), QStringLiteral("galculator"));
    const QString marker = dir.filePath(QStringLiteral("ran.txt"));
    QVERIFY(StartCalculatorWithPath(dir.path(), marker));
    QTRY_VERIFY_WITH_TIMEOUT(!ReadAll(marker).isEmpty(), 20000);
    QCOMPARE(ReadAll(marker), QByteArray("galculator"));
}

void TestDesktopServices::noCalculatorInstalled()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFakeProgram(QDir(dir.path()), QStringLiteral("calc")); // not one we know
    const QString marker = dir.filePath(QStringLiteral("ran.txt"));
    QVERIFY(!StartCalculatorWithPath(dir.path(), marker));
    QVERIFY(!QFile::exists(marker));
}

void TestDesktopServices::calculatorOfTheDesktop_data()
{
    QTest::addColumn<QByteArray>("desktop"); // XDG_CURRENT_DESKTOP
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QByteArray>("started"); // empty: none, and the search says so
    const QStringList all = {"xcalc",      "qalculate-gtk", "mate-calc",
                             "galculator", "kcalc",         "gnome-calculator"};
    QTest::newRow("no desktop") << QByteArray() << all << QByteArray("gnome-calculator");
    QTest::newRow("KDE") << QByteArray("KDE") << all << QByteArray("kcalc");
    QTest::newRow("MATE") << QByteArray("MATE") << all << QByteArray("mate-calc");
    QTest::newRow("XFCE") << QByteArray("XFCE") << all << QByteArray("galculator");
    QTest::newRow("two names") << QByteArray("ubuntu:GNOME") << all
                               << QByteArray("gnome-calculator");
    QTest::newRow("lower case") << QByteArray("kde") << all << QByteArray("kcalc");
    QTest::newRow("KDE without kcalc")
        << QByteArray("KDE") << QStringList{"xcalc", "mate-calc"} << QByteArray("mate-calc");
    QTest::newRow("unknown desktop")
        << QByteArray("openbox") << QStringList{"xcalc", "qalculate-gtk"}
        << QByteArray("qalculate-gtk");
    QTest::newRow("only the last") << QByteArray() << QStringList{"xcalc"} << QByteArray("xcalc");
    QTest::newRow("none") << QByteArray("GNOME") << QStringList{"calc", "bc"} << QByteArray();
}

void TestDesktopServices::calculatorOfTheDesktop()
{
    QFETCH(QByteArray, desktop);
    QFETCH(QStringList, installed);
    QFETCH(QByteArray, started);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& name : installed)
        WriteFakeProgram(QDir(dir.path()), name);
    const QString marker = dir.filePath(QStringLiteral("ran.txt"));
    QCOMPARE(StartCalculatorWithPath(dir.path(), marker, desktop), !started.isEmpty());
    if (started.isEmpty()) {
        QVERIFY(!QFile::exists(marker));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(!ReadAll(marker).isEmpty(), 20000);
    QCOMPARE(ReadAll(marker), started);
}

void TestDesktopServices::soundPlayerFollowsLatestFile()
{
    QtSoundPlayer player;
    player.play(QString());
    QVERIFY(!player.effect()); // nothing to play opens no audio at all

    player.play(QStringLiteral("/nonexistent/first.wav"));
    QVERIFY(player.effect());
    QCOMPARE(player.effect()->source(),
             QUrl::fromLocalFile(QStringLiteral("/nonexistent/first.wav")));
    player.play(QStringLiteral("/nonexistent/second.wav"));
    QCOMPARE(player.effect()->source(),
             QUrl::fromLocalFile(QStringLiteral("/nonexistent/second.wav")));
    player.play(QString()); // an empty path leaves the last sound alone
    QCOMPARE(player.effect()->source(),
             QUrl::fromLocalFile(QStringLiteral("/nonexistent/second.wav")));
}

void TestDesktopServices::soundModuleLoadsAtTheFirstSound()
{
    LazySoundPlayer player(QStringLiteral(VN_SOUND_MODULE));
    player.play(QString());
    QVERIFY(!player.loaded()); // nothing to play loads nothing
    player.play(QStringLiteral("/nonexistent/first.wav"));
    QVERIFY(player.loaded());
    player.play(QStringLiteral("/nonexistent/second.wav"));

    // Without the module the program goes on, silent.
    LazySoundPlayer missing(QStringLiteral("/nonexistent/velnote-sound"));
    missing.play(QStringLiteral("/nonexistent/first.wav"));
    QVERIFY(!missing.loaded());
    QVERIFY(!missing.load());
}

void TestDesktopServices::soundPlayerPlaysDesktopSounds()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    };
    // An Ogg Vorbis sound of the desktop goes to the media player; a WAVE
    // file goes to the sound effect, whatever the file is called.
    const QString ogg = write(QStringLiteral("bell.oga"), QByteArray("OggS") + QByteArray(60, 0));
    const QString wave = write(QStringLiteral("named.ogg"),
                               QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + QByteArray(40, 0));
    QVERIFY(QtSoundPlayer::IsWaveFile(wave));
    QVERIFY(!QtSoundPlayer::IsWaveFile(ogg));
    QVERIFY(!QtSoundPlayer::IsWaveFile(dir.filePath(QStringLiteral("none.wav"))));

    QtSoundPlayer player;
    player.play(ogg);
    QVERIFY(player.mediaPlayer());
    QCOMPARE(player.mediaPlayer()->source(), QUrl::fromLocalFile(ogg));
    QVERIFY(!player.effect());
    player.play(wave);
    QCOMPARE(player.effect()->source(), QUrl::fromLocalFile(wave));
    QCOMPARE(player.mediaPlayer()->playbackState(), QMediaPlayer::StoppedState);
}

void TestDesktopServices::hotKeySourceWithoutX11()
{
    X11HotKeySource source;
    QVERIFY(!source.available());
    QVERIFY(!source.registerKey(HotKey::Pause));
    QVERIFY(!source.registerKey(HotKey::Shift));
    QCOMPARE(source.registeredKey(), HotKey::None);
    source.unregisterKey(); // harmless
}

void TestDesktopServices::factoryReportsMissingKeyOnce()
{
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    helper.setProcessEnvironment(env);
    helper.start(QStringLiteral(VN_PLATFORM_HELPER), {QStringLiteral("factory")});
    QVERIFY(helper.waitForFinished(60000));
    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(helper.readAllStandardOutput().trimmed(), QByteArray("refused"));
    const QList<QByteArray> lines = helper.readAllStandardError().split('\n');
    const auto mentions = std::count_if(lines.begin(), lines.end(), [](const QByteArray& line) {
        return line.contains("show/hide key");
    });
    QCOMPARE(mentions, 1);
}

QTEST_MAIN(TestDesktopServices)
#include "tst_desktopservices.moc"
