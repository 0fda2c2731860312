// The settings dialog wired to the real main window: what each control
// belongs to changes (page count and tabs, tab rows, the show/hide key
// through the platform, reference fonts and colours on all ten pages, the
// separator, balloon-hint times, the calendar), the notifier plays the
// chosen schedule-time pattern, the backup page opens the restore and
// explanation windows, and the uptime of a PC up for 60 days.
#include "app/application.h"
#include "app/backgroundjobs.h"
#include "app/secondarywindows.h"
#include "app/settingswiring.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "foundation/settings.h"
#include "modal.h"
#include "schedule/scheduleline.h"
#include "scriptedprompts.h"
#include "settings/backuppage.h"
#include "settings/calendarpage.h"
#include "settings/memopage.h"
#include "settings/referencepage.h"
#include "settings/schedulepage.h"
#include "settings/settingsdialog.h"
#include "settings/versionpage.h"
#include "tempdatafolder.h"
#include "ui_backuppage.h"
#include "ui_calendarpage.h"
#include "ui_memopage.h"
#include "ui_referencepage.h"
#include "ui_schedulepage.h"
#include "ui_versionpage.h"
#include "widgets/colorref.h"
#include "workspace/calendarpanel.h"
#include "workspace/maintoolbar.h"
#include "workspace/memopagesview.h"
#include "workspace/pagecommands.h"
#include "workspace/referencearea.h"
#include "workspace/traycontroller.h"
#include "workspace/workspacesettings.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

using namespace vn;
using namespace vn::test;

namespace {

// The program as it runs: windows, tray, jobs and the wired dialog.
struct Program {
    explicit Program(qint64 msecsSinceBoot = 3600000)
    {
        App() = AppState{};
        CreateWindows(w);
        tray = new TrayController(w.memo.get());
        BackgroundJobs::Hooks hooks;
        hooks.pageText = [this](int page) { return w.memo->pages()->pageText(page); };
        hooks.showUptime = [this](const QString& text) {
            w.memo->setWindowTitle(CaptionWithUptime(text));
        };
        hooks.msecsSinceBoot = [msecsSinceBoot] { return msecsSinceBoot; };
        jobs = std::make_unique<BackgroundJobs>(hooks);
        ConnectSettingsDialog(w, tray, jobs.get());
        dialog = static_cast<SettingsDialog*>(w.env);
        w.memo->ShowMainWindow();
    }
    ~Program()
    {
        jobs.reset();
        w.memo.reset();
        App() = AppState{};
    }
    // The toolbar button "環境設定...": the dialog, and what the main window
    // applies when it has closed.
    void openSettings(std::function<void()> act)
    {
        WhenShown(dialog, [this, act] {
            act();
            dialog->accept();
        });
        w.memo->mainToolBar()->button(MainToolBar::Command::Settings)->click();
    }
    Windows w;
    TrayController* tray = nullptr;
    std::unique_ptr<BackgroundJobs> jobs;
    SettingsDialog* dialog = nullptr;
};

} // namespace

class TstSettingsWiring : public QObject {
    Q_OBJECT
private:
    // Schedule.dat with one schedule: 2026/05/20 9:00 "会議".
    static void writeMeetingAtNine(TempDataFolder& dir)
    {
        ScheduleFields f;
        f.year = f.lastYear = 2026;
        f.month = f.lastMonth = 5;
        f.day = f.lastDay = 20;
        f.hour = 9;
        f.text = QStringLiteral("会議");
        dir.writeBytes("Schedule.dat", Sjis(ComposeScheduleLine(f) + "\r\n"));
    }

private slots:
    void init()
    {
        fake_ = MakeFakePlatform();
        SetPlatform(std::move(fake_.platform));
    }
    void cleanup() { SetPlatform(nullptr); }

    void memoPageReachesTheMainWindow()
    {
        TempDataFolder dir;
        ScriptedPrompts prompts;
        Program p;
        MemoPagesView* pages = p.w.memo->pages();
        QCOMPARE(pages->shownPageCount(), 3);
        // The dialog's creation registered the key (Pause, once).
        QCOMPARE(fake_.hotKey->registrations, QList<HotKey>({HotKey::Pause}));

        const auto& ui = p.dialog->memoPage()->form();
        p.openSettings([&] {
            ui.txtShowCount->setValue(6);
            QCOMPARE(Workspace().shownPageCount, 6); // at once
            ui.chkMultiLineMemo->click();
            QVERIFY(!pages->tabBar()->usesScrollButtons()); // rows change at once
            // Each row re-registers the key through the platform.
            const QList<QPair<QRadioButton*, HotKey>> rows = {{ui.rdoPause3Shift, HotKey::Shift},
                                                              {ui.rdoPause4Ctrl, HotKey::Ctrl},
                                                              {ui.rdoPause0, HotKey::Pause},
                                                              {ui.rdoPause2, HotKey::Pause},
                                                              {ui.rdoPause1, HotKey::Pause}};
            for (const auto& [button, key] : rows) {
                const int unregistered = fake_.hotKey->unregisterCount;
                button->click();
                QCOMPARE(fake_.hotKey->current, key);
                QCOMPARE(fake_.hotKey->unregisterCount, unregistered + 1);
                QCOMPARE(p.tray->gesture().kind(), p.dialog->memoPage()->pauseKind());
            }
            ui.rdoPause3Shift->click();
            ui.txtPause->setValue(3);
            QCOMPARE(p.tray->gesture().intervalSeconds(), 3);
            ui.txtSepa->setText(QStringLiteral("＝＝＝"));
            ui.chkSepaBefor->click();
            ui.cmbDate->setCurrentIndex(ui.cmbDate->findText("yyyy年mm月dd日"));
            ui.chkWordWrapMemo->click();
        });
        // After closing: six tabs, the count written, the wrap applied.
        QCOMPARE(pages->shownPageCount(), 6);
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 6);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(pages->isTabVisible(i), i < 6);
        QCOMPARE(pages->editor(0)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(p.tray->gesture().kind(), 3);
        QCOMPARE(Workspace().dateFormat, QStringLiteral("yyyy年mm月dd日"));
        // The separator command uses the new text.
        pages->setPageText(0, QString());
        pages->selectPage(0);
        p.w.memo->commands()->InsertSeparator();
        QCOMPARE(pages->pageText(0), QStringLiteral("\r\n＝＝＝\r\n"));
    }

    void referencePagesAndCalendar()
    {
        TempDataFolder dir;
        InstallFontSubstitutions();
        ScriptedPrompts prompts;
        Program p;
        ReferenceArea* ref = p.w.memo->reference();
        CalendarView* view = p.w.memo->calendarPanel()->view();
        p.openSettings([&] {
            QFont chosen(QStringLiteral("IPAMincho"), 14);
            Prompts().chooseFont = [&](const QFont&) { return std::optional<QFont>(chosen); };
            p.dialog->referencePage()->form().cmdRefFont->click();
            prompts.colour = QColor(255, 255, 200);
            p.dialog->referencePage()->form().cmdRefBackColor->click();
            for (int i = 0; i < kReferenceCount; ++i) {
                QCOMPARE(ref->editor(i)->font().family(), QStringLiteral("IPAMincho"));
                QCOMPARE(ref->editor(i)->font().pointSize(), 14);
                QCOMPARE(ref->editor(i)->palette().color(QPalette::Base), QColor(255, 255, 200));
            }
            // The calendar of the main window, repainted while the dialog is open.
            p.dialog->pageControl()->setCurrentIndex(2);
            const QImage before = view->RenderNow().copy();
            prompts.colour = QColor(0, 200, 0);
            p.dialog->calendarPage()->form().cmdColor10->click();
            QCOMPARE(view->Color(CalColor::Sunday), quint32(0x00C800));
            QVERIFY(view->RenderNow() != before);
        });
        QCOMPARE(ReadSettingInt(REG_CalendarColorSunday), 0x00C800);
        QCOMPARE(ReadSettingInt(REG_EnvRefBackColor), 0xC8FFFF);
    }

    void scheduleSoundPatternAndBalloonTimes()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2026, 5, 20) + EncodeTime(8, 59, 30));
        ScriptedPrompts prompts;
        writeMeetingAtNine(dir);
        dir.writeBytes("BalloonHint.dat", "1,1730,tea\r\n");
        dir.writeBytes("two.wav", "RIFF");
        WriteSettingStr(REG_SoundSchedule2, dir.file("two.wav"));
        Program p;
        QCOMPARE(p.w.balloonHints->rows().at(0).timeText, QStringLiteral("17:30"));
        p.openSettings([&] {
            p.dialog->schedulePage()->form().rdoWav22->click();
            auto* balloon = p.dialog->findChild<QComboBox*>("cmbBalloonHint");
            balloon->setCurrentIndex(balloon->findText("AM/PM h:n"));
        });
        // The list shows its times in the new pattern.
        QCOMPARE(p.w.balloonHints->rows().at(0).timeText, QStringLiteral("PM 5:30"));
        QCOMPARE(Workspace().balloonTimeFormat, QStringLiteral("AM/PM h:n"));
        // At the schedule's minute the chosen pattern's sound plays.
        clock.set(EncodeDate(2026, 5, 20) + EncodeTime(9, 0, 0));
        fake_.sound->played.clear();
        p.w.memo->tickClock();
        QCOMPARE(fake_.sound->played, QStringList({dir.file("two.wav")}));
    }

    // A schedule due while no window was ever opened: the settings dialog
    // is not made, and the sound is the pattern the file keeps.
    void scheduleSoundBeforeAnyWindowIsMade()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2026, 5, 20) + EncodeTime(8, 59, 30));
        ScriptedPrompts prompts;
        writeMeetingAtNine(dir);
        dir.writeBytes("three.wav", "RIFF");
        dir.writeBytes("Vnote.ini", "[Sound]\r\nSchedulePattern=2\r\n");
        WriteSettingStr(REG_SoundSchedule3, dir.file("three.wav"));
        App() = AppState{};
        Windows w;
        CreateMainWindow(w);
        auto* tray = new TrayController(w.memo.get());
        auto* secondary = new SecondaryWindows(w, tray);
        StartWithoutTheWindows(w);
        QVERIFY(!App().timersQuiet);
        clock.set(EncodeDate(2026, 5, 20) + EncodeTime(9, 0, 0));
        fake_.sound->played.clear();
        w.memo->tickClock();
        QCOMPARE(fake_.sound->played, QStringList({dir.file("three.wav")}));
        QCOMPARE(secondary->madeCount(), 0);
        w.memo.reset();
        App() = AppState{};
    }

    void backUpPageOpensTheRestoreAndInformationWindows()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2026, 5, 20) + EncodeTime(9, 0, 0));
        ScriptedPrompts prompts;
        Program p;
        p.w.memo->pages()->setPageText(0, QStringLiteral("買い物：牛乳"));
        const auto& ui = p.dialog->backUpPage()->form();
        auto* restore = static_cast<RestoreWindow*>(p.w.backUpMemo);
        QStringList generations;
        QString saved;
        bool infoShown = false;
        p.openSettings([&] {
            // A generation by hand holds the page as the editor has it now.
            ui.Button1->click();
            QCOMPARE(prompts.texts(), QStringList({"現在の状態をバックアップしました。"}));
            QCOMPARE(ui.lstBackUpDir->count(), 1);
            WhenShown(restore, [&] {
                for (int i = 0; i < restore->generationList()->count(); ++i)
                    generations << restore->generationList()->item(i)->text();
                saved = restore->backUpView()->toPlainText();
            });
            ui.cmdBackUpRest->click(); // "復元..."
            WhenShown(p.w.backUpInfo, [&] { infoShown = true; });
            ui.cmdBackUpInfo->click();      // "補足説明"
            QVERIFY(p.dialog->isVisible()); // both come back to the dialog
        });
        QCOMPARE(restore->objectName(), QStringLiteral("TfrmBackUpMemo"));
        QCOMPARE(generations, QStringList({ui.lstBackUpDir->item(0)->text()}));
        QCOMPARE(saved, QStringLiteral("買い物：牛乳"));
        QCOMPARE(p.w.backUpInfo->objectName(), QStringLiteral("TfrmBackUpInfo"));
        QVERIFY(infoShown);
    }

    void uptimeOfSixtyDays()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 3, 6) + EncodeTime(12, 0));
        const qint64 day = 86400000;
        Program p(60 * day + 30 * 60000);
        p.jobs->refreshUptime();
        const auto& ui = p.dialog->versionPage()->form();
        QCOMPARE(ui.txtInfo02->text(), QStringLiteral("1440時間30分"));
        QCOMPARE(ui.txtInfo01->text(), QStringLiteral("01月05日(月) 11時30分"));
        QCOMPARE(p.w.memo->windowTitle(),
                 QStringLiteral(
                     "Velnote   →→ PC起動から 1440時間30分 経過  [01月05日(月) 11時30分 起動]"));
        QVERIFY(ui.lblVer->text().startsWith(QStringLiteral("Ver.")));
        QCOMPARE(ui.lblVer->text().count(u'.'), 4);
    }

private:
    FakePlatform fake_;
};

QTEST_MAIN(TstSettingsWiring)
#include "tst_settingswiring.moc"
