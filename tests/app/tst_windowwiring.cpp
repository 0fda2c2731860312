// What the subsystem windows see of the main window: the restore window
// stores pages through the main window's pages, the run-record window shows
// the main window's holidays and schedules as they are now, and so do the
// date fields' drop-down calendars; the running jobs
// show the uptime in the tray's tooltip and the main window's caption. A
// click that needs a window not made yet makes it and reaches it.
#include "app/application.h"
#include "app/backgroundjobs.h"
#include "app/secondarywindows.h"
#include "app/startjobs.h"
#include "app/windowwiring.h"
#include "backup/ui/restorewindow.h"
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "runrecord/runrecord.h"
#include "runrecord/runrecordtable.h"
#include "runrecord/ui/perioddialog.h"
#include "runrecord/ui/runrecordwindow.h"
#include "tempdatafolder.h"
#include "widgets/datepopup.h"
#include "widgets/listgrid.h"
#include "workspace/calendarpanel.h"
#include "workspace/memopagesview.h"
#include "workspace/traycontroller.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vn;
using vn::test::At;
using vn::test::FakeClock;
using vn::test::Sjis;
using vn::test::TempDataFolder;

class TstWindowWiring : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        auto fake = test::MakeFakePlatform();
        tray_ = fake.tray;
        SetPlatform(std::move(fake.platform));
        dir_ = std::make_unique<TempDataFolder>();
        App() = AppState{};
    }
    void cleanup()
    {
        w_.memo.reset();
        w_ = Windows{};
        dir_.reset();
        SetPlatform(nullptr);
    }

    void restoreStoresThroughTheMainWindowsPages()
    {
        dir_->writeBytes("Vnote3.vnm", Sjis(QStringLiteral("保存済み")));
        CreateWindows(w_);
        MemoPagesView* pages = w_.memo->pages();
        pages->setPageText(3, QStringLiteral("未保存の編集")); // not yet in its file
        auto* restore = static_cast<RestoreWindow*>(w_.backUpMemo);
        restore->show();
        restore->currentTabs()->setCurrentIndex(3);
        // The page as it stands, unsaved edits included.
        QCOMPARE(restore->currentEditor()->toPlainText(), QStringLiteral("未保存の編集"));
        restore->currentEditor()->setPlainText(QStringLiteral("一行目\n戻した行"));
        QTest::mouseClick(restore->findChild<QPushButton*>("cmdUpdate"), Qt::LeftButton);
        QCOMPARE(pages->pageText(3), QStringLiteral("一行目\r\n戻した行"));
        QCOMPARE(dir_->readBytes("Vnote3.vnm"), Sjis(QStringLiteral("一行目\r\n戻した行")));
        QVERIFY(QDir(dir_->path()).entryList({".Vnote3*"}, QDir::Hidden | QDir::Files).isEmpty());
        restore->hide();
    }

    void runRecordShowsTheMainWindowsCalendar()
    {
        WriteLines(SchedulePath(), {QStringLiteral("200501050900,00,0,0,0,20050105,新年会")});
        WriteLines(HolidayPath(), {QStringLiteral("0107,2005,2005,創立記念日")});
        CreateWindows(w_);
        CalendarView* main = w_.memo->calendarPanel()->view();
        auto* runRecord = static_cast<RunRecordWindow*>(w_.dateTime);
        const CalendarView* own = runRecord->calendar();
        QCOMPARE(own->ScheduleCountOn(2005, 1, 5), 1);
        QCOMPARE(own->HolidayName(EncodeDate(2005, 1, 7)), QStringLiteral("創立記念日"));
        // Changed in the main window: seen at once, nothing loaded twice.
        WriteLines(SchedulePath(), {QStringLiteral("200501050900,00,0,0,0,20050105,新年会"),
                                    QStringLiteral("200501060900,00,0,0,0,20050106,仕事始め")});
        main->LoadSchedules(SchedulePath());
        QCOMPARE(own->ScheduleCountOn(2005, 1, 6), 1);
        QCOMPARE(own->schedules().ScheduleCountOn(2005, 1, 6), 0); // its own store stays empty
        QCOMPARE(own->ScheduleTextOn(2005, 1, 6), QStringLiteral("09:00  仕事始め\r\n"));
        // The date fields' drop-down calendars mark the main window's holidays.
        auto* term = static_cast<PeriodDialog*>(w_.term);
        for (QDateEdit* field :
             {term->startPicker(), w_.schedule->findChild<QDateEdit*>("dtDate")}) {
            field->setDate(QDate(2005, 1, 20));
            QCalendarWidget* popup = field->findChild<DatePopup*>()->calendar();
            QCOMPARE(popup->dateTextFormat(QDate(2005, 1, 7)).toolTip(),
                     QStringLiteral("創立記念日"));
            QCOMPARE(popup->dateTextFormat(QDate(2005, 1, 10)).toolTip(),
                     QStringLiteral("成人の日"));
        }
    }

    // The jobs run from the start: the uptime text goes to the tray's
    // tooltip and into the main window's caption, every quarter minute
    // unless the program is starting or ending; a new generation shows in
    // the open restore window.
    void jobsShowInTheWindows()
    {
        FakeClock clock(At(2009, 1, 5, 9, 0));
        CreateWindows(w_);
        BackgroundJobs* jobs = StartBackgroundJobs(w_.memo.get());
        // The machine's real uptime: started before the fake clock's day
        // when it has run longer than since midnight.
        const QRegularExpression uptime(
            QStringLiteral("^PC起動から \\d+時間\\d+分 経過  \\[(\\d\\d月\\d\\d日\\(.\\) "
                           ")?\\d\\d時\\d\\d分 起動\\]$"));
        QCOMPARE(tray_->toolTips.size(), 1);
        QVERIFY2(uptime.match(tray_->toolTip).hasMatch(), qPrintable(tray_->toolTip));
        QCOMPARE(w_.memo->windowTitle(), QStringLiteral("Velnote   →→ ") + tray_->toolTip);

        App().timersQuiet = true;
        clock.advanceMSecs(15000);
        QVERIFY(QMetaObject::invokeMethod(jobs->timer(BackgroundJobs::Timer::Quarter), "timeout"));
        QCOMPARE(tray_->toolTips.size(), 1);
        App().timersQuiet = false;
        QVERIFY(QMetaObject::invokeMethod(jobs->timer(BackgroundJobs::Timer::Quarter), "timeout"));
        QCOMPARE(tray_->toolTips.size(), 2);
        QCOMPARE(w_.memo->windowTitle(), QStringLiteral("Velnote   →→ ") + tray_->toolTip);
        // A backup made while the restore window is open shows in its list.
        auto* restore = static_cast<RestoreWindow*>(w_.backUpMemo);
        ConnectJobWindows(w_, jobs);
        restore->show();
        QCOMPARE(restore->generationList()->count(), 0);
        QVERIFY(QMetaObject::invokeMethod(jobs->timer(BackgroundJobs::Timer::CatchUp), "timeout"));
        QCOMPARE(restore->generationList()->count(), 1);
        QCOMPARE(restore->generationList()->currentItem()->text(),
                 QStringLiteral("20090105_090000"));
        restore->hide();
        // The record has the day's start from the first moment.
        QCOMPARE(ReadRunDay(RunRecordPath(), DayNumber(Now())).start, QString::number(9 * 3600000));
        jobs->finish();
    }

    // Nothing is made at the start. The first click on a button, a command
    // key, a double-clicked day or a button of another window makes the
    // window it needs (that one only) and then opens it: never a lost click.
    void aFirstUseMakesItsWindowAndOpensIt_data()
    {
        QTest::addColumn<QString>("how");  // a toolbar button, a key, "day"
        QTest::addColumn<QString>("then"); // a button in the window opened
        QTest::addColumn<QStringList>("opened");
        const QList<std::tuple<const char*, const char*, const char*, QStringList>> rows = {
            {"環境設定", "ToolButton1", "", {"TfrmEnv"}},
            {"文字列検索", "ToolButton30", "", {"TfrmSearch"}},
            {"バルーンヒント一覧", "ToolButton28", "", {"TfrmBalloonHintList"}},
            {"PC起動実績", "ToolButton18", "", {"TfrmDateTime"}},
            {"予定一覧 (calendar)", "ToolButton24", "", {"TfrmScheduleList"}},
            {"休日一覧 (calendar)", "ToolButton25", "", {"TfrmHolidayList"}},
            {"Ctrl+F in a page", "Ctrl+F", "", {"TfrmSearch"}},
            {"F3 in a page, nothing searched yet", "F3", "", {"TfrmSearch"}},
            {"F10, then 環境設定(&O)", "F10 O", "", {"TfrmEnv"}},
            {"F10, then PC起動実績(&J)", "F10 J", "", {"TfrmDateTime"}},
            {"a day double-clicked", "day", "", {"TfrmSchedule"}},
            {"表示期間 from the run record",
             "ToolButton18",
             "ToolButton2",
             {"TfrmDateTime", "TfrmTerm"}},
            {"a new schedule from the list",
             "ToolButton24",
             "ToolButton1",
             {"TfrmScheduleList", "TfrmSchedule"}},
            {"a new holiday from the list",
             "ToolButton25",
             "ToolButton1",
             {"TfrmHolidayList", "TfrmHoliday"}},
            {"a new balloon hint from the list",
             "ToolButton28",
             "ToolButton1",
             {"TfrmBalloonHintList", "TfrmBalloonHint"}},
            {"the restore window from the settings",
             "ToolButton1",
             "cmdBackUpRest",
             {"TfrmEnv", "TfrmBackUpMemo"}},
            {"the backup explanation from the settings",
             "ToolButton1",
             "cmdBackUpInfo",
             {"TfrmEnv", "TfrmBackUpInfo"}},
        };
        for (const auto& [name, how, then, opened] : rows)
            QTest::newRow(name) << QString::fromLatin1(how) << QString::fromLatin1(then) << opened;
    }
    void aFirstUseMakesItsWindowAndOpensIt()
    {
        QFETCH(QString, how);
        QFETCH(QString, then);
        QFETCH(QStringList, opened);
        FakeClock clock(At(2009, 1, 5, 9, 0));
        CreateMainWindow(w_);
        MainWindow* main = w_.memo.get();
        auto* tray = new TrayController(main);
        BackgroundJobs* jobs = StartBackgroundJobs(main);
        auto* secondary = new SecondaryWindows(w_, tray, jobs);
        StartWithoutTheWindows(w_);
        main->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QCOMPARE(secondary->madeCount(), 0);
        // Each modal window that opens, in turn: the button asked for is
        // pressed in the first one (from the next turn, as a user would),
        // and every one is closed again.
        QStringList seen;
        bool pressed = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal)
                return;
            if (!seen.contains(modal->objectName()))
                seen.append(modal->objectName());
            if (!then.isEmpty() && !pressed) {
                pressed = true;
                auto* button = modal->findChild<QAbstractButton*>(then);
                QVERIFY(button);
                QTimer::singleShot(0, button, &QAbstractButton::click);
                return;
            }
            modal->reject();
        });
        poll.start(5);
        QPlainTextEdit* page = main->pages()->editor(0);
        if (how.startsWith("F") || how.startsWith("Ctrl")) {
            main->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(main));
            page->setFocus();
            if (how == "F3") {
                QTest::keyClick(page, Qt::Key_F3);
            } else if (how.startsWith("F10 ")) { // the command menu, then its entry's letter
                QTest::keyClick(page, Qt::Key_F10);
                QTRY_VERIFY(QApplication::activePopupWidget());
                QTest::keyClick(QApplication::activePopupWidget(), how.back().toLatin1());
            } else {
                QTest::keyClick(page, Qt::Key_F, Qt::ControlModifier);
            }
        } else if (how == "day") {
            emit main->calendarPanel()->view()->dayDoubleClicked(EncodeDate(2009, 1, 20));
        } else {
            auto* b = main->findChild<QToolButton*>(how);
            QVERIFY(b);
            QTest::mouseClick(b, Qt::LeftButton);
        }
        QCOMPARE(seen, opened);
        // Those windows made, and only those.
        QCOMPARE(secondary->madeCount(), opened.size());
        // Asked again, the same window.
        const QList<QDialog*> before = main->findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
        secondary->makeAll();
        for (QDialog* d : before)
            QVERIFY(main->findChildren<QDialog*>(Qt::FindDirectChildrenOnly).contains(d));
        QCOMPARE(main->findChildren<QDialog*>(Qt::FindDirectChildrenOnly).size(), 12);
        jobs->finish();
    }

private:
    test::FakeTrayIcon* tray_ = nullptr;
    std::unique_ptr<TempDataFolder> dir_;
    Windows w_;
};

QTEST_MAIN(TstWindowWiring)
#include "tst_windowwiring.moc"
