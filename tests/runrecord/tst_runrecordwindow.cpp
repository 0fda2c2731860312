// The run-record window: the grid of a period with its colours, the shared
// holidays and schedules, grid and calendar following each other, memos,
// the period and the status bar.
#include "runrecord/ui/runrecordwindow.h"

#include "calendar/holidaytable.h"
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "foundation/inifile.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "runrecord/runrecord.h"
#include "runrecord/runrecordtable.h"
#include "runrecord/ui/perioddialog.h"
#include "schedule/schedulestore.h"
#include "tempdatafolder.h"
#include "widgets/listgrid.h"
#include "widgets/uiprompts.h"
#include "windowshot.h"

#include <QDateEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vn;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

int dayOf(int y, int m, int d)
{
    return DayNumber(EncodeDate(y, m, d));
}

// The main window's calendar data, as the application hands it over.
class MainCalendar : public RunRecordCalendarData {
public:
    cal::HolidayTable holidayTable;
    ScheduleStore store;
    const cal::HolidayTable& holidays() const override { return holidayTable; }
    const ScheduleStore& schedules() const override { return store; }
};

} // namespace

class TstRunRecordWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<TempDataFolder>();
        clock_ = std::make_unique<FakeClock>(EncodeDate(2005, 1, 20) + EncodeTime(10, 0));
        saved_ = Prompts();
        asked_.clear();
        Prompts().message = [this](BoxKind k, const QString& t, BoxButtons) {
            asked_.append({k, t});
            return answer_;
        };
        Prompts().input = [this](const QString& caption, const QString& prompt,
                                 const QString& initial) {
            asked_.append({BoxKind::Plain, caption + u'|' + prompt + u'|' + initial});
            return typed_.isNull() ? initial : typed_;
        };
        // Recorded: the 1st to the 3rd, the 5th, the 14th and today, the 20th.
        QStringList lines;
        const QList<std::tuple<int, int, int>> recorded = {{1, 32400000, 66600000},
                                                           {2, 36000000, 40000000},
                                                           {3, 30000000, 70000000},
                                                           {5, 5000, 86395000},
                                                           {14, 0, 1},
                                                           {20, 36000000, 36000000}};
        for (const auto& [d, s, e] : recorded)
            lines << QStringLiteral("[%1]").arg(dayOf(2005, 1, d)) << QStringLiteral("S=%1").arg(s)
                  << QStringLiteral("E=%1").arg(e);
        lines.insert(3, QStringLiteral("M=初出社"));
        WriteLines(RunRecordPath(), lines);
        data_ = std::make_unique<MainCalendar>();
        data_->holidayTable.Rebuild({QStringLiteral("0114,2005,2005,創立記念日")});
        WriteLines(SchedulePath(), {QStringLiteral("200501050900,00,0,0,0,20050105,新年会")});
        data_->store.LoadSchedules(SchedulePath());
        answer_ = BoxAnswer::Yes;
        typed_ = QString();
    }
    void cleanup()
    {
        Prompts() = saved_;
        data_.reset();
        clock_.reset();
        dir_.reset();
    }

    void design()
    {
        RunRecordWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("TfrmDateTime"));
        QCOMPARE(w.windowTitle(), QStringLiteral("PC起動実績"));
        ListGrid* g = w.grid();
        QCOMPARE(g->columnCount(), int(kRunColumnCount));
        const QStringList captions = {"No",       "日付", "六曜",     "休日名称",
                                      "予定",     "メモ", "起動時刻", "終了時刻",
                                      "所要時間", "休日", "nDate"};
        for (int c = 0; c < kRunColumnCount; ++c)
            QCOMPARE(g->column(c).caption, captions[c]);
        QCOMPARE(g->column(kRunNo).width, 30);
        QCOMPARE(g->column(kRunNo).alignment, Qt::Alignment(Qt::AlignRight));
        QCOMPARE(g->column(kRunRokuyou).width, 38);
        QCOMPARE(g->column(kRunHolidayName).width, 64);
        QCOMPARE(g->column(kRunSchedules).width, 60);
        QCOMPARE(g->column(kRunDate).width, ReadSettingInt(REG_PCItem00Width));
        QVERIFY(g->isColumnHidden(kRunHoliday) && g->isColumnHidden(kRunDay));
        QVERIFY(g->isColumnHidden(kRunRokuyou) && g->isColumnHidden(kRunSchedules));
        QStringList items;
        QList<bool> enabled;
        for (QAction* a : w.popupMenu()->actions()) {
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
            enabled << a->isEnabled();
        }
        QCOMPARE(items, QStringList({"メモ入力(&M)...", "メモ削除(&D)", "PC起動時刻修正(&S)...",
                                     "PC終了時刻修正(&E)...", "-", "最新情報の再読込み(&R)",
                                     "表示期間変更(&C)..."}));
        QCOMPARE(enabled, QList<bool>({true, true, false, false, true, true, true}));
        QCOMPARE(w.popupMenu()->actions()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(w.findChild<QToolButton*>("ToolButton1")->toolTip(),
                 QStringLiteral("最新情報の再読込み"));
        QCOMPARE(w.findChild<QToolButton*>("tbDetail")->toolTip(),
                 QStringLiteral("選択日付の詳細情報を表示／非表示"));
        // Its calendar keeps its own design.
        QCOMPARE(w.calendar()->MonthFormat(), QStringLiteral("gee/mm"));
        QVERIFY(!w.calendar()->Flag(CalFlag::MarkPastDay));
    }

    void firstUseRunsFromTheFirstRecordedDayToToday()
    {
        RunRecordWindow w;
        w.setCalendarData(data_.get());
        int reads = 0;
        w.setBeforeRead([&] { ++reads; });
        w.show();
        QCOMPARE(reads, 1);
        QCOMPARE(w.grid()->rowCount(), 20);
        QCOMPARE(w.period(), (RunPeriod{dayOf(2005, 1, 1), dayOf(2005, 1, 20)}));
        QCOMPARE(w.statusPanel(5), QStringLiteral("表示日数=20日間"));
        QCOMPARE(ReadSettingInt(REG_PCTimeEndDate), dayOf(2005, 1, 20));
        QCOMPARE(w.grid()->currentRow(), 0);
        w.hide();
    }

    void aPeriodWithMissingDaysWeekendsAndHolidays()
    {
        WriteRunPeriod({dayOf(2004, 12, 30), dayOf(2005, 1, 19)}); // ends yesterday
        RunRecordWindow w;
        w.setCalendarData(data_.get());
        w.show();
        // The last day moves forward to today.
        QCOMPARE(w.period(), (RunPeriod{dayOf(2004, 12, 30), dayOf(2005, 1, 20)}));
        QCOMPARE(ReadSettingInt(REG_PCTimeEndDate), dayOf(2005, 1, 20));
        ListGrid* g = w.grid();
        QCOMPARE(g->rowCount(), 22);
        QCOMPARE(w.statusPanel(5), QStringLiteral("表示日数=22日間"));
        const auto row = [](int m, int d) { return dayOf(2005, m, d) - dayOf(2004, 12, 30); };
        const auto red = [&](int r) {
            return g->model()->index(r, kRunDate).data(Qt::ForegroundRole).value<QColor>() ==
                   QColor(Qt::red);
        };
        QCOMPARE(g->text(0, kRunDate), QStringLiteral("2004/12/30(木)"));
        QCOMPARE(g->text(0, kRunStart), QString()); // no section
        QCOMPARE(g->text(row(1, 1), kRunDate), QStringLiteral("2005/01/01(土)"));
        QCOMPARE(g->text(row(1, 1), kRunMemo), QStringLiteral("初出社"));
        QCOMPARE(g->text(row(1, 1), kRunStart), QStringLiteral("09:00"));
        QCOMPARE(g->text(row(1, 1), kRunDuration), QStringLiteral("09:31"));
        QCOMPARE(g->text(row(1, 5), kRunDuration), QStringLiteral("24:00"));
        QCOMPARE(g->text(row(1, 4), kRunEnd), QString());
        // Weekends, the national holidays and the user's holiday in red.
        QVERIFY(red(row(1, 1)) && red(row(1, 2)) && red(row(1, 8)) && red(row(1, 9)));
        QVERIFY(red(row(1, 10)));                                        // 成人の日
        QVERIFY(red(row(1, 14)));                                        // the user's
        QVERIFY(!red(row(1, 3)) && !red(row(1, 4)) && !red(row(1, 13))); // 3 January: a weekday
        QCOMPARE(g->text(row(1, 14), kRunHolidayName), QStringLiteral("創立記念日"));
        QCOMPARE(g->text(row(1, 5), kRunSchedules), QStringLiteral("09:00  新年会"));
        test::SaveWindowShot(&w, "runrecordwindow");
        w.hide();
    }

    void detailsShowTheMainWindowsSchedulesAsTheyAreNow()
    {
        RunRecordWindow w;
        w.setCalendarData(data_.get());
        w.show();
        QVERIFY(w.grid()->isColumnHidden(kRunSchedules));
        QTest::mouseClick(w.findChild<QToolButton*>("tbDetail"), Qt::LeftButton);
        QVERIFY(w.detailShown());
        QVERIFY(!w.grid()->isColumnHidden(kRunRokuyou));
        QVERIFY(!w.grid()->isColumnHidden(kRunHolidayName));
        QVERIFY(!w.grid()->isColumnHidden(kRunSchedules));
        QCOMPARE(ReadSettingInt(REG_ShowScheduleDetailDateTime), 1);
        const int the7th = dayOf(2005, 1, 7) - dayOf(2005, 1, 1);
        QCOMPARE(w.grid()->text(the7th, kRunSchedules), QString());
        QVERIFY(!w.grid()->text(the7th, kRunRokuyou).isEmpty());
        // A schedule added in the main window after start-up is there at once.
        WriteLines(SchedulePath(), {QStringLiteral("200501050900,00,0,0,0,20050105,新年会"),
                                    QStringLiteral("200501071230,00,0,0,0,20050107,昼食会")});
        data_->store.LoadSchedules(SchedulePath());
        w.run(RunRecordWindow::Command::Refresh);
        QCOMPARE(w.grid()->text(the7th, kRunSchedules), QStringLiteral("12:30  昼食会"));
        w.hide();
        // The state is there again for the next window.
        RunRecordWindow again;
        again.setCalendarData(data_.get());
        again.show();
        QVERIFY(again.detailShown());
        QVERIFY(!again.grid()->isColumnHidden(kRunSchedules));
        again.hide();
    }

    void gridAndCalendarFollowEachOther()
    {
        WriteRunPeriod({dayOf(2005, 1, 3), dayOf(2005, 1, 20)});
        RunRecordWindow w;
        w.setCalendarData(data_.get());
        w.show();
        w.grid()->setCurrentRow(2); // the 5th
        QCOMPARE(w.calendar()->GetDate(), EncodeDate(2005, 1, 5));
        QCOMPARE(w.statusPanel(0), QStringLiteral("2005/01/05"));
        QCOMPARE(w.statusPanel(1), QStringLiteral("15日前"));
        QCOMPARE(w.statusPanel(4), QStringLiteral("予定数=1"));
        QVERIFY(!w.statusPanel(2).isEmpty()); // its rokuyō
        // Days chosen in the calendar: inside, before and after the period.
        emit w.calendar()->daySelected(EncodeDate(2005, 1, 14));
        QCOMPARE(w.grid()->currentRow(), 11);
        w.calendar()->SetDate(EncodeDate(2005, 1, 14));
        w.UpdateRunRecordStatus();
        QCOMPARE(w.statusPanel(3), QStringLiteral("創立記念日"));
        emit w.calendar()->daySelected(EncodeDate(2004, 12, 1));
        QCOMPARE(w.grid()->currentRow(), 0);
        emit w.calendar()->daySelected(EncodeDate(2005, 3, 1));
        QCOMPARE(w.grid()->currentRow(), w.grid()->rowCount() - 1);
        // The calendar's own moves update the status bar.
        w.calendar()->SetDate(EncodeDate(2005, 1, 20));
        w.moveCalendar(RunRecordWindow::CalendarMove::NextMonth);
        QCOMPARE(w.statusPanel(0), QStringLiteral("2005/02/01"));
        w.moveCalendar(RunRecordWindow::CalendarMove::Today);
        QCOMPARE(w.statusPanel(1), QStringLiteral("本日"));
        w.hide();
    }

    void memosAreEnteredAndDeleted()
    {
        RunRecordWindow w;
        w.setCalendarData(data_.get());
        w.show();
        const int the4th = 3;
        w.grid()->setCurrentRow(the4th); // a day without a section
        typed_ = QStringLiteral("年始休暇");
        w.run(RunRecordWindow::Command::MemoInput);
        QCOMPARE(asked_.last().second, QStringLiteral("メモ入力|2005/01/04(火)のメモ|"));
        QCOMPARE(w.grid()->text(the4th, kRunMemo), QStringLiteral("年始休暇"));
        QCOMPARE(ReadRunDay(RunRecordPath(), dayOf(2005, 1, 4)).memo, QStringLiteral("年始休暇"));
        QCOMPARE(ReadRunDay(RunRecordPath(), dayOf(2005, 1, 4)).start, QStringLiteral("--:--"));
        // A memo is one line of the record.
        typed_ = QStringLiteral("一行目\r\n二行目");
        w.run(RunRecordWindow::Command::MemoInput);
        QCOMPARE(ReadRunDay(RunRecordPath(), dayOf(2005, 1, 4)).memo,
                 QStringLiteral("一行目 二行目"));
        // Cancelled (the box returns the memo unchanged): the file stays.
        const QByteArray before = ReadFileBytes(RunRecordPath());
        typed_ = QString();
        w.run(RunRecordWindow::Command::MemoInput);
        QCOMPARE(ReadFileBytes(RunRecordPath()), before);

        answer_ = BoxAnswer::No;
        w.run(RunRecordWindow::Command::MemoDelete);
        QCOMPARE(asked_.last().first, BoxKind::Information);
        QCOMPARE(asked_.last().second,
                 QStringLiteral("2005/01/04(火)のメモを削除しますか？\r\nメモ内容[一行目 二行目]"));
        QCOMPARE(w.grid()->text(the4th, kRunMemo), QStringLiteral("一行目 二行目"));
        answer_ = BoxAnswer::Yes;
        w.run(RunRecordWindow::Command::MemoDelete);
        QCOMPARE(w.grid()->text(the4th, kRunMemo), QString());
        QCOMPARE(
            IniFile(RunRecordPath()).readString(QString::number(dayOf(2005, 1, 4)), "M", "missing"),
            QString());
        w.hide();
    }

    void changingThePeriod()
    {
        PeriodDialog dialog;
        RunRecordWindow w;
        w.setCalendarData(data_.get());
        w.setPeriodDialog(&dialog);
        w.show();
        QTimer::singleShot(0, &dialog, [&] {
            dialog.startPicker()->setDate(QDate(2005, 1, 10));
            dialog.endPicker()->setDate(QDate(2005, 1, 31));
            QTest::mouseClick(dialog.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        w.run(RunRecordWindow::Command::ChangePeriod);
        QCOMPARE(w.period(), (RunPeriod{dayOf(2005, 1, 10), dayOf(2005, 1, 31)}));
        QCOMPARE(w.grid()->rowCount(), 22);
        QCOMPARE(w.grid()->text(0, kRunDate), QStringLiteral("2005/01/10(月)"));
        QCOMPARE(w.calendar()->GetDate(), EncodeDate(2005, 1, 10));
        QCOMPARE(ReadRunPeriod(), w.period());
        // Closed without a change: nothing is read again.
        int reads = 0;
        w.setBeforeRead([&] { ++reads; });
        QTimer::singleShot(0, &dialog, [&] {
            QTest::mouseClick(dialog.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        w.run(RunRecordWindow::Command::ChangePeriod);
        QCOMPARE(reads, 0);
        w.hide();
    }

    void layoutIsKeptForTheNextStart()
    {
        // A long date format carried over from elsewhere: the date column
        // widens to show it, the stored width stays as it was.
        WriteSettingStr(REG_EnvFormatDate, QStringLiteral("yyyy年mm月dd日(aaaa)"));
        const int storedDateWidth = ReadSettingInt(REG_PCItem00Width);
        {
            RunRecordWindow w;
            w.setCalendarData(data_.get());
            w.show();
            const int dateWidth =
                w.grid()->fontMetrics().horizontalAdvance(w.grid()->text(0, kRunDate));
            QVERIFY(w.grid()->columnWidth(kRunDate) > std::max(dateWidth, storedDateWidth));
            w.grid()->setColumnWidth(kRunMemo, 217);
            w.move(120, 90);
            w.close();
        }
        QCOMPARE(ReadSettingInt(REG_PCItem00Width), storedDateWidth);
        QCOMPARE(ReadSettingInt(REG_PCItem01Width), 217);
        QVERIFY(ReadSettingInt(REG_PCFrameTop) > 0);
        RunRecordWindow again;
        QCOMPARE(again.grid()->column(kRunMemo).width, 217);
    }

private:
    std::unique_ptr<TempDataFolder> dir_;
    std::unique_ptr<FakeClock> clock_;
    std::unique_ptr<MainCalendar> data_;
    UiPrompts saved_;
    QList<QPair<BoxKind, QString>> asked_;
    BoxAnswer answer_ = BoxAnswer::Yes;
    QString typed_;
};

QTEST_MAIN(TstRunRecordWindow)
#include "tst_runrecordwindow.moc"
