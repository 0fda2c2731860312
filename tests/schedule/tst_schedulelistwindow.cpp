// The schedule list: the columns of each kind of schedule, the order on
// opening and in the file, kept lines, adding and changing through the
// editor, deleting, and the past-schedule colour.
#include "schedule/ui/schedulelistwindow.h"

#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "modal.h"
#include "schedule/ui/scheduleeditor.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "ui_scheduleeditor.h"
#include "widgets/colorref.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace vn;
using namespace vn::test;
using Col = ScheduleListWindow::Column;
using Cmd = ScheduleListWindow::Command;

namespace {

const char* const kYearly = "200001010000,00,0,1,-8,20301231,元日";
const char* const kWeekly = "200502011530,10,0,1,1,20050630,定例会";
const char* const kToday = "200503100800,00,0,0,0,20050310,朝会,http://example.jp/";
const char* const kPast = "200501010900,05,0,1,0,20050131,日課";

struct Fixture {
    TempDataFolder dir;
    FakeClock clock{EncodeDate(2005, 3, 10) + EncodeTime(10, 0)};
    ScriptedPrompts prompts;
    ScheduleEditor editor;
    ScheduleListWindow list;
    int pastColour = 0x00C0C0C0;
    Fixture()
    {
        list.setEditor(&editor);
        list.setPastColour(&pastColour);
    }
    void writeLines(const QStringList& lines)
    {
        dir.writeBytes("Schedule.dat", Sjis(JoinLinesCrLf(lines)));
    }
    void open()
    {
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 0; r < list.grid()->rowCount(); ++r)
            out.append(list.grid()->text(r, c));
        return out;
    }
    QColor colourOf(int row) const
    {
        return list.grid()
            ->model()
            ->data(list.grid()->model()->index(row, Col::Text), Qt::ForegroundRole)
            .value<QColor>();
    }
};

} // namespace

class TstScheduleListWindow : public QObject {
    Q_OBJECT
private slots:
    void columnsOfEachKindAndTheOrder()
    {
        Fixture f;
        f.writeLines({kPast, kToday, kYearly, kWeekly});
        f.open();
        const ListGrid* g = f.list.grid();
        // Descending by the distance of the nearest occurrence.
        QCOMPARE(f.column(Col::FromToday), QStringList({"297日後", "5日後", "本日", "38日前"}));
        QCOMPARE(f.column(Col::Nearest),
                 QStringList({"2006/01/01(日) 終日", "2005/03/15(火) 15:30", "2005/03/10(木) 08:00",
                              "2005/01/31(月) 09:00"}));
        QCOMPARE(f.column(Col::Interval), QStringList({"毎年", "毎週", "", "毎日"}));
        QCOMPARE(f.column(Col::LastDayText),
                 QStringList({"2030/12/31(火)", "2005/06/30(木)", "", "2005/01/31(月)"}));
        QCOMPARE(f.column(Col::Text), QStringList({"元日", "定例会", "朝会", "日課"}));
        QVERIFY(g->checked(1, Col::Repeats));
        QVERIFY(!g->checked(2, Col::Repeats));
        QVERIFY(g->checked(2, Col::OpensUrl) == false);
        QCOMPARE(g->text(2, Col::Url), QStringLiteral("http://example.jp/"));
        QCOMPARE(g->number(1, Col::Alarm), 10);
        QCOMPARE(g->number(0, Col::Offset), 297);
        QCOMPARE(g->number(3, Col::Offset), -38);
        QCOMPARE(g->text(1, Col::StartKey), QStringLiteral("200502011530"));
        QCOMPARE(g->number(0, Col::AllDay), 1);
        QCOMPARE(g->number(0, Col::Kind), 7);
        for (int c : {Col::StartDay, Col::Hour, Col::Kind, Col::Offset, Col::AllDay})
            QVERIFY(g->isColumnHidden(c));
        for (int c : {Col::FromToday, Col::Nearest, Col::Alarm, Col::Repeats, Col::Url})
            QVERIFY(!g->isColumnHidden(c));
        // The file's first row stays current through the sort.
        QCOMPARE(g->currentRow(), 3);
        // Past schedules in the past colour; the others black, the alarm blue.
        QCOMPARE(f.colourOf(3), ToQColor(0x00C0C0C0));
        QCOMPARE(f.colourOf(1), QColor(Qt::black));
        QCOMPARE(
            g->model()->data(g->model()->index(1, Col::Alarm), Qt::ForegroundRole).value<QColor>(),
            QColor(Qt::blue));

        // Closing with nothing changed leaves the file as it was: every row
        // composes its line again (the all-day yearly one as kind -8).
        f.list.close();
        QCOMPARE(ReadLines(SchedulePath()), QStringList({kPast, kToday, kYearly, kWeekly}));
        QVERIFY(f.prompts.errors.isEmpty());
    }

    void anOpenListFollowsItsFileChangedOutside()
    {
        Fixture f;
        f.writeLines({kYearly, kWeekly});
        f.open();
        // Nothing changed here: the list shows the line added outside.
        f.writeLines({kYearly, kWeekly, kToday});
        QTRY_COMPARE(f.list.grid()->rowCount(), 3);
        // A row deleted here, then a line added outside: the list keeps its
        // rows, and the close merges both into the file.
        f.list.grid()->setCurrentRow(f.column(Col::Text).indexOf("元日"));
        f.list.button(Cmd::Delete)->click();
        f.writeLines({kYearly, kWeekly, kToday, kPast});
        QTest::qWait(1500);
        QCOMPARE(f.list.grid()->rowCount(), 2);
        f.list.close();
        QStringList onDisk = ReadLines(f.dir.file("Schedule.dat"));
        QStringList expected{kPast, kToday, kWeekly};
        onDisk.sort();
        expected.sort();
        QCOMPARE(onDisk, expected);
    }

    void aBadLineInTheMiddleSurvivesByteForByte()
    {
        Fixture f;
        const QByteArray bad("2005\0xx01,\x82\xff,bad\r\n", 18); // a NUL, bytes no text
        const QByteArray bytes = Sjis(JoinLinesCrLf({"/ 予定", kYearly, kWeekly})) + bad +
                                 Sjis(JoinLinesCrLf({kToday, kPast}));
        f.dir.writeBytes("Schedule.dat", bytes);
        f.open();
        QCOMPARE(f.list.grid()->rowCount(), 4);
        QTRY_COMPARE(f.prompts.errors.size(), 1);
        QVERIFY(f.prompts.errors[0].contains(QStringLiteral("4 行目")));
        f.list.close();
        QCOMPARE(f.dir.readBytes("Schedule.dat"), bytes);

        // Ascending order then deleting the first row: rows fill the places
        // around the kept lines.
        f.open();
        f.list.button(Cmd::SortAscending)->click();
        QCOMPARE(f.column(Col::Text), QStringList({"日課", "朝会", "定例会", "元日"}));
        f.list.grid()->setCurrentRow(0);
        f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.prompts.boxes.last().text,
                 QStringLiteral(
                     "削除します？\r\n\r\n予定日時 = [2005/01/01 09:00]\r\n内容　　 = [日課]"));
        QCOMPARE(f.list.grid()->currentRow(), 0);
        f.list.close();
        QCOMPARE(f.dir.readBytes("Schedule.dat"), Sjis(JoinLinesCrLf({"/ 予定", kToday, kWeekly})) +
                                                      bad + Sjis(JoinLinesCrLf({kYearly})));
    }

    void aLinkOutOfTheDataFolderIsRewrittenOnlyWhenTheUserSaysSo()
    {
        Fixture f;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.path() + "/passwd";
        const QByteArray old = Sjis(JoinLinesCrLf({kYearly, kWeekly}));
        QFile t(target);
        QVERIFY(t.open(QIODevice::WriteOnly) && t.write(old) == old.size());
        t.close();
        QVERIFY(QFile::remove(f.dir.file("Schedule.dat")) || !f.dir.exists("Schedule.dat"));
        QVERIFY(QFile::link(target, f.dir.file("Schedule.dat")));
        auto targetBytes = [&] {
            QFile in(target);
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        };
        // Unchanged: closed without a question, the target as it was.
        f.open();
        f.list.close();
        QVERIFY(!f.list.isVisible());
        QVERIFY(f.prompts.boxes.isEmpty());
        // Changed, and the user says no: the window closes, the target stays.
        f.open();
        f.list.grid()->setCurrentRow(0);
        f.list.button(Cmd::Delete)->click(); // yes to the deletion
        f.prompts.answers = {BoxAnswer::No};
        f.list.close();
        QVERIFY(!f.list.isVisible());
        QVERIFY(f.prompts.boxes.last().text.contains(QStringLiteral("シンボリックリンク")));
        QCOMPARE(targetBytes(), old);
        QVERIFY(QFileInfo(f.dir.file("Schedule.dat")).isSymLink());
    }

    void addingChangingAndDeleting()
    {
        Fixture f;
        f.writeLines({kWeekly});
        f.open();
        // A new schedule from the list: the editor in list mode, today.
        WhenShown(&f.editor, [&] {
            QCOMPARE(f.editor.mode(), ScheduleEditor::Mode::List);
            QCOMPARE(f.editor.form().dtDate->date(), QDate(2005, 3, 10));
            f.editor.form().txtName->setText(QStringLiteral("新しい予定"));
            f.editor.form().spinHH->setValue(18);
            f.editor.form().spinNN->setValue(0);
            f.editor.form().cmdAdd->click();
        });
        f.list.button(Cmd::Add)->click();
        QCOMPARE(f.column(Col::Text), QStringList({"定例会", "新しい予定"}));
        QCOMPARE(f.list.grid()->currentRow(), 1);
        QCOMPARE(f.list.grid()->text(1, Col::FromToday), QStringLiteral("本日"));
        QCOMPARE(f.list.grid()->number(1, Col::StoredPosition), 1);

        // A double click changes the row; "新規登録" adds one and keeps it.
        WhenShown(&f.editor, [&] {
            QCOMPARE(f.editor.position(), 0);
            QCOMPARE(f.editor.values().text, QStringLiteral("定例会"));
            f.editor.form().txtName->setText(QStringLiteral("定例会（臨時）"));
            f.editor.form().cmdNew->click();
        });
        const QRect cell = f.list.grid()->visualRect(f.list.grid()->model()->index(0, Col::Text));
        QTest::mouseClick(f.list.grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(f.list.grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(f.column(Col::Text), QStringList({"定例会", "新しい予定", "定例会（臨時）"}));
        QCOMPARE(f.list.grid()->currentRow(), 2);
        f.list.grid()->setCurrentRow(0);
        WhenShown(&f.editor, [&] {
            f.editor.form().chkLoop->setChecked(false);
            f.editor.form().cmdAdd->click();
        });
        f.list.button(Cmd::Change)->click();
        QCOMPARE(f.list.grid()->text(0, Col::FromToday), QStringLiteral("37日前"));
        QCOMPARE(f.list.grid()->text(0, Col::Interval), QString());
        QCOMPARE(f.colourOf(0), ToQColor(0x00C0C0C0));

        // Deleting with its answers.
        f.prompts.answers = {BoxAnswer::No};
        f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.list.grid()->rowCount(), 3);
        QCOMPARE(f.prompts.boxes.last().kind, BoxKind::Confirmation);
        for (int i = 0; i < 3; ++i)
            f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.list.grid()->rowCount(), 0);
        f.prompts.clear();
        f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.prompts.texts(), QStringList({"削除データなし"}));
        f.list.button(Cmd::Close)->click();
        QVERIFY(!f.list.isVisible());
        QCOMPARE(f.dir.readBytes("Schedule.dat"), QByteArray());
    }

    // A narrow list window lists the buttons its bar has no room for in
    // the bar's » menu, and an item there runs its command.
    void aNarrowWindowListsTheButtonsThatDoNotFit()
    {
        Fixture f;
        f.writeLines({kToday});
        f.list.resize(300, 300);
        f.open();
        auto* more = f.list.toolBar()->findChild<QToolButton*>("qt_toolbar_ext_button");
        QVERIFY(more && more->isVisible() && more->menu());
        QToolButton* close = f.list.button(Cmd::Close);
        QVERIFY(!close->isVisible());
        QVERIFY(more->menu()->actions().contains(close->defaultAction()));
        close->defaultAction()->trigger();
        QVERIFY(!f.list.isVisible());
    }

    void thePastScheduleColour()
    {
        Fixture f;
        f.writeLines({kPast, kWeekly});
        f.open();
        f.prompts.colour = QColor(0x12, 0x34, 0x56);
        f.list.pastColourAction()->trigger();
        QCOMPARE(f.prompts.colourAsked, ToQColor(0x00C0C0C0));
        QCOMPARE(f.pastColour, 0x00563412); // the program's one value
        QCOMPARE(ReadSettingInt(REG_ScheduleOldColor), 0x00563412);
        QCOMPARE(f.colourOf(1), QColor(0x12, 0x34, 0x56));
        // Cancelled: nothing changes.
        f.prompts.colour.reset();
        f.list.pastColourAction()->trigger();
        QCOMPARE(f.pastColour, 0x00563412);
        f.list.close();
    }
};

QTEST_MAIN(TstScheduleListWindow)
#include "tst_schedulelistwindow.moc"
