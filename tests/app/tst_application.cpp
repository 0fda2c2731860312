// The thirteen windows of the program, created as the program starts.
#include "app/application.h"
#include "app/firstpaintprobe.h"
#include "calendar/ui/calendarview.h"
#include "calendar/ui/holidayeditor.h"
#include "calendar/ui/holidaylistwindow.h"
#include "fakeclock.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "modal.h"
#include "schedule/ui/balloonhintlistwindow.h"
#include "schedule/ui/scheduleeditor.h"
#include "schedule/ui/schedulelistwindow.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "ui_holidayeditor.h"
#include "ui_scheduleeditor.h"
#include "widgets/listwindow.h"
#include "workspace/calendarpanel.h"
#include "workspace/schedulealerts.h"

#include "foundation/apperror.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <csignal>
#include <ctime>
#include <sys/resource.h>
#include <utime.h>

using namespace vn;
using namespace vn::test;

class TstApplication : public QObject {
    Q_OBJECT
private slots:
    void thirteenWindowsInTheirOrder()
    {
        auto fake = test::MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        dir.writeBytes("BalloonHint.dat", "1,1200,lunch\r\n");
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        // The balloon hints are read at creation, into the one store the
        // list window edits and the minute check asks.
        QVERIFY(w.balloonHints);
        QCOMPARE(w.balloonHints->BalloonHintAt("12:00").message, QStringLiteral("lunch"));
        QCOMPARE(static_cast<BalloonHintListWindow*>(w.balloonHintList)->store(),
                 w.balloonHints.get());
        QCOMPARE(&w.memo->scheduleAlerts()->balloonHints(), w.balloonHints.get());
        QVERIFY(!App().timersQuiet); // all made, the quiet start is over
        QCOMPARE(w.memo->windowTitle(), QStringLiteral("Velnote"));
        const QList<QPair<QString, QString>> expected = {
            {"TfrmDateTime", "PC起動実績"},
            {"TfrmTerm", "表示期間"},
            {"TfrmScheduleList", "予定一覧"},
            {"TfrmSchedule", "新規予定の登録"},
            {"TfrmHolidayList", "休日一覧"},
            {"TfrmHoliday", "新規休日の登録"},
            {"TfrmBalloonHint", "バルーンヒントの新規登録"},
            {"TfrmBalloonHintList",
             "バルーンヒント一覧　(毎日、決まった時間にメッセージ？を表示）"},
            {"TfrmSearch", "文字列検索"},
            {"TfrmBackUpMemo", "バックアップされたメモ情報からの復元"},
            {"TfrmEnv", "環境設定"},
            {"TfrmBackUpInfo", "データ・バックアップの補足説明"},
        };
        QList<QDialog*> dialogs;
        for (QObject* child : w.memo->children())
            if (auto* d = qobject_cast<QDialog*>(child))
                dialogs.append(d);
        QCOMPARE(dialogs.size(), expected.size());
        for (int i = 0; i < dialogs.size(); ++i) {
            QCOMPARE(dialogs[i]->objectName(), expected[i].first);
            QCOMPARE(dialogs[i]->windowTitle(), expected[i].second);
            QVERIFY(!dialogs[i]->isVisible());
        }
        QVERIFY(!w.memo->isVisible());
        w.memo.reset();
        SetPlatform(nullptr);
    }

    // The windows the first sight does not need are made after the first
    // paint: once, never before it, and in time when no paint comes.
    void workAfterTheFirstPaint_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("painted");
        QTest::newRow("painted") << true << true;
        QTest::newRow("shown, never painted") << true << false;
        QTest::newRow("started hidden") << false << false;
    }
    void workAfterTheFirstPaint()
    {
        QFETCH(bool, shown);
        QFETCH(bool, painted);
        QWidget window;
        int runs = 0;
        AfterFirstPaint(
            &window, shown, [&] { ++runs; }, 300);
        QCOMPARE(runs, 0); // never inside the call
        if (painted) {
            QPaintEvent paint(QRect(0, 0, 10, 10));
            QCoreApplication::sendEvent(&window, &paint);
            QCoreApplication::sendEvent(&window, &paint);
            QCOMPARE(runs, 0);                       // not inside the paint either
            QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 200); // the next turn, before the fallback
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(runs, 1, shown ? 2000 : 200);
        }
        QTest::qWait(400); // past the fallback: still once
        QCOMPARE(runs, 1);
    }

    void startUpIgnoresTheFileSizeSignalAndClearsStaleTemporaryFiles()
    {
        TempDataFolder dir;
        ::signal(SIGXFSZ, SIG_DFL);
        dir.writeBytes(".Vnote.ini.AbC123", "left by a kill");
        dir.writeBytes(".mine.txt.AbC123", "not ours");
        const struct utimbuf old = {time_t(1000), time_t(1000)};
        for (const char* name : {".Vnote.ini.AbC123", ".mine.txt.AbC123"})
            ::utime(QFile::encodeName(dir.file(name)).constData(), &old);
        StartUpHousekeeping(std::time(nullptr));
        QVERIFY(!dir.exists(".Vnote.ini.AbC123"));
        QVERIFY(dir.exists(".mine.txt.AbC123"));

        // Past the file-size limit a write fails like a full disk; the process
        // lives on, and neither the old file nor a temporary file is changed.
        struct sigaction sa = {};
        ::sigaction(SIGXFSZ, nullptr, &sa);
        QVERIFY(sa.sa_handler == SIG_IGN);
        WriteEditText(dir.file("Vnote.vnm"), QStringLiteral("old"));
        struct rlimit saved;
        ::getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit small = saved;
        small.rlim_cur = 1024;
        ::setrlimit(RLIMIT_FSIZE, &small);
        bool failed = false;
        try {
            WriteEditText(dir.file("Vnote.vnm"), QString(5000, u'x'));
        } catch (const AppError&) {
            failed = true;
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(failed);
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("old"));
        QVERIFY(QDir(dir.path()).entryList({".Vnote.vnm.*"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    // The lists and the editor from the main window's calendar: a double
    // click on a day stores into the calendar at once; after the holiday
    // list closes the calendar knows the new holiday; the schedule list's
    // month ends step off the calendar's holidays.
    void listsAndTheCalendar()
    {
        auto fake = test::MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2008, 5, 1) + EncodeTime(10, 0));
        ScriptedPrompts prompts;
        dir.writeBytes("Schedule.dat", "200805010900,00,0,1,3,20081231,month end\r\n");
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        CalendarPanel* panel = w.memo->calendarPanel();
        CalendarView* view = panel->view();
        panel->ReloadHolidays();

        auto* holidayList = static_cast<HolidayListWindow*>(w.holidayList);
        auto* holidayEditor = static_cast<HolidayEditor*>(w.holiday);
        WhenShown(holidayList, [&] {
            for (const auto& [day, name] : {std::pair{6, "Test day"}, std::pair{31, "Last"}}) {
                WhenShown(holidayEditor, [&, day = day, name = name] {
                    const auto& ui = holidayEditor->form();
                    ui.spinMM->setValue(5);
                    ui.spinDD->setValue(day);
                    ui.txtName->setText(QString::fromLatin1(name));
                    ui.cmdAdd->click();
                });
                holidayList->button(HolidayListWindow::Command::Add)->click();
            }
            holidayList->close();
        });
        panel->button(CalendarButton::HolidayList)->click();
        QCOMPARE(ReadLines(HolidayPath()),
                 QStringList({"0506,2008,2008,Test day", "0531,2008,2008,Last"}));
        QCOMPARE(view->core().HolidayName(EncodeDate(2008, 5, 6)), QStringLiteral("Test day"));
        QCOMPARE(view->core().HolidayName(EncodeDate(2008, 5, 7)), QStringLiteral("振替休日"));

        auto* editor = static_cast<ScheduleEditor*>(w.schedule);
        WhenShown(editor, [&] {
            QCOMPARE(editor->mode(), ScheduleEditor::Mode::Calendar);
            TypeText(editor->form().txtName, QStringLiteral("会議"));
            QTest::keyClick(editor->form().txtName, Qt::Key_Return);
        });
        emit view->dayDoubleClicked(EncodeDate(2008, 5, 20));
        QCOMPARE(view->schedules().ScheduleCountOn(2008, 5, 20), 1);
        QCOMPARE(ReadLines(SchedulePath()).last(),
                 QStringLiteral("200805201000,10,0,0,0,20080520,会議"));

        auto* scheduleList = static_cast<ScheduleListWindow*>(w.scheduleList);
        QString nearest;
        WhenShown(scheduleList, [&] {
            const ListGrid* g = scheduleList->grid();
            for (int r = 0; r < g->rowCount(); ++r)
                if (g->text(r, ScheduleListWindow::Text) == u"month end")
                    nearest = g->text(r, ScheduleListWindow::Nearest);
            scheduleList->close();
        });
        panel->button(CalendarButton::ScheduleList)->click();
        QCOMPARE(nearest, QStringLiteral("2008/05/30(金) 09:00"));
        QVERIFY(prompts.errors.isEmpty());
        w.memo.reset();
        SetPlatform(nullptr);
    }

    // A list whose file has become a folder cannot save: the close says so
    // and always lets the user go (with the rows on the clipboard, without,
    // or back to the list); the rows stay for the next opening; the folder
    // is left as it is. At the end of the session nothing is asked.
    void aListThatCannotSaveStillCloses_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("rowText");
        QTest::addColumn<QList<BoxAnswer>>("answers"); // empty: the session ends
        const QList<std::tuple<int, const char*, QByteArray, const char*>> lists = {
            {0, "Schedule.dat", "200805010900,00,0,0,0,20080501,kaigi\r\n", "kaigi"},
            {1, "Holiday.dat", "0506,2008,2008,Test day\r\n", "Test day"},
            {2, "BalloonHint.dat", "1,1200,lunch\r\n", "lunch"},
        };
        const QList<std::pair<const char*, QList<BoxAnswer>>> ways = {
            {"copied", {BoxAnswer::Yes}},
            {"not copied", {BoxAnswer::No}},
            {"back, then closed", {BoxAnswer::Cancel, BoxAnswer::No}},
            {"session end", {}},
        };
        for (const auto& [list, file, line, text] : lists)
            for (const auto& [way, answers] : ways)
                QTest::addRow("%s, %s", file, way) << list << QString::fromLatin1(file) << line
                                                   << QString::fromLatin1(text) << answers;
    }
    void aListThatCannotSaveStillCloses()
    {
        QFETCH(int, list);
        QFETCH(QString, file);
        QFETCH(QByteArray, line);
        QFETCH(QString, rowText);
        QFETCH(QList<BoxAnswer>, answers);
        auto fake = test::MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2008, 5, 1) + EncodeTime(10, 0));
        ScriptedPrompts prompts;
        dir.writeBytes(file, line);
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        auto* window = static_cast<ListWindow*>(
            QList<QDialog*>{w.scheduleList, w.holidayList, w.balloonHintList}[list]);
        QGuiApplication::clipboard()->clear();
        bool openAfterBack = false;
        WhenShown(window, [&] {
            QVERIFY(QFile::remove(dir.file(file)));
            QVERIFY(QDir(dir.path()).mkdir(file));
            // A second copy of the row: an unchanged list would not be written.
            QVariantList copy;
            for (int c = 0; c < window->grid()->columnCount(); ++c)
                copy << window->grid()->cell(0, c);
            window->grid()->addRow(copy);
            prompts.answers = answers;
            App().sessionEnding = answers.isEmpty();
            window->close();
            if (answers.value(0) == BoxAnswer::Cancel) {
                openAfterBack = window->isVisible();
                window->close();
            }
        });
        window->exec();
        QVERIFY(!window->isVisible());
        QVERIFY(QFileInfo(dir.file(file)).isDir());
        QVERIFY(!prompts.errors.isEmpty() || !prompts.boxes.isEmpty()); // told
        QCOMPARE(prompts.boxes.size(), answers.size()); // asked once a close, or not at all
        QCOMPARE(openAfterBack, answers.value(0) == BoxAnswer::Cancel);
        QCOMPARE(QGuiApplication::clipboard()->text().contains(rowText),
                 answers.value(0) == BoxAnswer::Yes);
        if (!answers.isEmpty()) { // opened again, it shows the rows it could not write
            int rows = 0;
            WhenShown(window, [&] {
                QCoreApplication::processEvents();
                rows = window->grid()->rowCount();
                prompts.answers = {BoxAnswer::No};
                window->close();
            });
            window->exec();
            QCOMPARE(rows, 2);
            QVERIFY(!window->isVisible());
        }
        w.memo.reset();
        SetPlatform(nullptr);
    }

    // The calendar, the schedule list and the calendar again after the list
    // closed all read Schedule.dat: its unreadable line is told once, a new
    // fault is told, and a fault that comes back after a clean load is told
    // again.
    void anUnreadableLineIsToldOnce()
    {
        auto fake = test::MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2008, 5, 1) + EncodeTime(10, 0));
        ScriptedPrompts prompts;
        const QByteArray good = "200805010900,00,0,0,0,20080501,a\r\n";
        dir.writeBytes("Schedule.dat", good + "broken\r\n" + good);
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        CalendarPanel* panel = w.memo->calendarPanel();
        panel->ReloadSchedules();
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors[0].contains(QStringLiteral("2 行目")));

        auto* scheduleList = static_cast<ScheduleListWindow*>(w.scheduleList);
        int rows = 0;
        WhenShown(scheduleList, [&] {
            rows = scheduleList->grid()->rowCount();
            QCoreApplication::processEvents(); // a report the opening posted
            scheduleList->close();
        });
        panel->button(CalendarButton::ScheduleList)->click(); // the list, then a reload
        QCOMPARE(rows, 2);
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(dir.readBytes("Schedule.dat"), good + "broken\r\n" + good);

        // A schedule stored from the calendar sorts the file: the line moves
        // to the end, and is the same fault.
        auto* editor = static_cast<ScheduleEditor*>(w.schedule);
        WhenShown(editor, [&] {
            TypeText(editor->form().txtName, QStringLiteral("new"));
            QTest::keyClick(editor->form().txtName, Qt::Key_Return);
        });
        emit panel->view()->dayDoubleClicked(EncodeDate(2008, 5, 20));
        QCOMPARE(ReadLines(SchedulePath()).last(), QStringLiteral("broken"));
        QCOMPARE(prompts.errors.size(), 1);

        dir.writeBytes("Schedule.dat", good + "broken\r\nbroken too\r\n");
        panel->ReloadSchedules();
        QCOMPARE(prompts.errors.size(), 2);
        QVERIFY(prompts.errors[1].contains(QStringLiteral("2, 3 行目")));
        dir.writeBytes("Schedule.dat", good);
        panel->ReloadSchedules();
        dir.writeBytes("Schedule.dat", good + "broken\r\nbroken too\r\n");
        panel->ReloadSchedules();
        QCOMPARE(prompts.errors.size(), 3);
        w.memo.reset();
        SetPlatform(nullptr);
    }

    // The help that "?" opens speaks of every window by its caption, of
    // every button of the two tool bars by its hint, and of every page of
    // the settings dialog: a window added without a word there fails here.
    void theHelpCoversEveryWindow()
    {
        QFile file(QStringLiteral(VN_HELP_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString help =
            QString::fromUtf8(file.readAll()).replace(QStringLiteral("&amp;"), "&");
        auto fake = test::MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        QStringList missing;
        auto need = [&](const QString& text) {
            if (!text.isEmpty() && !help.contains(text))
                missing.append(text);
        };
        need(w.memo->windowTitle());
        for (QObject* child : w.memo->children())
            if (auto* d = qobject_cast<QDialog*>(child))
                need(d->windowTitle());
        const QList<QToolButton*> buttons = w.memo->findChildren<QToolButton*>();
        QVERIFY(buttons.size() > 20);
        for (QToolButton* b : buttons)
            if (b->parentWidget() && b->parentWidget()->objectName().startsWith("ToolBar"))
                need(b->toolTip());
        const QList<QTabWidget*> tabs = w.env->findChildren<QTabWidget*>();
        QVERIFY(!tabs.isEmpty());
        for (int i = 0; i < tabs[0]->count(); ++i)
            need(tabs[0]->tabText(i));
        // The files of the data folder, each said what it holds.
        for (const QString& path :
             {SettingsFilePath(), PageFilePath(0), PageFilePath(29), SchedulePath(), HolidayPath(),
              BalloonHintPath(), AppPathWithExtension(QStringLiteral(".vdt")), DiaryFolder(),
              BackUpFolder()})
            need(QFileInfo(path).fileName());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(" / "))));
        w.memo.reset();
        SetPlatform(nullptr);
    }
};

QTEST_MAIN(TstApplication)
#include "tst_application.moc"
