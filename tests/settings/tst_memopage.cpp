// The page "メモ": every control writes its setting at once and changes what
// it belongs to; the show/hide rows; stored values out of range; login start.
#include "fakeclock.h"
#include "fakesettingshost.h"
#include "foundation/inifile.h"
#include "foundation/settings.h"
#include "platform/autostart.h"
#include "settings/memopage.h"
#include "settings/settingpatterns.h"
#include "tempdatafolder.h"
#include "ui_memopage.h"
#include "widgets/errorbox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace vn;
using namespace vn::test;

namespace {

DateTime at(int y, int m, int d, int h, int n, int s)
{
    return EncodeDate(y, m, d) + EncodeTime(h, n, s);
}

} // namespace

class TstMemoPage : public QObject {
    Q_OBJECT
private slots:
    void patternLists()
    {
        const QStringList dates = InsertDatePatterns();
        QCOMPARE(dates.size(), 36);
        QVERIFY(!dates.contains(QStringLiteral("yyyy/m/d(aaaa)")));
        QCOMPARE(dates.last(), QStringLiteral("yyyymmdd"));
        QStringList times = InsertDateTimePatterns();
        QCOMPARE(times.size(), 74);
        QCOMPARE(times.removeDuplicates(), 0);
        const QList<QPair<int, QString>> samples = {
            {1, "yy/m/d h:n"},
            {2, "yy/m/d(aaa) h:n"},
            {4, "yy/mm/dd hh:nn"},
            {15, "yyyy年m月d日(aaaa) h時n分"},
            {31, "gge年m月d日 h時n分"},
            {36, "ggee年mm月dd日(aaaa) hh時nn分"},
            {37, "yy/m/d h:n:s"},
            {51, "yyyy年m月d日(aaaa) h時n分s秒"},
            {72, "ggee年mm月dd日(aaaa) hh時nn分ss秒"},
            {73, "yyyymmdd hhnnss"},
            {74, "yyyymmddhhnnss"},
        };
        for (const auto& [entry, pattern] : samples)
            QCOMPARE(times[entry - 1], pattern);
    }

    void creationLoadsTheKeyAndCorrectsWhatIsOutOfRange()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", "[PauseKey]\r\nKind=7\r\nSS=9\r\n[Vnote]\r\nHide=1\r\n");
        FakeSettingsHost host;
        host.pageCount = 12;
        MemoPage page;
        page.setHost(&host);
        page.LoadAtCreation();
        const auto& ui = page.form();
        // Kind 7 works as a single Pause press and is written back as 1.
        QVERIFY(ui.rdoPause1->isChecked());
        QCOMPARE(host.kinds, QList<int>({1}));
        QVERIFY(!ui.txtPause->isEnabled());
        QCOMPARE(ReadSettingInt(REG_EnvPauseKeyKind), 1);
        QCOMPARE(ui.txtPause->value(), 1);
        QCOMPARE(host.interval, 1);
        QCOMPARE(ReadSettingInt(REG_EnvPauseKeySS), 1);
        QCOMPARE(host.presses, 1); // the next press starts a pair
        QVERIFY(ui.chkHide->isChecked());
        QCOMPARE(ui.txtShowCount->value(), 12);

        // Each row registers its key, sets the mode and writes the kind; only
        // the double presses have a time window.
        const QList<QPair<QRadioButton*, int>> rows = {{ui.rdoPause3Shift, 3},
                                                       {ui.rdoPause0, 0},
                                                       {ui.rdoPause2, 2},
                                                       {ui.rdoPause4Ctrl, 4},
                                                       {ui.rdoPause1, 1}};
        for (const auto& [button, kind] : rows) {
            button->click();
            QCOMPARE(host.kinds.last(), kind);
            QCOMPARE(ReadSettingInt(REG_EnvPauseKeyKind), kind);
            QCOMPARE(ui.txtPause->isEnabled(), kind >= 2);
            QCOMPARE(page.pauseKind(), kind);
        }
        QCOMPARE(host.kinds.size(), 6);

        // The time window, and an emptied field, which becomes 1.
        ui.rdoPause2->click();
        ui.txtPause->setValue(3);
        QCOMPARE(host.interval, 3);
        QCOMPARE(ReadSettingInt(REG_EnvPauseKeySS), 3);
        ui.txtPause->clear();
        ui.txtPause->commitText();
        QCOMPARE(host.interval, 1);
        QCOMPARE(ReadSettingInt(REG_EnvPauseKeySS), 1);

        ui.chkHide->click();
        QCOMPARE(ReadSettingInt(REG_VnoteHide), 0);
    }

    void pageCountTabsWrapAndSeparator()
    {
        TempDataFolder dir;
        FakeSettingsHost host;
        host.multiLine = true;
        MemoPage page;
        page.setHost(&host);
        page.LoadAtCreation();
        page.LoadAtShowing();
        const auto& ui = page.form();
        QVERIFY(ui.chkMultiLineMemo->isChecked());
        QCOMPARE(ReadSettingInt(REG_MultiLineMemo), 1); // the window's state

        // The count counts at once; it is written when the dialog closes.
        ui.txtShowCount->setValue(7);
        QCOMPARE(host.pageCount, 7);
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 3);
        ui.txtShowCount->clear();
        ui.txtShowCount->commitText();
        QCOMPARE(host.pageCount, 1);

        ui.chkMultiLineMemo->click();
        QVERIFY(!host.multiLine);
        QCOMPARE(ReadSettingInt(REG_MultiLineMemo), 0);
        ui.chkWordWrapMemo->click();
        QVERIFY(host.wrap);
        QCOMPARE(ReadSettingInt(REG_WordWrapMemo), 1);
        ui.chkSepaBefor->click();
        ui.chkSepaAfter->click();
        QVERIFY(host.breakBefore);
        QVERIFY(!host.breakAfter);
        QCOMPARE(ReadSettingInt(REG_EnvSeparationBefor), 1);
        QCOMPARE(ReadSettingInt(REG_EnvSeparationAfter), 0);

        // The separator's length in Shift-JIS bytes on every change.
        QCOMPARE(ui.txtSepa->text(), QString(40, u'-'));
        QCOMPARE(ui.lblLength->text(), QStringLiteral("40 Byte"));
        ui.txtSepa->setText(QString(20, QChar(0x2550))); // 20 full-width "═"
        QCOMPARE(ui.lblLength->text(), QStringLiteral("40 Byte"));
        ui.txtSepa->setText(QStringLiteral("＊＊ab"));
        QCOMPARE(ui.lblLength->text(), QStringLiteral("6 Byte"));
        QCOMPARE(ReadSettingStr(REG_EnvSeparationMark), QString(40, u'-'));
        page.SaveAtClosing();
        QCOMPARE(ReadSettingStr(REG_EnvSeparationMark), QStringLiteral("＊＊ab"));
        QCOMPARE(host.separator, QStringLiteral("＊＊ab"));
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 1);
    }

    void datePatterns()
    {
        TempDataFolder dir;
        FakeClock clock(at(2019, 5, 1, 9, 5, 7)); // a Wednesday, the first day of Reiwa
        // A pattern written by hand that the list lacks.
        dir.writeBytes("Vnote.ini", Sjis("[Format]\r\nDate=d日(aaaa)\r\n"));
        FakeSettingsHost host;
        MemoPage page;
        page.setHost(&host);
        page.LoadAtCreation();
        page.LoadAtShowing();
        const auto& ui = page.form();
        QCOMPARE(ui.cmbDate->count(), 36);
        QCOMPARE(ui.cmbDateTime->count(), 74);
        QCOMPARE(ui.cmbDate->currentIndex(), -1);
        QCOMPARE(ui.lblDate->text(), QStringLiteral("1日(水曜日)"));
        QCOMPARE(host.dateFormat, QStringLiteral("d日(aaaa)"));
        QCOMPARE(ui.cmbDateTime->currentText(), QStringLiteral("yyyy/mm/dd(aaa) hh:nn:ss"));
        QCOMPARE(ui.lblDateTime->text(), QStringLiteral("2019/05/01(水) 09:05:07"));

        ui.cmbDate->setCurrentIndex(ui.cmbDate->findText("gge年m月d日(aaa)"));
        QCOMPARE(host.dateFormat, QStringLiteral("gge年m月d日(aaa)"));
        QCOMPARE(ReadSettingStr(REG_EnvFormatDate), QStringLiteral("gge年m月d日(aaa)"));
        QCOMPARE(ui.lblDate->text(), QStringLiteral("令和1年5月1日(水)"));
        ui.cmbDateTime->setCurrentIndex(36); // the first with seconds
        QCOMPARE(host.dateTimeFormat, QStringLiteral("yy/m/d h:n:s"));
        QCOMPARE(ReadSettingStr(REG_EnvFormatDateTime), QStringLiteral("yy/m/d h:n:s"));
        QCOMPARE(ui.lblDateTime->text(), QStringLiteral("19/5/1 9:5:7"));
    }

    void startingAtLogin()
    {
        TempDataFolder dir;
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        const QString file = config.path() + QStringLiteral("/autostart/velnote.desktop");
        FakeSettingsHost host;
        MemoPage page;
        page.setHost(&host);
        page.setAutostartProgram(QStringLiteral("/opt/velnote/bin/velnote"));
        page.LoadAtCreation();
        page.LoadAtShowing();
        const auto& ui = page.form();
        QVERIFY(!ui.chkAutoStart->isChecked());
        QVERIFY(!QFile::exists(file)); // loading writes nothing

        const QByteArray ini = dir.readBytes("Vnote.ini");
        ui.chkAutoStart->click();
        QVERIFY(AutostartEnabled(file));
        QCOMPARE(dir.readBytes("Vnote.ini"), ini); // the state is not kept in the INI
        ui.chkAutoStart->click();
        QVERIFY(!QFile::exists(file));

        // The state is the file's: switched on outside the program, it shows.
        SetAutostart(true, QStringLiteral("/usr/bin/velnote"), file);
        page.LoadAtShowing();
        QVERIFY(ui.chkAutoStart->isChecked());
        QVERIFY(QFile::exists(file));

        // A file that cannot be written (its folder is a file): the error is
        // shown and the box shows what the file system says.
        QFile::remove(file);
        QDir(config.path()).rmdir("autostart");
        QFile blocker(config.path() + "/autostart");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        page.LoadAtShowing();
        QStringList errors;
        SetErrorSink([&](const QString& t) { errors << t; });
        ui.chkAutoStart->click();
        SetErrorSink({});
        QCOMPARE(errors.size(), 1);
        QVERIFY(!ui.chkAutoStart->isChecked());
        qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_MAIN(TstMemoPage)
#include "tst_memopage.moc"
