// The dialog "環境設定": its eight pages, creation, showing and closing, and
// the settings file left byte for byte as it was by loading, unless a value
// had to be corrected. With VN_SHOT_DIR set, each page is saved as a picture.
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "fakeplatform.h"
#include "fakesettingshost.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "schedule/schedulenotifier.h"
#include "scriptedprompts.h"
#include "settings/memopage.h"
#include "settings/referencepage.h"
#include "settings/settingsdialog.h"
#include "settings/storedsettings.h"
#include "tempdatafolder.h"
#include "ui_memopage.h"
#include "ui_referencepage.h"
#include "ui_settingsdialog.h"
#include "widgets/colorref.h"
#include "windowshot.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace vn;
using namespace vn::test;

namespace {

// A settings file as a user may have edited it: comments, blank lines, odd
// letter case, hexadecimal values, keys in an unusual order, Shift-JIS text.
const char* const kEdited =
    "; Velnote settings\r\n"
    "[ShowVnote]\r\nCount=5\r\n\r\n"
    "[pausekey]\r\nSS=2\r\nKind=3\r\n"
    "[Separation]\r\nMark=＝＝＝＝\r\nBefor=1\r\nAfter=0\r\n"
    "[Format]\r\nDate=gge年m月d日(aaa)\r\nDateTime=yyyymmddhhnnss\r\n"
    "[MultiLine]\r\nMemo=1\r\n[WordWrap]\r\nMemo=1\r\nRef=0\r\n"
    "[Vnote]\r\nHide=1\r\n"
    "[Schedule]\r\nBalloonHint=0\r\nOldColor=0xC0C0C0\r\n"
    "[Alarm]\r\nTime=$1E\r\n"
    "[Sound]\r\nAlarm=/usr/share/sounds/freedesktop/stereo/bell.oga\r\nSchedulePattern=2\r\n"
    "[BalloonHint]\r\nHHNN=hh時nn分\r\n"
    "[CalendarColor]\r\nSunday=65280\r\nMonth=128\r\n"
    "[CalendarMark]\r\nPastDay=0\r\n[CalendarFram]\r\nDay=1\r\n[Calendar]\r\nFram3D=1\r\n"
    "ShowRoku=0\r\nRokuyou=0\r\nWeekName=0\r\nHintShow=1\r\nTextShadow=1\r\nGradationType=2\r\n"
    "BackManthShow=1\r\n"
    "[WeekNo]\r\nMin=4\r\nEx=1\r\nMonth=4\r\nDay=1\r\nShow=0\r\n"
    "[CalendarOffset]\r\nX=7\r\nY=0\r\n"
    "[CalendarMonth]\r\nFormat=ggee年mm月\r\nNameShow=0\r\nName=0\r\n"
    "[BackUp]\r\nOffset=2\r\nDay=14\r\nTime=3\r\nMax=20\r\nWeekday=5\r\n";

// Text replacements in a settings file.
using Edits = QList<QPair<QString, QString>>;

struct Fixture {
    Fixture()
    {
        auto fake = MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        host.view.resize(191, 300);
        InstallFontSubstitutions();
    }
    ~Fixture() { SetPlatform(nullptr); }
    FakeClock clock{EncodeDate(2009, 1, 7) + EncodeTime(10, 0)};
    ScriptedPrompts prompts;
    FakeSettingsHost host;
};

} // namespace

class TstSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void pagesInTheirOrder()
    {
        TempDataFolder dir;
        Fixture f;
        SettingsDialog dialog;
        dialog.Initialize(&f.host);
        QCOMPARE(dialog.objectName(), QStringLiteral("TfrmEnv"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("環境設定"));
        QCOMPARE(dialog.size(), QSize(674, 534));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const QList<QPair<QString, QString>> pages = {
            {"TabSheet1", "メモ"},           {"TabSheet2", "参照ファイル"},
            {"TabSheet3", "カレンダー"},     {"TabSheet5", "予定"},
            {"TabSheet6", "バルーンヒント"}, {"TabSheet7", "データ・バックアップ"},
            {"TabSheet4", "バージョン情報"}, {"TabSheetSync", "同期"},
        };
        QTabWidget* tabs = dialog.pageControl();
        QCOMPARE(tabs->objectName(), QStringLiteral("PageControl1"));
        QCOMPARE(tabs->count(), pages.size());
        for (int i = 0; i < pages.size(); ++i) {
            QCOMPARE(tabs->widget(i)->objectName(), pages[i].first);
            QCOMPARE(tabs->tabText(i), pages[i].second);
            QCOMPARE(dialog.page(SettingsDialog::Page(i)), tabs->widget(i));
        }
        QCOMPARE(tabs->currentIndex(), 0);
        auto* close = dialog.findChild<QPushButton*>("cmdClose");
        QCOMPARE(close->text(), QStringLiteral("閉じる"));
        QVERIFY(close->isDefault());

        // The dialog shows the page last shown; "閉じる" closes it.
        dialog.show();
        tabs->setCurrentIndex(2);
        close->click();
        QVERIFY(!dialog.isVisible());
        dialog.show();
        QCOMPARE(tabs->currentIndex(), 2);
        dialog.reject();
    }

    void loadingLeavesTheFileAsItWas()
    {
        TempDataFolder dir;
        Fixture f;
        dir.writeBytes("Vnote.ini", Sjis(QString::fromUtf8(kEdited)));
        const QByteArray before = dir.readBytes("Vnote.ini");
        f.host.pageCount = 5;
        f.host.multiLine = true;
        f.host.wrap = true;
        SettingsDialog dialog;
        dialog.Initialize(&f.host);
        dialog.show();
        QCOMPARE(dir.readBytes("Vnote.ini"), before);
        dialog.accept(); // closing writes only what changed: nothing
        QCOMPARE(dir.readBytes("Vnote.ini"), before);
        dialog.show();
        dialog.reject();
        QCOMPARE(dir.readBytes("Vnote.ini"), before);

        // And the values did reach the program and the controls.
        QCOMPARE(f.host.kinds, QList<int>({3}));
        QCOMPARE(f.host.interval, 2);
        QCOMPARE(f.host.separator, QStringLiteral("＝＝＝＝"));
        QCOMPARE(f.host.dateFormat, QStringLiteral("gge年m月d日(aaa)"));
        QCOMPARE(f.host.balloonFormat, QStringLiteral("hh時nn分"));
        QVERIFY(f.host.view.Flag(CalFlag::WeekNoEx));
        QCOMPARE(f.host.view.OffsetX(), 7);
        QCOMPARE(f.host.view.GradationDirection(), Gradation::None);
        QCOMPARE(dialog.soundPattern()->pattern(), 3);
        QCOMPARE(dialog.memoPage()->form().txtShowCount->value(), 5);
    }

    void onlyCorrectedValuesAreWritten()
    {
        TempDataFolder dir;
        Fixture f;
        const QString edited = QString::fromUtf8(kEdited);
        QString wrong = edited;
        const QList<QPair<QString, QString>> corrections = {
            {"SS=2", "SS=5"},   {"Kind=3", "Kind=7"},  {"X=7", "X=12"},
            {"Min=4", "Min=9"}, {"Max=20", "Max=200"}, {"SchedulePattern=2", "SchedulePattern=4"},
        };
        for (const auto& [good, bad] : corrections)
            wrong.replace(good, bad);
        dir.writeBytes("Vnote.ini", Sjis(wrong));
        f.host.pageCount = 5; // the main window's values, as loaded from the file
        f.host.multiLine = true;
        f.host.wrap = true;
        SettingsDialog dialog;
        dialog.Initialize(&f.host);
        dialog.show();
        dialog.accept();
        QString expected = edited;
        const QList<QPair<QString, QString>> written = {
            {"SS=2", "SS=1"},   {"Kind=3", "Kind=1"}, {"X=7", "X=5"},
            {"Min=4", "Min=3"}, {"Max=20", "Max=99"}, {"SchedulePattern=2", "SchedulePattern=0"},
        };
        for (const auto& [good, fixed] : written)
            expected.replace(good, fixed);
        // Line by line first, for a readable message.
        QCOMPARE(FromSjis(dir.readBytes("Vnote.ini")).split("\r\n"), expected.split("\r\n"));
        QCOMPARE(dir.readBytes("Vnote.ini"), Sjis(expected));
    }

    // The dialog is made only when first opened: the start stores the
    // corrections its creation would, byte for byte, and nothing else; the
    // notifier's pattern until then is the one the dialog would check.
    void theStartCorrectsWhatTheCreationWould_data()
    {
        QTest::addColumn<Edits>("edits");
        QTest::newRow("nothing to correct") << Edits{};
        QTest::newRow("out of range") << Edits{{"Hide=1", "Hide=7"},
                                               {"SS=2", "SS=5"},
                                               {"Kind=3", "Kind=7"},
                                               {"BalloonHint=0", "BalloonHint=5"},
                                               {"Time=$1E", "Time=999"},
                                               {"Max=20", "Max=200"},
                                               {"SchedulePattern=2", "SchedulePattern=4"}};
        QTest::newRow("below range") << Edits{{"SS=2", "SS=0"},
                                              {"Kind=3", "Kind=-1"},
                                              {"Time=$1E", "Time=-5"},
                                              {"Max=20", "Max=2"},
                                              {"SchedulePattern=2", "SchedulePattern=-1"}};
        QTest::newRow("pattern 2, a value corrected only when shown")
            << Edits{{"SchedulePattern=2", "SchedulePattern=1"}, {"X=7", "X=12"}};
        QTest::newRow("keys missing") << Edits{{"Hide=1\r\n", ""},
                                               {"SS=2\r\n", ""},
                                               {"Max=20\r\n", ""},
                                               {"SchedulePattern=2\r\n", ""}};
    }
    void theStartCorrectsWhatTheCreationWould()
    {
        QFETCH(Edits, edits);
        TempDataFolder dir;
        Fixture f;
        QString text = QString::fromUtf8(kEdited);
        for (const auto& [from, to] : edits)
            text.replace(from, to);
        dir.writeBytes("Vnote.ini", Sjis(text));
        CorrectStoredSettings();
        const QByteArray atStart = dir.readBytes("Vnote.ini");
        const int pattern = StoredSchedulePattern();
        if (edits.isEmpty())
            QCOMPARE(atStart, Sjis(text));

        dir.writeBytes("Vnote.ini", Sjis(text));
        f.host.pageCount = 5;
        SettingsDialog dialog;
        dialog.Initialize(&f.host);
        QCOMPARE(FromSjis(atStart).split("\r\n"),
                 FromSjis(dir.readBytes("Vnote.ini")).split("\r\n"));
        QCOMPARE(atStart, dir.readBytes("Vnote.ini"));
        QCOMPARE(pattern, dialog.soundPattern()->pattern());
        // Corrected once, there is nothing left to correct.
        CorrectStoredSettings();
        QCOMPARE(dir.readBytes("Vnote.ini"), atStart);
    }

    void closingWritesTheSeparatorAndPageCount()
    {
        TempDataFolder dir;
        Fixture f;
        SettingsDialog dialog;
        dialog.Initialize(&f.host);
        dialog.show();
        const auto& memo = dialog.memoPage()->form();
        memo.txtShowCount->setValue(9);
        memo.txtSepa->setText(QStringLiteral("―――"));
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 3);
        dialog.reject(); // Escape or the close box close as "閉じる" does
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 9);
        QCOMPARE(ReadSettingStr(REG_EnvSeparationMark), QStringLiteral("―――"));
        QCOMPARE(f.host.separator, QStringLiteral("―――"));
    }

    void pictures()
    {
        TempDataFolder dir;
        Fixture f;
        dir.writeBytes("Vnote.ini", Sjis(QString::fromUtf8(kEdited)));
        QDir().mkpath(dir.file("BackUp/20090105_120000"));
        QDir().mkpath(dir.file("BackUp/20090106_093012_Velnote"));
        f.host.pageCount = 5;
        f.host.multiLine = true;
        f.host.wrap = true;
        f.host.uptimeTexts = ComputeUptimeTexts(Now(), qint64(49) * 3600000 + 3 * 60000);
        SettingsDialog dialog;
        dialog.setProgramVersion(QStringLiteral("0.1"));
        dialog.Initialize(&f.host);
        dialog.show();
        const QStringList names = {"memo",    "reference", "calendar", "schedule",
                                   "balloon", "backup",    "version"};
        for (int i = 0; i < names.size(); ++i) {
            dialog.pageControl()->setCurrentIndex(i);
            SaveWindowShot(&dialog, QStringLiteral("settings_%1_%2").arg(i + 1).arg(names[i]));
            // Nothing is cut off: every page fits the fixed dialog.
            QWidget* page = dialog.pageControl()->widget(i);
            QVERIFY2(page->minimumSizeHint().height() <= page->height(), qPrintable(names[i]));
            QVERIFY2(page->minimumSizeHint().width() <= page->width(), qPrintable(names[i]));
            // A page first measured when its tab is selected fills the same
            // place, and each of its controls has been given room.
            QVERIFY2(page->minimumSizeHint().isValid(), qPrintable(names[i]));
            QCOMPARE(page->geometry(), dialog.pageControl()->widget(0)->geometry());
            for (QWidget* w : page->findChildren<QWidget*>())
                if (w->isVisible())
                    QVERIFY2(!w->size().isEmpty(), qPrintable(names[i] + w->objectName()));
        }
        QVERIFY(dialog.referencePage()->form().txtRefSample->toPlainText().contains(
            QStringLiteral("あいうえお")));
        dialog.reject();
    }
};

QTEST_MAIN(TstSettingsDialog)
#include "tst_settingsdialog.moc"
