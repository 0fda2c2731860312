// The main window on the offscreen platform: start-up from a data folder,
// close and exit, keys, the reference area, the tray and error handling.
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "fakeplatform.h"
#include "filepermissions.h"
#include "foundation/apperror.h"
#include "foundation/appstate.h"
#include "foundation/settings.h"
#include "schedule/balloonhints.h"
#include "schedule/schedulestore.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "widgets/errorbox.h"
#include "widgets/soundfile.h"
#include "widgets/uiprompts.h"
#include "workspace/calendarpanel.h"
#include "workspace/clockpanel.h"
#include "workspace/icons/toolicons.h"
#include "workspace/maintoolbar.h"
#include "workspace/mainwindow.h"
#include "workspace/memopagesview.h"
#include "workspace/referencearea.h"
#include "workspace/schedulealerts.h"
#include "workspace/traycontroller.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

class TestMainWindow : public QObject {
    Q_OBJECT
private:
    test::FakePlatform fake_;
    QStringList errors_;

private slots:
    void initTestCase()
    {
        fake_ = test::MakeFakePlatform();
        SetPlatform(std::move(fake_.platform));
        SetErrorSink([this](const QString& t) { errors_.append(t); });
    }

    void init()
    {
        errors_.clear();
        App() = AppState{};
    }

    void startsFromAShiftJisFolder()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", Sjis("[TabName]\r\n01=買い物\r\n[ShowVnote]\r\nCount=5\r\n"));
        dir.writeBytes("Vnote.vnm", Sjis("牛乳\r\n"));
        MainWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Velnote"));
        QVERIFY(App().timersQuiet); // until the search dialog exists
        QCOMPARE(w.pages()->tabText(0), QStringLiteral("買い物"));
        QCOMPARE(w.pages()->pageText(0), QStringLiteral("牛乳\r\n"));
        QCOMPARE(w.pages()->shownPageCount(), 5);
        QCOMPARE(w.statusPanel(5)->text(), QStringLiteral("1 番目のメモを表示中 [買い物]"));
        QVERIFY(dir.exists("Vnote29.vnm")); // missing page files are created empty
        QCOMPARE(dir.readBytes("Vnote.vnm"), Sjis("牛乳\r\n"));
        QCOMPARE(w.mainToolBar()->button(MainToolBar::Command::Search)->toolTip(),
                 QStringLiteral("文字列検索..."));
        QCOMPARE(w.mainToolBar()->button(MainToolBar::Command::RunRecord)->toolTip(),
                 QStringLiteral("PC起動実績..."));
        // The buttons keep their form names, in their order on the bar.
        QStringList names;
        for (int c = 0; c < int(MainToolBar::Command::Count); ++c)
            names.append(w.mainToolBar()->button(MainToolBar::Command(c))->objectName());
        QCOMPARE(names.join(u' '),
                 QStringLiteral("ToolButton1 ToolButton26 ToolButton29 ToolButton30 ToolButton3 "
                                "ToolButton2 ToolButton28 ToolButton31 ToolButton4 ToolButton6 "
                                "ToolButton7 ToolButton8 ToolButton9 ToolButton10 ToolButton11 "
                                "ToolButton12 ToolButton13 ToolButton14 ToolButton15 "
                                "ToolButton18 ToolButton17"));
        names.clear();
        for (int c = 0; c < int(CalendarButton::Count); ++c)
            names.append(w.calendarPanel()->button(CalendarButton(c))->objectName());
        QCOMPARE(names.join(u' '),
                 QStringLiteral("ToolButton32 ToolButton5 ToolButton16 ToolButton20 ToolButton21 "
                                "ToolButton22 ToolButton24 ToolButton25 ToolButton27 "
                                "ToolButton23"));
    }

    // The compiled-in tiles are the build step's drawings, pixel for pixel, at
    // both sizes (raw pixels: a wrong size, stride or byte order shows here).
    void toolBarIconsAreTheDrawnTiles()
    {
        TempDataFolder dir;
        MainWindow w;
        int count = 0;
        const ToolIcon* icons = ToolIcons(&count);
        int compared = 0;
        for (int c = 0; c < int(MainToolBar::Command::Count); ++c) {
            const QToolButton* b = w.mainToolBar()->button(MainToolBar::Command(c));
            for (int i = 0; i < count; ++i) {
                if (b->objectName() != QLatin1String(icons[i].name))
                    continue;
                for (int size : {16, 32}) {
                    const QImage shown = b->icon().pixmap(size).toImage().convertToFormat(
                        QImage::Format_ARGB32_Premultiplied);
                    QCOMPARE(shown, PaintToolIcon(icons[i], size));
                }
                ++compared;
            }
        }
        QCOMPARE(compared, int(MainToolBar::Command::Count));
    }

    void startSurvivesEveryFileError_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("settings file is a folder") << "ini folder";
        QTest::newRow("settings file mode 000") << "ini 000";
        QTest::newRow("read-only data folder") << "read-only";
    }
    void startSurvivesEveryFileError()
    {
        QFETCH(QString, fault);
        TempDataFolder dir;
        test::PermissionsEnforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be enforced here");
        dir.writeBytes("Vnote.vnm", Sjis("牛乳\r\n"));
        dir.writeBytes("ref.txt", "reference");
        const QByteArray ini = "[RefFile]\r\nFileName01=" + dir.file("ref.txt").toUtf8() +
                               "\r\nFileName02=" + dir.file("gone.txt").toUtf8() + "\r\n";
        if (fault == "ini folder") {
            QDir(dir.path()).mkdir("Vnote.ini");
        } else {
            dir.writeBytes("Vnote.ini", ini);
            if (fault == "ini 000")
                QFile::setPermissions(dir.file("Vnote.ini"), {});
            else
                QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        }
        auto snapshot = [&] {
            QStringList out;
            for (const QFileInfo& f :
                 QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
                QFile file(f.filePath());
                out << f.fileName() + QString::number(f.permissions() & 0x7077) +
                           (file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : "-");
            }
            return out;
        };
        const QStringList before = snapshot();
        {
            MainWindow w;                // no exception escapes the start
            QCOMPARE(errors_.size(), 1); // one box, however many files failed
            if (fault != "read-only")
                QVERIFY(errors_[0].contains("Vnote.ini"));
            QCOMPARE(w.pages()->pageText(0), QStringLiteral("牛乳\r\n")); // what it could read
            w.ShowMainWindow();
            w.close(); // hides, saving what changed: nothing
            QVERIFY(!w.isVisible());
            w.ShowMainWindow();
            App().exitRequested = true;
            w.close(); // the real close ends even when the layout cannot be written
            QVERIFY(!w.isVisible());
            const QStringList after = snapshot();
            for (const QString& file : before) // every file kept as it was
                QVERIFY2(after.contains(file), qPrintable(file));
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void theReferenceAreaKeepsItsHeightWithoutFiles()
    {
        TempDataFolder dir;
        WriteSettingInt(REG_MainRefHeight, 120);
        MainWindow w;
        w.ShowMainWindow();
        QVERIFY(!w.reference()->isVisible()); // no reference file open
        App().exitRequested = true;
        w.close();
        QCOMPARE(ReadSettingInt(REG_MainRefHeight), 120);
    }

    void closeHidesAndSavesExitWritesLayout()
    {
        TempDataFolder dir;
        MainWindow w;
        w.ShowMainWindow();
        QVERIFY(w.isVisible());
        w.pages()->editor(0)->setPlainText("typed");
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("typed"));
        QCOMPARE(ReadSettingInt(REG_MainFrameWidth), 0); // geometry only at the real close
        w.ShowMainWindow();
        w.pages()->selectPage(2);
        App().exitRequested = true;
        w.close();
        QVERIFY(App().timersQuiet);
        QVERIFY(ReadSettingInt(REG_MainFrameWidth) > 0);
        QVERIFY(ReadSettingInt(REG_MainCalendarWidth) >= 100);
        QCOMPARE(ReadSettingInt(REG_VnoteActiveTab), 2);
    }

    // The clock ticks every half second while the window is up; hidden, only
    // just after each minute begins (the minute check), and shown again it
    // is right at once.
    void clockTicksFollowTheWindow()
    {
        TempDataFolder dir;
        test::FakeClock clock(EncodeDateTime({2026, 12, 9}, {10, 0, 20, 300}));
        MainWindow w;
        App().timersQuiet = false;
        QTimer* tick = w.clockTimer();
        QCOMPARE(tick->interval(), 39700 + 50);
        w.ShowMainWindow();
        QCOMPARE(tick->interval(), 500);
        w.HideMainWindow();
        clock.set(EncodeDateTime({2026, 12, 9}, {10, 5, 59, 990}));
        QVERIFY(QMetaObject::invokeMethod(tick, "timeout"));
        QCOMPARE(tick->interval(), 10 + 50);
        clock.set(EncodeDateTime({2026, 12, 9}, {10, 7, 30, 0}));
        w.ShowMainWindow();
        QCOMPARE(w.clockPanel()->timeText(), QStringLiteral("10:07:30"));
        QCOMPARE(tick->interval(), 500);
        QVERIFY(tick->isActive());
    }

    // A start-time message stays up without holding the clock: the clock
    // panel keeps time and a hint due while the box is open is shown, also
    // when no tick fell into its minute.
    void startTimeMessageKeepsTheClockGoing_data()
    {
        QTest::addColumn<int>("stepMSecs");
        QTest::newRow("ticks every half second") << 500;
        QTest::newRow("no tick in the hint's minute") << 120000;
    }
    void startTimeMessageKeepsTheClockGoing()
    {
        QFETCH(int, stepMSecs);
        TempDataFolder dir;
        test::FakeClock clock(test::At(2026, 12, 10, 4, 7, 59, 800));
        const auto sinkBack =
            qScopeGuard([this] { SetErrorSink([this](const QString& t) { errors_.append(t); }); });
        test::ScriptedPrompts prompts;
        prompts.holdNotices = true;
        MainWindow w;
        App().timersQuiet = false;
        ScheduleFields f;
        f.year = f.lastYear = 2026;
        f.month = f.lastMonth = 12;
        f.day = f.lastDay = 10;
        f.hour = 4;
        f.minute = 8;
        f.text = QStringLiteral("朝の会議");
        w.calendarPanel()->view()->schedules().ExpandOccurrences(f);
        BalloonHintRow hint;
        hint.shown = true;
        hint.hour = 4;
        hint.minute = 9;
        hint.key = hint.timeText = QStringLiteral("04:09");
        hint.message = QStringLiteral("四時九分のヒント");
        w.scheduleAlerts()->balloonHints().rows().push_back(hint);
        w.ShowMainWindow();
        QTimer* tick = w.clockTimer();
        auto tickAfter = [&](int msecs) {
            clock.advanceMSecs(msecs);
            QVERIFY(QMetaObject::invokeMethod(tick, "timeout"));
        };
        tickAfter(300); // 04:08:00.100
        QCOMPARE(prompts.boxes.size(), 1);
        QCOMPARE(prompts.boxes[0].kind, BoxKind::Information);
        QVERIFY(prompts.boxes[0].text.endsWith(QStringLiteral("朝の会議")));
        QCOMPARE(prompts.heldNotices.size(), 1); // still open
        QVERIFY(tick->isActive());
        const qsizetype balloons = fake_.tray->balloons.size();
        for (int i = 0; i < 120000 / stepMSecs; ++i)
            tickAfter(stepMSecs);
        QCOMPARE(w.clockPanel()->timeText(), QStringLiteral("04:10:00"));
        QCOMPARE(fake_.tray->balloons.size(), balloons + 1);
        QCOMPARE(fake_.tray->balloons.last().text, QStringLiteral("四時九分のヒント"));
        QCOMPARE(prompts.heldNotices.size(), 1);
        // Closed, it leaves nothing behind; the clock goes on.
        prompts.closeNotice();
        tickAfter(1000);
        QCOMPARE(w.clockPanel()->timeText(), QStringLiteral("04:10:01"));
        QCOMPARE(prompts.boxes.size(), 1);
        QVERIFY(tick->isActive());
    }

    void writeErrorKeepsTheWindowAndTheText()
    {
        TempDataFolder dir;
        MainWindow w;
        w.ShowMainWindow();
        QFile::remove(dir.file("Vnote.vnm"));
        QDir(dir.path()).mkdir("Vnote.vnm");
        w.pages()->editor(0)->setPlainText("precious");
        w.SaveWorkspace();
        QCOMPARE(errors_.size(), 1);
        QVERIFY(errors_[0].contains("Vnote.vnm"));
        QVERIFY(errors_[0].endsWith(u'.'));
        w.SaveWorkspace(); // the same failure is not shown again
        QCOMPARE(errors_.size(), 1);
        w.close(); // a close shows it and stays
        QCOMPARE(errors_.size(), 2);
        QVERIFY(w.isVisible());
        QCOMPARE(w.pages()->pageText(0), QString("precious"));
        QDir(dir.path()).rmdir("Vnote.vnm");
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("precious"));
    }

    // A diary that cannot be saved is reported, but closing hides and the
    // end of the program ends it; typed text is copied first (the user
    // chooses where, unless the session is ending).
    void anUnsavedDiaryNeverKeepsTheProgramFromEnding_data()
    {
        QTest::addColumn<QString>("fault"); // "folder": today's file; "month": its month folder
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("end"); // "exit" or "session"
        QTest::addColumn<int>("answer");  // to the question at the exit
        QTest::addColumn<QString>("copiedTo");
        const QString typed = QStringLiteral("今日の日記");
        const int yes = int(BoxAnswer::Yes), no = int(BoxAnswer::No);
        const QString none;
        QTest::newRow("folder in place, exit") << "folder" << none << "exit" << yes << none;
        QTest::newRow("folder in place, session ends")
            << "folder" << none << "session" << yes << none;
        QTest::newRow("typed, exit, to a page") << "month" << typed << "exit" << yes << "page";
        QTest::newRow("typed, exit, to the clipboard")
            << "month" << typed << "exit" << no << "clipboard";
        QTest::newRow("typed, session ends") << "month" << typed << "session" << yes << "page";
    }
    void anUnsavedDiaryNeverKeepsTheProgramFromEnding()
    {
        QFETCH(QString, fault);
        QFETCH(QString, typed);
        QFETCH(QString, end);
        QFETCH(int, answer);
        QFETCH(QString, copiedTo);
        TempDataFolder dir;
        test::FakeClock clock(test::At(2026, 12, 10, 9, 0));
        dir.writeBytes("Vnote.vnm", "page\r\n");
        if (fault == "folder") {
            QVERIFY(QDir(dir.path()).mkpath("Diary/202612/20261210.txt"));
        } else {
            QVERIFY(QDir(dir.path()).mkpath("Diary"));
            dir.writeBytes("Diary/202612", "a file where the month folder goes");
        }
        QStringList asked;
        Prompts().message = [&](BoxKind, const QString& t, BoxButtons) {
            asked.append(t);
            return BoxAnswer(answer);
        };
        MainWindow w;
        w.ShowMainWindow();
        QPlainTextEdit* diary = w.calendarPanel()->diaryMemo();
        QCOMPARE(diary->isReadOnly(), fault == "folder");
        diary->setPlainText(typed);
        w.close(); // hides, whatever the diary
        QVERIFY(!w.isVisible());
        QCOMPARE(errors_.size(), typed.isEmpty() ? 0 : 1);
        w.ShowMainWindow();
        (end == "exit" ? App().exitRequested : App().sessionEnding) = true;
        w.close();
        QVERIFY(!w.isVisible());
        QVERIFY(App().timersQuiet); // the real close went through
        QCOMPARE(asked.size(), end == "exit" && !typed.isEmpty() ? 1 : 0);
        if (copiedTo == "page") {
            QCOMPARE(dir.readBytes("Vnote.vnm"),
                     test::Sjis(QStringLiteral("page\r\n【日記 2026/12/10(木)】"
                                               "（日記ファイルに保存できなかった文章）\r\n") +
                                typed));
        } else {
            QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("page\r\n"));
        }
        if (copiedTo == "clipboard")
            QCOMPARE(QApplication::clipboard()->text(), typed);
        QVERIFY(QFileInfo(dir.file("Diary/202612")).isDir() == (fault == "folder"));
    }

    void switchingToAnotherProgramSaves()
    {
        TempDataFolder dir;
        MainWindow w;
        App().timersQuiet = false;
        w.pages()->editor(0)->setPlainText("typed before switching");
        QTextCursor c = w.pages()->editor(0)->textCursor();
        c.setPosition(5);
        w.pages()->editor(0)->setTextCursor(c);
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("typed before switching"));
        QCOMPARE(ReadSettingInt(REG_MemoSelStart), 5);
    }

    void calendarPanesAndAlwaysOnTop()
    {
        TempDataFolder dir;
        MainWindow w;
        w.ShowMainWindow();
        QWidget* diary = w.findChild<QWidget*>("pnlDiary");
        QToolButton* diaryButton = w.findChild<QToolButton*>("ToolButton23");
        QVERIFY(diary->isVisible());
        diaryButton->click();
        QVERIFY(!diary->isVisible());
        QCOMPARE(ReadSettingInt(REG_ShowDiary), 0);
        QToolButton* details = w.findChild<QToolButton*>("ToolButton27");
        details->click();
        QCOMPARE(ReadSettingInt(REG_ShowScheduleDetailMain), 0);
        QVERIFY(!w.findChild<QWidget*>("pnlInfo")->isVisible()); // nothing to show

        QToolButton* onTop = w.mainToolBar()->button(MainToolBar::Command::AlwaysOnTop);
        onTop->click();
        QCOMPARE(ReadSettingInt(REG_WinTop), 1);
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        onTop->click();
        QCOMPARE(ReadSettingInt(REG_WinTop), 0);
        QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));

        // hiding the calendar hides the panel and clears the day panels
        w.statusPanel(0)->setText("x");
        w.mainToolBar()->button(MainToolBar::Command::Calendar)->click();
        QVERIFY(!w.calendarPanel()->isVisible());
        QCOMPARE(w.statusPanel(0)->text(), QString());
        QCOMPARE(ReadSettingInt(REG_ShowCalendar), 0);
        QCOMPARE(w.mainToolBar()->button(MainToolBar::Command::Calendar)->toolTip(),
                 QStringLiteral("カレンダー表示"));
    }

    // In a narrow window the » menu lists exactly the buttons the bar has
    // no room for, its items run their commands, and F10 opens every
    // command for the keyboard.
    void narrowWindowReachesEveryCommand()
    {
        TempDataFolder dir;
        MainWindow w;
        w.resize(420, 480);
        w.ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        using Command = MainToolBar::Command;
        MainToolBar* bar = w.mainToolBar();
        QToolButton* more = bar->overflowButton();
        QVERIFY(more && more->isVisible() && more->menu());
        QSet<QAction*> left;
        for (int c = 0; c < int(Command::Count); ++c) {
            if (bar->action(Command(c))->isVisible() && !bar->button(Command(c))->isVisible())
                left.insert(bar->action(Command(c)));
        }
        QVERIFY(left.contains(bar->action(Command::RunRecord)));
        QSet<QAction*> listed;
        for (QAction* a : more->menu()->actions())
            if (!a->isSeparator())
                listed.insert(a);
        QCOMPARE(listed, left);

        // what a menu item runs: the command, as the button would
        bar->action(Command::Calendar)->trigger();
        QVERIFY(!w.calendarPanel()->isVisible());
        QCOMPARE(ReadSettingInt(REG_ShowCalendar), 0);

        QVERIFY(w.handleKey(Qt::Key_F10, Qt::NoModifier));
        QMenu* menu = bar->commandMenu();
        QVERIFY(menu->isVisible());
        QSet<QAction*> all;
        QStringList mnemonics;
        int items = 0;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            ++items;
            mnemonics.append(a->text().section(u'&', 1, 1).left(1));
            if (a->menu()) {
                for (QAction* sub : a->menu()->actions())
                    all.insert(sub);
            } else {
                all.insert(a);
            }
        }
        for (int c = 0; c < int(Command::Count); ++c)
            QVERIFY(all.contains(bar->action(Command(c))));
        mnemonics.removeAll(QString());
        mnemonics.removeDuplicates();
        QCOMPARE(mnemonics.size(), items); // a key of its own for each item
        menu->close();
    }

    void pageKeys()
    {
        TempDataFolder dir;
        WriteSettingInt(REG_ShowVnoteCount, 3);
        MainWindow w;
        QVERIFY(w.handleKey(Qt::Key_PageUp, Qt::ControlModifier));
        QCOMPARE(w.pages()->currentPage(), 0); // nothing before the first page
        w.handleKey(Qt::Key_PageDown, Qt::ControlModifier);
        w.handleKey(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w.pages()->currentPage(), 2);
        w.handleKey(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w.pages()->currentPage(), 2); // nor after the last shown page
        w.pages()->editor(2)->setPlainText("third");
        w.handleKey(Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.pages()->currentPage(), 1);
        QCOMPARE(w.pages()->pageText(1), QString("third"));
        w.handleKey(Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.pages()->pageText(0), QString("third"));
        QVERIFY(!w.handleKey(Qt::Key_PageDown,
                             Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier));
        QCOMPARE(w.pages()->currentPage(), 0);
        QSignalSpy calendar(&w, &MainWindow::calendarKey);
        QVERIFY(w.handleKey(Qt::Key_Home, Qt::AltModifier));
        QCOMPARE(calendar.size(), 1);
    }

    void referenceFilesReopenAtStart()
    {
        TempDataFolder dir;
        dir.writeBytes("three.txt", Sjis("参照その三\r\n"));
        dir.writeBytes("seven.txt", QStringLiteral("UTF-8 の参照\n").toUtf8());
        WriteSettingStr(REG_RefFileName01 + 3, dir.file("three.txt"));
        WriteSettingStr(REG_RefFileName01 + 7, dir.file("seven.txt"));
        WriteSettingStr(REG_RefFileName01 + 5, dir.file("gone.txt"));
        WriteSettingInt(REG_RefFileActiveTab, 7);
        MainWindow w;
        ReferenceArea* ref = w.reference();
        QVERIFY(ref->tabs()->isTabVisible(3));
        QVERIFY(ref->tabs()->isTabVisible(7));
        QVERIFY(!ref->tabs()->isTabVisible(5));
        QCOMPARE(ref->tabs()->currentIndex(), 7);
        QCOMPARE(ref->tabs()->tabText(7), QStringLiteral("⑧seven.txt"));
        QCOMPARE(ref->editor(7)->toPlainText(), QStringLiteral("UTF-8 の参照\n"));
        QCOMPARE(ref->editor(3)->toPlainText(), QStringLiteral("参照その三\n"));
        QCOMPARE(ReadSettingStr(REG_RefFileName01 + 5), QString()); // forgotten
        QVERIFY(w.mainToolBar()->referenceButton(3)->isChecked());
        QCOMPARE(w.mainToolBar()->referenceButton(7)->toolTip(),
                 QStringLiteral("⑧") + dir.file("seven.txt"));
        w.ShowMainWindow();
        QVERIFY(ref->isVisible());

        // releasing both slot buttons hides the area
        QToolButton* b3 = w.mainToolBar()->referenceButton(3);
        QToolButton* b7 = w.mainToolBar()->referenceButton(7);
        b3->click();
        b7->click();
        QVERIFY(!ref->isVisible());
        QCOMPARE(ReadSettingStr(REG_RefFileName01 + 7), QString());
        QCOMPARE(b7->toolTip(), QStringLiteral("⑧テキストファイルを開く（参照モード）"));

        // pressing one and cancelling the dialog leaves it released
        Prompts().openFile = [](const QString&) { return QString(); };
        b3->click();
        QVERIFY(!b3->isChecked());
        QVERIFY(!ref->isVisible());
        // pressing one and choosing a file shows the area again
        Prompts().openFile = [&](const QString&) { return dir.file("three.txt"); };
        b3->click();
        QVERIFY(b3->isChecked());
        QVERIFY(ref->isVisible());
        // the area switch hides it and the slot buttons, keeping the file
        QToolButton* area = w.mainToolBar()->button(MainToolBar::Command::Reference);
        area->click();
        QVERIFY(!ref->isVisible());
        w.resize(w.width() + 40, w.height()); // the toolbar lays itself out again
        QCoreApplication::processEvents();
        for (int i = 0; i < MainToolBar::kReferenceButtons; ++i)
            QVERIFY(!w.mainToolBar()->referenceButton(i)->isVisible());
        QCOMPARE(ReadSettingInt(REG_ShowRefFile), 0);
        area->click();
        QVERIFY(ref->isVisible());
        QCOMPARE(ref->editor(3)->toPlainText(), QStringLiteral("参照その三\n"));
    }

    // A start with no reference file builds no tabs or editors; the first
    // use builds them as the settings say, and what is saved is unchanged.
    void theReferenceAreaIsBuiltOnFirstUse_data()
    {
        QTest::addColumn<QString>("firstUse");
        QTest::addColumn<int>("slot"); // the slot that shows the file; -1 none
        QTest::newRow("a slot button") << "button" << 2;
        QTest::newRow("a file taken in from outside") << "outside" << 0;
        QTest::newRow("an editor asked for") << "editor" << -1;
    }

    void theReferenceAreaIsBuiltOnFirstUse()
    {
        QFETCH(QString, firstUse);
        QFETCH(int, slot);
        TempDataFolder dir;
        dir.writeBytes("one.txt", Sjis("一行目\r\n二行目\r\n"));
        WriteSettingFont(REG_EnvFontRef, FontSpec{0x0000FF, QStringLiteral("IPAGothic"), 14, 0});
        WriteSettingInt(REG_EnvRefBackColor, 0xC8FFFF);
        WriteSettingInt(REG_WordWrapRef, 1);
        WriteSettingInt(REG_RefScrollPos + 2, 7); // left by a slot since closed
        MainWindow w;
        ReferenceArea* ref = w.reference();
        w.ShowMainWindow();
        QVERIFY(!ref->isBuilt());
        QCOMPARE(ref->currentReference(), 0);
        QWidget* nextInOrder = ref->nextInFocusChain(); // as the keyboard goes
        w.SaveWorkspace(); // the positions of empty slots, as a built area saves them
        QCOMPARE(ReadSettingInt(REG_RefScrollPos + 2), 0);
        QVERIFY(!ref->isBuilt());

        if (firstUse == QLatin1String("button")) {
            Prompts().openFile = [&](const QString&) { return dir.file("one.txt"); };
            w.mainToolBar()->referenceButton(slot)->click();
        } else if (firstUse == QLatin1String("outside")) {
            QVERIFY(ref->openInFreeSlot(dir.file("one.txt")));
        } else {
            QCOMPARE(ref->editor(4)->toPlainText(), QString());
        }
        QVERIFY(ref->isBuilt());
        for (int i = 0; i < kReferenceCount; ++i) {
            QPlainTextEdit* e = ref->editor(i);
            QCOMPARE(e->font().pointSize(), 14);
            QCOMPARE(e->palette().color(QPalette::Text), QColor(255, 0, 0));
            QCOMPARE(e->palette().color(QPalette::Base), QColor(255, 255, 200));
            QCOMPARE(e->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            QCOMPARE(ref->tabs()->isTabVisible(i), i == slot);
        }
        QCOMPARE(ref->isVisible(), slot >= 0);
        // Its widgets sit in the keyboard order where the area is.
        QWidget* w2 = ref->nextInFocusChain();
        while (ref->isAncestorOf(w2))
            w2 = w2->nextInFocusChain();
        QCOMPARE(w2, nextInOrder);
        QVERIFY(ref->isAncestorOf(ref->nextInFocusChain()));
        if (slot >= 0) {
            QCOMPARE(ref->editor(slot)->toPlainText(), QStringLiteral("一行目\n二行目\n"));
            QCOMPARE(ref->currentReference(), slot);
        }
    }

    void trayMenuAndBalloons()
    {
        TempDataFolder dir;
        MainWindow w;
        TrayController tray(&w);
        tray.registerGesture(3, 2);
        QCOMPARE(fake_.hotKey->current, HotKey::Shift);
        w.ShowMainWindow();
        QMenu* menu = tray.menu();
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().value(0)->text(), QStringLiteral("非表示(&H)  2Shift"));
        QCOMPARE(menu->actions().value(2)->text(), QStringLiteral("終了(&X)"));

        test::FakeClock clock(EncodeDateTime({2026, 12, 9}, {10, 0, 0}));
        fake_.hotKey->inject();
        QVERIFY(w.isVisible());
        clock.advanceMSecs(1500);
        fake_.hotKey->inject();
        QVERIFY(!w.isVisible());
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().value(0)->text(), QStringLiteral("表示(&S)  2Shift"));
        fake_.tray->injectClick();
        QVERIFY(w.isVisible());

        tray.registerGesture(4, 1); // another kind takes effect at once
        QCOMPARE(fake_.hotKey->current, HotKey::Ctrl);

        const QString longText = QString(150, u'あ'); // 300 bytes
        QVERIFY(ShowBalloonTip(QString(40, u'題'), longText, 1, 10));
        const test::Balloon b = fake_.tray->balloons.last();
        QCOMPARE(b.text, QString(127, u'あ')); // 254 bytes: no half character
        QCOMPARE(b.title, QString(31, u'題')); // 62 bytes
        QCOMPARE(b.iconKind, 1);
        QCOMPARE(b.seconds, 10);

        w.pages()->editor(0)->setPlainText("saved at exit");
        menu->actions().value(2)->trigger();
        QVERIFY(App().exitRequested);
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("saved at exit"));
        QVERIFY(ReadSettingInt(REG_MainFrameWidth) > 0);
    }

    // "終了(&X)" when a page cannot be saved: the failure is told, and the
    // user is asked once whether to end all the same; "いいえ" stays.
    void trayExitAsksOnceWhenASaveFails()
    {
        TempDataFolder dir;
        MainWindow w;
        TrayController tray(&w);
        w.ShowMainWindow();
        QVERIFY(QFile::remove(dir.file("Vnote.vnm")));
        QVERIFY(QDir(dir.path()).mkdir("Vnote.vnm")); // the page file cannot be written
        w.pages()->editor(0)->setPlainText("cannot be saved");
        QStringList asked;
        Prompts().message = [&](BoxKind, const QString& t, BoxButtons b) {
            asked.append(t);
            return b == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
        };
        errors_.clear();
        tray.menu()->actions().value(2)->trigger();
        Prompts() = DefaultPrompts(nullptr);
        QVERIFY(errors_.join(u'\n').contains(QStringLiteral("Vnote.vnm")));
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].contains(QStringLiteral("保存せずに終了しますか")));
        QVERIFY(w.isVisible());
        QCOMPARE(w.pages()->pageText(0), QStringLiteral("cannot be saved"));
        QVERIFY(QDir(dir.path()).rmdir("Vnote.vnm"));
    }

    void helpSoundsAndTheErrorBox()
    {
        TempDataFolder dir;
        MainWindow w;
        // The help beside the program, as in the build folder; without it
        // the user is told, and nothing is opened.
        const QString helpDir = QCoreApplication::applicationDirPath() + QStringLiteral("/help");
        QVERIFY(!QFileInfo::exists(helpDir));
        QStringList asked;
        Prompts().message = [&](BoxKind, const QString& t, BoxButtons) {
            asked.append(t);
            return BoxAnswer::Ok;
        };
        fake_.desktop->documents.clear();
        w.mainToolBar()->button(MainToolBar::Command::Help)->click();
        QCOMPARE(fake_.desktop->documents, QStringList());
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith(QStringLiteral("ヘルプファイルが見つかりません。")));
        QVERIFY(QDir().mkpath(helpDir));
        QFile help(helpDir + QStringLiteral("/index.html"));
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        w.mainToolBar()->button(MainToolBar::Command::Help)->click();
        QCOMPARE(fake_.desktop->documents, QStringList{help.fileName()});
        QCOMPARE(asked.size(), 1);
        // A desktop without anything to open it (no xdg-open): the user is
        // told where the file is.
        fake_.desktop->canOpenDocuments = false;
        w.mainToolBar()->button(MainToolBar::Command::Help)->click();
        fake_.desktop->canOpenDocuments = true;
        QVERIFY(QDir(helpDir).removeRecursively());
        Prompts() = DefaultPrompts(nullptr);
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[1].endsWith(QStringLiteral("：\r\n") + help.fileName()));

        fake_.sound->played.clear();
        QVERIFY(PlaySoundFile(QString()));
        QVERIFY(!PlaySoundFile(dir.file("missing.wav")));
        dir.writeBytes("ding.wav", "RIFF");
        QVERIFY(PlaySoundFile(dir.file("ding.wav")));
        QCOMPARE(fake_.sound->played, QStringList{dir.file("ding.wav")});

        QVERIFY(!Guarded([] { throw AppError(QStringLiteral("書き込めません")); }));
        QCOMPARE(errors_.last(), QStringLiteral("書き込めません."));
        QVERIFY(!Guarded([] { throw AppError(QStringLiteral("done.")); }));
        QCOMPARE(errors_.last(), QStringLiteral("done."));
        QVERIFY(Guarded([] {}));
    }

    void deleteButtonAsksAndRestores()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", "text\r\n");
        MainWindow w;
        QStringList asked;
        Prompts().message = [&](BoxKind, const QString& t, BoxButtons) {
            asked.append(t);
            return BoxAnswer::Yes;
        };
        QToolButton* b = w.mainToolBar()->button(MainToolBar::Command::DeletePage);
        b->click();
        QCOMPARE(asked.value(0),
                 QStringLiteral("カレントのメモを削除します？\r\n\r\nメモNo = [1]\r\n"
                                "メモ名称 = [メモ１]\r\n\r\n"
                                "※削除後に復元ボタン押下にて復元できます"));
        QCOMPARE(w.pages()->pageText(0), QString());
        QCOMPARE(b->toolTip(), QStringLiteral("カレントのメモを復元"));
        b->click();
        QCOMPARE(w.pages()->pageText(0), QString("text\r\n"));
        QCOMPARE(b->toolTip(), QStringLiteral("カレントのメモを削除"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
