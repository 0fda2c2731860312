// What the subsystem windows see of the main window: the restore window
// stores pages through the main window's pages, the run-record window shows
// the main window's holidays and schedules as they are now, and so do the
// date fields' drop-down calendars; the running jobs
// show the uptime in the tray's tooltip and the main window's caption. A
// click that needs a window not made yet reaches it.
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

    // The windows are made one per turn after the first paint; a click on
    // a button (or a command key) before any is made makes them all and
    // then opens its window: never a lost click.
    void aClickBeforeTheWindowsAreMadeReachesItsWindow_data()
    {
        QTest::addColumn<QString>("button"); // empty: the key
        QTest::addColumn<QString>("window");
        QTest::newRow("環境設定") << "ToolButton1"
                                  << "TfrmEnv";
        QTest::newRow("文字列検索") << "ToolButton30"
                                    << "TfrmSearch";
        QTest::newRow("バルーンヒント一覧") << "ToolButton28"
                                            << "TfrmBalloonHintList";
        QTest::newRow("PC起動実績") << "ToolButton18"
                                    << "TfrmDateTime";
        QTest::newRow("予定一覧 (calendar)") << "ToolButton24"
                                             << "TfrmScheduleList";
        QTest::newRow("休日一覧 (calendar)") << "ToolButton25"
                                             << "TfrmHolidayList";
        QTest::newRow("Ctrl+F in a page") << ""
                                          << "TfrmSearch";
    }
    void aClickBeforeTheWindowsAreMadeReachesItsWindow()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        CreateMainWindow(w_);
        MainWindow* main = w_.memo.get();
        auto* tray = new TrayController(main);
        BackgroundJobs* jobs = StartBackgroundJobs(main);
        // Not started: no turn has made a window yet.
        auto* staged = new StagedWork(ProgramWindowPieces(w_, tray, jobs), main);
        main->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(!w_.dateTime && !w_.env);
        // The modal window that opens, closed again.
        QString opened;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            }
        });
        poll.start(5);
        if (button.isEmpty()) {
            QPlainTextEdit* page = main->pages()->editor(0);
            main->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(main));
            page->setFocus();
            QTest::keyClick(page, Qt::Key_F, Qt::ControlModifier);
        } else {
            auto* b = main->findChild<QToolButton*>(button);
            QVERIFY(b);
            QTest::mouseClick(b, Qt::LeftButton);
        }
        QCOMPARE(opened, window);
        QVERIFY(staged->finished());
        QVERIFY(w_.env && w_.backUpInfo); // all made and wired, not only the one clicked
        jobs->finish();
    }

private:
    test::FakeTrayIcon* tray_ = nullptr;
    std::unique_ptr<TempDataFolder> dir_;
    Windows w_;
};

QTEST_MAIN(TstWindowWiring)
#include "tst_windowwiring.moc"
