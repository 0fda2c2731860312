// The schedule list's iCalendar commands: writing the rows out, and reading
// a calendar into new rows that are written at once, with a summary.
#include "schedule/ui/schedulelistwindow.h"

#include "fakeclock.h"
#include "foundation/textfile.h"
#include "schedule/icalservice.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "windowshot.h"

#include <QTest>
#include <QToolButton>

using namespace vn;
using namespace vn::test;
using Cmd = ScheduleListWindow::Command;

namespace {

const QStringList kLines = {"/ コメント行", "200502011530,10,0,1,1,20050630,定例会",
                            "200001010000,00,0,1,-8,20301231,元日"};

} // namespace

class TstScheduleListIcal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetIcalModulePath(QStringLiteral(VN_ICAL_MODULE)); }

    // Without the iCalendar module: a clear error before a file is asked
    // for, and the schedules stay as they were.
    void missingModule()
    {
        TempDataFolder dir;
        dir.writeBytes("Schedule.dat", Sjis(JoinLinesCrLf(kLines)));
        ScriptedPrompts prompts;
        int asked = 0;
        Prompts().openFile = [&](const QString&) { return ++asked, QString(); };
        Prompts().saveFile = [&](const QString&, const QString&) { return ++asked, QString(); };
        SetIcalModulePath(QStringLiteral("/nonexistent/velnote-ical"));
        ScheduleListWindow list;
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.button(Cmd::ImportIcal)->click();
        list.button(Cmd::ExportIcal)->click();
        SetIcalModulePath(QStringLiteral(VN_ICAL_MODULE));
        QCOMPARE(prompts.errors.size(), 2);
        for (const QString& e : prompts.errors)
            QVERIFY2(e.startsWith(QStringLiteral("iCalendarの機能を読み込めません [")),
                     qPrintable(e));
        QCOMPARE(asked, 0);
        QCOMPARE(list.grid()->rowCount(), 2);
        QCOMPARE(ReadFileBytes(dir.file("Schedule.dat")), Sjis(JoinLinesCrLf(kLines)));
    }

    void commandsSitBeforeClose()
    {
        TempDataFolder dir;
        ScheduleListWindow list;
        QCOMPARE(list.button(Cmd::ExportIcal)->text(),
                 QStringLiteral("iCalendar形式で書き出し..."));
        QCOMPARE(list.button(Cmd::ImportIcal)->text(), QStringLiteral("iCalendarから読み込み..."));
        QCOMPARE(list.button(Cmd::ExportIcal)->objectName(), QStringLiteral("cmdExportIcal"));
        const QList<QToolButton*> order = list.findChildren<QToolButton*>();
        QVERIFY(order.indexOf(list.button(Cmd::ImportIcal)) <
                order.indexOf(list.button(Cmd::Close)));
    }

    void exportThenImportInAnotherFolder()
    {
        FakeClock clock{EncodeDate(2005, 3, 10) + EncodeTime(10, 0)};
        ScriptedPrompts prompts;
        QString ics;
        {
            TempDataFolder dir;
            const QTemporaryDir outside; // not into the data folder
            dir.writeBytes("Schedule.dat", Sjis(JoinLinesCrLf(kLines)));
            ics = outside.filePath("out.ics");
            ScheduleListWindow list;
            list.show();
            QVERIFY(QTest::qWaitForWindowExposed(&list));
            SaveWindowShot(&list, QStringLiteral("schedule_list_ical"));
            Prompts().saveFile = [&](const QString& filter, const QString& suffix) {
                return filter.contains(QStringLiteral("*.ics")) && suffix == QLatin1String("ics")
                           ? ics
                           : QString();
            };
            list.button(Cmd::ExportIcal)->click();
            QCOMPARE(prompts.texts(), QStringList{"2件の予定を書き出しました。"});
            QCOMPARE(ReadFileBytes(ics).count("BEGIN:VEVENT"), 2);
            // The module stamps the events with the program's clock.
            QVERIFY(ReadFileBytes(ics).contains("DTSTAMP:20050310T"));
            list.close();
            // The file holds the same lines (in the list's order).
            QStringList lines = ReadLines(dir.file("Schedule.dat")), expected = kLines;
            lines.sort();
            expected.sort();
            QCOMPARE(lines, expected);
            QFile::copy(ics, QDir::tempPath() + QStringLiteral("/vn_list_ical_test.ics"));
        }
        ics = QDir::tempPath() + QStringLiteral("/vn_list_ical_test.ics");

        TempDataFolder other;
        other.writeBytes(
            "Schedule.dat",
            Sjis(QStringLiteral("/ 別のマシン\r\n200412141530,00,0,0,0,20041214,歯医者\r\n")));
        ScheduleListWindow list;
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        prompts.clear();
        Prompts().openFile = [&](const QString&) { return ics; };
        list.button(Cmd::ImportIcal)->click();
        QCOMPARE(list.grid()->rowCount(), 3);
        QCOMPARE(prompts.texts().size(), 1);
        QVERIFY(prompts.texts()[0].startsWith(QStringLiteral("2件の予定を追加しました。")));
        QCOMPARE(prompts.boxes[0].kind, BoxKind::Information);
        // Written at once; the lines that were there stay.
        const QStringList lines = ReadLines(other.file("Schedule.dat"));
        QVERIFY(lines.contains("/ 別のマシン"));
        QVERIFY(lines.contains("200412141530,00,0,0,0,20041214,歯医者"));
        QVERIFY(lines.contains(kLines[1]));
        QVERIFY(lines.contains(kLines[2]));

        // The same file again adds nothing.
        prompts.clear();
        list.button(Cmd::ImportIcal)->click();
        QCOMPARE(list.grid()->rowCount(), 3);
        QVERIFY(prompts.texts()[0].startsWith(QStringLiteral("追加する予定はありませんでした。")));
        QVERIFY(prompts.texts()[0].contains(QStringLiteral("同じ予定がすでにある: 2件")));

        // A file that is no calendar: an error, nothing changed.
        other.writeBytes("bad.ics", "not a calendar");
        Prompts().openFile = [&](const QString&) { return other.file("bad.ics"); };
        prompts.clear();
        list.button(Cmd::ImportIcal)->click();
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(list.grid()->rowCount(), 3);
        list.close();
        QFile::remove(ics);
    }
};

QTEST_MAIN(TstScheduleListIcal)
#include "tst_schedulelistical.moc"
