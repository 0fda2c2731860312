// The main window's calendar panel on the offscreen platform: start-up from
// a data folder (holidays, schedules, diary, settings), the day details, the
// toolbar and menu commands, the two panes, the diary saving and the
// start-up balloon.
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "schedule/scheduleline.h"
#include "tempdatafolder.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"
#include "workspace/calendarpanel.h"
#include "workspace/mainwindow.h"
#include "workspace/memopagesview.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

QString scheduleLine(int m, int d, int h, int n, const QString& text, bool allDay = false)
{
    ScheduleFields f;
    f.year = f.lastYear = 2026;
    f.month = f.lastMonth = m;
    f.day = f.lastDay = d;
    f.hour = h;
    f.minute = n;
    f.allDay = allDay;
    f.text = text;
    return ComposeScheduleLine(f);
}

// A data folder as another machine left it: Shift-JIS, CR LF.
void writeData(const TempDataFolder& dir)
{
    dir.writeBytes("Holiday.dat", Sjis("0522,2026,2026,創立記念日\r\n"));
    dir.writeBytes("Schedule.dat",
                   Sjis(scheduleLine(5, 5, 9, 0, QStringLiteral("朝の会議")) + "\r\n" +
                        scheduleLine(5, 5, 0, 0, QStringLiteral("こどもの日の準備"), true) +
                        "\r\n" + scheduleLine(5, 1, 15, 0, QStringLiteral("過去の予定")) + "\r\n"));
    QDir().mkpath(dir.file("Diary/202605"));
    dir.writeBytes("Diary/202605/20260505.txt", Sjis("晴れ\r\n公園へ\r\n"));
}

QString memoText(QPlainTextEdit* e)
{
    return e->toPlainText();
}

} // namespace

class TestCalendarPanel : public QObject {
    Q_OBJECT

    test::FakePlatform fake_;
    QStringList errors_;
    test::FakeClock* clock_ = nullptr;

    static QPlainTextEdit* memoInfo(MainWindow& w)
    {
        return w.findChild<QPlainTextEdit*>(QStringLiteral("memoInfo"));
    }
    static QWidget* pnlInfo(MainWindow& w)
    {
        return w.findChild<QWidget*>(QStringLiteral("pnlInfo"));
    }
    static QPoint centreOf(CalendarView* v, int y, int m, int d)
    {
        for (const cal::MonthBlock& b : v->core().model().Layout().blocks)
            for (const cal::DayCell& c : b.cells)
                if (c.ymd == YMD{y, m, d} && !c.trailing)
                    return {(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2};
        return {};
    }

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
        fake_.tray->balloons.clear();
        clock_ = new test::FakeClock(EncodeDate(2026, 5, 5) + EncodeTime(10, 0, 30));
    }
    void cleanup() { delete clock_; }

    void startsWithTodayHolidaysSchedulesAndDiary()
    {
        TempDataFolder dir;
        writeData(dir);
        WriteSettingInt(REG_CalendarGradationType, 7);
        WriteSettingInt(REG_CalendarColorSchedule, 0x00FF00);
        WriteSettingInt(REG_ShowScheduleDetailMain, 1);
        MainWindow w;
        w.resize(761, 526);
        CalendarPanel* panel = w.calendarPanel();
        CalendarView* v = panel->view();
        QCOMPARE(v->objectName(), QStringLiteral("CalendarView1"));
        QCOMPARE(DateOnly(v->GetDate()), EncodeDate(2026, 5, 5));
        QCOMPARE(v->GradationDirection(), Gradation::Top); // 7 counts as 0
        QCOMPARE(v->Color(CalColor::Schedule), quint32(0x00FF00));
        QCOMPARE(v->MonthFormat(), QStringLiteral("yyyy/mm")); // the setting's default
        QVERIFY(v->core().IsHoliday(EncodeDate(2026, 5, 22)));
        QCOMPARE(v->ScheduleCountOn(2026, 5, 5), 2);
        QCOMPARE(memoText(panel->diaryMemo()), QStringLiteral("晴れ\n公園へ"));
        QVERIFY(panel->diaryTitle()->text().startsWith(QStringLiteral("【日記】2026/05/05(火)[")));
        QVERIFY(panel->diaryTitle()->text().endsWith(QStringLiteral("] こどもの日")));
        QVERIFY(v->core().HasDiary(EncodeDate(2026, 5, 5)));
        // The selected day's details: a holiday with two schedules.
        QCOMPARE(w.statusPanel(0)->text(), QStringLiteral("2026/05/05(火)"));
        QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("本日"));
        QCOMPARE(w.statusPanel(2)->text(), v->RokuyouText(v->GetDate()));
        QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("こどもの日"));
        QCOMPARE(w.statusPanel(4)->text(), QStringLiteral("予定数=2"));
        QCOMPARE(memoText(memoInfo(w)),
                 QStringLiteral("2026/05/05(火)　●こどもの日\n---[予定数=2]---\n"
                                "終日  こどもの日の準備\n09:00  朝の会議"));
        QVERIFY(!pnlInfo(w)->isHidden());
        // Today's schedules in a tray balloon, once the event loop runs.
        QVERIFY(fake_.tray->balloons.isEmpty());
        QTRY_COMPARE(fake_.tray->balloons.size(), 1);
        const test::Balloon& b = fake_.tray->balloons[0];
        QVERIFY(b.title.startsWith(QStringLiteral("本日の予定 [")));
        QVERIFY(b.title.endsWith(QStringLiteral("] ●こどもの日")));
        QVERIFY(b.text.startsWith(QStringLiteral("2026/05/05(火)の予定は 2件です。")));
        QCOMPARE(errors_, QStringList());
    }

    void detailsOfOtherDays()
    {
        TempDataFolder dir;
        writeData(dir);
        WriteSettingInt(REG_ScheduleOldColor, 0x00C0C0C0);
        MainWindow w;
        w.resize(761, 526);
        w.show();
        CalendarView* v = w.calendarPanel()->view();
        // A past day with a schedule is drawn in the past-schedule colour.
        QTest::mouseClick(v, Qt::LeftButton, {}, centreOf(v, 2026, 5, 1));
        QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("4日前"));
        QCOMPARE(memoText(memoInfo(w)),
                 QStringLiteral("2026/05/01(金)\n---[予定数=1]---\n15:00  過去の予定"));
        QCOMPARE(memoInfo(w)->palette().color(QPalette::Text), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(pnlInfo(w)->isVisible());
        // A day without holiday or schedule: no pane, even with "詳" down.
        QTest::mouseClick(v, Qt::LeftButton, {}, centreOf(v, 2026, 5, 13));
        QCOMPARE(w.statusPanel(4)->text(), QString());
        QVERIFY(!pnlInfo(w)->isVisible());
        QTest::mouseClick(v, Qt::LeftButton, {}, centreOf(v, 2026, 5, 22));
        QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("創立記念日"));
        QCOMPARE(memoInfo(w)->palette().color(QPalette::Text), QColor(Qt::black));
        // Alt+Page Down: the next month, the first of it selected.
        w.handleKey(Qt::Key_PageDown, Qt::AltModifier);
        QCOMPARE(w.statusPanel(0)->text(), QStringLiteral("2026/06/01(月)"));
        w.handleKey(Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("本日"));
    }

    void paneSwitchesAndMenu()
    {
        TempDataFolder dir;
        writeData(dir);
        MainWindow w;
        w.resize(761, 526);
        w.ShowMainWindow();
        CalendarPanel* panel = w.calendarPanel();
        QMenu* menu = panel->popupMenu();
        QStringList captions;
        for (QAction* a : menu->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions.join(u'|'),
                 QStringLiteral("カレント行に日付を挿入(&C)|最下行に日付を挿入(&E)|-|"
                                "クリップボードへ日付をコピー|-|カレンダー表示切替|"
                                "カレンダー背景色変更|-|１月に移動(&K)|先月に移動(&P)|"
                                "今日に移動(&T)|翌月に移動(&N)|翌年の１月に移動(&R)|-|"
                                "予定一覧の表示(&S)...|休日一覧の表示(&H)...|-|"
                                "選択日付の詳細情報を表示／非表示(&I)|-|日記の表示／非表示|-|"
                                "過去日の×マーク色|過去日に×マークを付ける"));
        // The button saves its state; the menu item only switches.
        panel->detailsButton()->click();
        QCOMPARE(ReadSettingInt(REG_ShowScheduleDetailMain), 0);
        QVERIFY(!panel->menuItem(CalendarMenuItem::N33)->isChecked());
        QVERIFY(!pnlInfo(w)->isVisible());
        panel->menuItem(CalendarMenuItem::N33)->trigger();
        QVERIFY(panel->detailsButton()->isChecked());
        QVERIFY(pnlInfo(w)->isVisible());
        QCOMPARE(ReadSettingInt(REG_ShowScheduleDetailMain), 0);
        panel->menuItem(CalendarMenuItem::N55)->trigger();
        QVERIFY(!panel->diaryPane()->isVisible());
        QCOMPARE(ReadSettingInt(REG_ShowDiary), 1);
        // The next showing returns both to their saved states.
        w.hide();
        w.ShowMainWindow();
        QVERIFY(!panel->detailsButton()->isChecked());
        QVERIFY(panel->diaryPane()->isVisible());
        panel->diaryButton()->click();
        QCOMPARE(ReadSettingInt(REG_ShowDiary), 0);
        QVERIFY(!panel->diaryPane()->isVisible());
        // Past-day marks: the item follows the setting when the menu opens.
        WriteSettingInt(REG_CalendarMarkPastDay, 0);
        emit menu->aboutToShow();
        QVERIFY(!panel->menuItem(CalendarMenuItem::N48)->isChecked());
        panel->menuItem(CalendarMenuItem::N48)->trigger();
        QCOMPARE(ReadSettingInt(REG_CalendarMarkPastDay), 1);
        QVERIFY(panel->view()->Flag(CalFlag::MarkPastDay));
        // Colours through the colour dialog.
        const UiPrompts saved = Prompts();
        Prompts().chooseColour = [](const QColor&) { return QColor(0x10, 0x20, 0x30); };
        panel->menuItem(CalendarMenuItem::N53)->trigger();
        panel->menuItem(CalendarMenuItem::N49)->trigger();
        Prompts() = saved;
        QCOMPARE(panel->view()->Color(CalColor::Brush), quint32(0x302010));
        QCOMPARE(ReadSettingInt(REG_CalendarBrushColor), 0x302010);
        QCOMPARE(ReadSettingInt(REG_CalendarColorMarkPastDay), 0x302010);
        // Grid and list.
        panel->button(CalendarButton::ListSwitch)->click();
        QVERIFY(panel->view()->Flag(CalFlag::List));
        QCOMPARE(ReadSettingInt(REG_CalendarShowFormat), 1);
        panel->menuItem(CalendarMenuItem::N50)->trigger();
        QCOMPARE(ReadSettingInt(REG_CalendarShowFormat), 0);
    }

    void dateItemsListsAndDoubleClick()
    {
        TempDataFolder dir;
        writeData(dir);
        MainWindow w;
        w.resize(761, 526);
        w.show();
        CalendarPanel* panel = w.calendarPanel();
        CalendarView* v = panel->view();
        QTest::mouseClick(v, Qt::LeftButton, {}, centreOf(v, 2026, 5, 13));
        QPlainTextEdit* page = w.pages()->editor(w.pages()->currentPage());
        page->setPlainText(QStringLiteral("一行目"));
        QTextCursor c = page->textCursor();
        c.movePosition(QTextCursor::Start);
        page->setTextCursor(c);
        panel->menuItem(CalendarMenuItem::N5)->trigger();
        panel->menuItem(CalendarMenuItem::N4)->trigger();
        QCOMPARE(page->toPlainText(), QStringLiteral("2026/05/13(水)\n一行目\n2026/05/13(水)\n"));
        panel->menuItem(CalendarMenuItem::N42)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2026/05/13(水)"));
        // The schedule list: afterwards the schedules are read again.
        panel->setListOpeners(
            [&] {
                dir.writeBytes("Schedule.dat",
                               Sjis(scheduleLine(5, 13, 8, 0, QStringLiteral("追加")) + "\r\n"));
            },
            [&] { dir.writeBytes("Holiday.dat", Sjis("0513,2026,2026,臨時休業\r\n")); });
        panel->button(CalendarButton::ScheduleList)->click();
        QCOMPARE(v->ScheduleCountOn(2026, 5, 13), 1);
        QCOMPARE(w.statusPanel(4)->text(), QStringLiteral("予定数=1"));
        panel->menuItem(CalendarMenuItem::N30)->trigger();
        QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("臨時休業"));
        // A double click on a day opens the editor for it; elsewhere nothing.
        QList<DateTime> opened;
        panel->setScheduleEditorOpener([&](DateTime d) { opened.append(d); });
        const QPoint day = centreOf(v, 2026, 5, 20);
        QTest::mouseMove(v, day);
        QTest::mouseDClick(v, Qt::LeftButton, {}, day);
        QTest::mouseDClick(v, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(DateOnly(opened[0]), EncodeDate(2026, 5, 20));
    }

    void diaryIsSavedAndAFailureKeepsTheText()
    {
        TempDataFolder dir;
        writeData(dir);
        MainWindow w;
        w.ShowMainWindow();
        CalendarPanel* panel = w.calendarPanel();
        panel->diaryMemo()->setPlainText(QStringLiteral("晴れ\n公園へ\n夜は雨"));
        w.SaveDiary(); // the 30-second timer
        QCOMPARE(dir.readBytes("Diary/202605/20260505.txt"), Sjis("晴れ\r\n公園へ\r\n夜は雨\r\n"));
        // The day's file cannot be written: shown once, the text stays.
        QFile::remove(dir.file("Diary/202605/20260505.txt"));
        QDir().mkpath(dir.file("Diary/202605/20260505.txt"));
        panel->diaryMemo()->setPlainText(QStringLiteral("消えてはいけない"));
        w.SaveDiary();
        w.SaveDiary();
        QCOMPARE(errors_.size(), 1);
        w.pages()->editor(0)->setPlainText(QStringLiteral("ページも"));
        w.close(); // shown, and hidden all the same: the text stays in the pane
        QVERIFY(!w.isVisible());
        QCOMPARE(errors_.size(), 2);
        QCOMPARE(dir.readBytes("Vnote.vnm"), Sjis("ページも"));
        QCOMPARE(memoText(panel->diaryMemo()), QStringLiteral("消えてはいけない"));
        QDir(dir.file("Diary/202605/20260505.txt")).removeRecursively();
        w.ShowMainWindow();
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(dir.readBytes("Diary/202605/20260505.txt"), Sjis("消えてはいけない\r\n"));
    }

    // Days written by another writer (a sync): marked, and the shown day's
    // text taken in when nothing was typed here.
    void diaryDaysWrittenElsewhereAreTakenIn()
    {
        TempDataFolder dir;
        writeData(dir);
        MainWindow w;
        w.ShowMainWindow();
        CalendarPanel* panel = w.calendarPanel();
        cal::DiaryStore& diary = panel->view()->core().diary();
        QVERIFY(!diary.HasDiary(EncodeDate(2026, 5, 20)));
        QDir().mkpath(dir.file("Diary/202605"));
        dir.writeBytes("Diary/202605/20260520.txt", Sjis("別のPCで\r\n"));
        dir.writeBytes("Diary/202605/20260505.txt", Sjis("同期された\r\n"));
        panel->takeInDiaryDays();
        QVERIFY(diary.HasDiary(EncodeDate(2026, 5, 20)));
        QCOMPARE(memoText(panel->diaryMemo()), QStringLiteral("同期された"));
    }
};

QTEST_MAIN(TestCalendarPanel)
#include "tst_calendarpanel.moc"
