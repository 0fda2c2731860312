// iCalendar out and in: every kind counted day by day against an independent
// reader, the round trip, and calendars written by other programs.
#include "schedule/icalendar.h"
#include "schedule/schedulestore.h"

#include "calendar/holidaytable.h"
#include "foundation/apperror.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QProcess>
#include <QTest>

#include <map>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

// One line of every kind, and the corners of each: months without the 31st,
// 29 February, month ends on holidays and weekends, a last day before the
// start, kinds the editor never writes, alarms across midnight, texts with
// commas, semicolons and backslashes, a daily schedule across the counted
// range, and 02:30 on the night summer time begins.
const QStringList kEveryKind = {
    "200412141530,10,0,1,0,20050314,毎日の朝会",
    "200412141530,10,0,1,1,20070104,定例会, 第2会議室",
    "200301311200,05,0,1,2,20101231,月末払い",
    "200301300900,00,0,1,2,20040630,30日の点検",
    "199501010000,00,0,1,-4,20301231,月末の締め",
    "199703051800,15,0,1,4,20351231,月末金曜の報告",
    "200002150730,00,0,1,5,20201130,月末土曜の掃除",
    "200005200000,00,0,1,-7,20451231,隔週のゴミ出し",
    "200402291000,00,0,1,7,20401231,うるう日の記念",
    "199001010000,00,0,1,-8,20501231,元日",
    "200101010610,00,0,1,30,20030101,三日ごと",
    "198506010000,00,0,1,-101,20550101,十日ごと",
    "199001010900,00,0,1,10000,20501231,千日ごと",
    "200612250010,30,0,0,0,20061225,深夜の確認",
    "200612240000,00,0,0,-1,20061224,イブ",
    "200812011000,00,0,1,1,20081101,終わりが先の毎週",
    "200805150000,00,0,1,3,20080520,月末が来ない",
    "200805150900,00,0,0,3,20080515,繰り返さない月末",
    "200901010800,00,0,1,8,20101231,間隔のない種類",
    "200901010800,00,0,1,15,20101231,知らない種類",
    "201001011200,00,1,0,0,20100101,サイト; 確認\\メモ,http://example.com/a,b",
    "198501010230,00,0,1,0,20551231,毎日2時半",
};

ScheduleFields fields(const QString& line)
{
    ScheduleFields f;
    if (ReadScheduleLine(line, &f) != LineRead::Schedule)
        qFatal("unreadable test line %s", qPrintable(line));
    return f;
}

std::vector<ScheduleFields> rowsOf(const QStringList& lines)
{
    std::vector<ScheduleFields> rows;
    for (const QString& line : lines)
        rows.push_back(fields(line));
    return rows;
}

struct Holidays {
    cal::HolidayTable table;
    HolidayTest test;
    Holidays()
    {
        // National holidays with their substitutes, and two of the user's own
        // on month ends.
        table.Rebuild({"0630,1990,2050,創立記念日", "1231,1995,2045,年末休み"});
        test = [this](DateTime d) { return table.IsHoliday(d); };
    }
};

// Counts per day ("yyyymmdd" -> n) from the independent reader, Debian's
// python3-icalendar and python3-recurring-ical-events; *error says why not.
std::map<QString, int> countWithPython(const QString& ics, const QString& zone,
                                       const QString& first, const QString& last, QString* error)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(VN_ICAL_COUNT), ics, zone, first, last});
    std::map<QString, int> counts;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("ical_count.py failed: ") +
                 QString::fromLocal8Bit(p.readAllStandardError());
        return counts;
    }
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (line.size() > 9)
            counts[QString::fromLatin1(line.left(8))] = line.mid(9).toInt();
    return counts;
}

// Compares every day of the range; returns the first differences.
QStringList differences(const ScheduleStore& store, const std::map<QString, int>& python,
                        int firstYear, int lastYear, int* daysCompared)
{
    QStringList out;
    *daysCompared = 0;
    for (DateTime d = EncodeDate(firstYear, 1, 1); d <= EncodeDate(lastYear, 12, 31); d += 1) {
        const YMD ymd = DecodeDate(d);
        const QString key = DateKey(ymd.year, ymd.month, ymd.day);
        const auto it = python.find(key);
        const int theirs = it == python.end() ? 0 : it->second;
        const int ours = store.ScheduleCountOn(ymd.year, ymd.month, ymd.day);
        ++*daysCompared;
        if (ours != theirs && out.size() < 10)
            out << QStringLiteral("%1: Velnote %2, reader %3").arg(key).arg(ours).arg(theirs);
    }
    return out;
}

ScheduleStore storeOf(const QStringList& lines, const HolidayTest& holiday)
{
    ScheduleStore store;
    store.setHolidayTest(holiday);
    for (const QString& line : lines) {
        ScheduleFields f;
        if (ReadScheduleLine(line, &f) == LineRead::Schedule)
            store.ExpandOccurrences(f);
    }
    return store;
}

IcalConversion convert(const QByteArray& ics, const QString& zone = QStringLiteral("Asia/Tokyo"),
                       const QStringList& existing = {})
{
    Holidays h;
    IcalOptions o;
    o.timeZone = zone.toLatin1();
    return IcalToScheduleLines(ics, existing, h.test, o);
}

QByteArray crlf(const char* text)
{
    QByteArray b(text);
    b.replace("\n", "\r\n");
    return b;
}

} // namespace

class TstIcalendar : public QObject {
    Q_OBJECT
private slots:
    void everyKindCountsAsAnIndependentReaderCounts_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::newRow("Tokyo") << "Asia/Tokyo";
        QTest::newRow("New York (summer time)") << "America/New_York";
        QTest::newRow("UTC") << "UTC";
    }
    void everyKindCountsAsAnIndependentReaderCounts()
    {
        QFETCH(QString, zone);
        TempDataFolder dir;
        Holidays h;
        IcalOptions o;
        o.timeZone = zone.toLatin1();
        WriteFileAtomic(dir.file("all.ics"), SchedulesToIcal(rowsOf(kEveryKind), h.test, o));
        const ScheduleStore store = storeOf(kEveryKind, h.test);
        QString error;
        const auto python =
            countWithPython(dir.file("all.ics"), zone, "19900101", "20501231", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        int days = 0;
        const QStringList diff = differences(store, python, 1990, 2050, &days);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join(u'\n')));
        QCOMPARE(days, 22280);
        QVERIFY(python.size() > 5000); // the reader saw the repetitions

        // The reader takes each line property whole: its commas escaped.
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(VN_ICAL_COUNT), QStringLiteral("--lines"), dir.file("all.ics")});
        QVERIFY(p.waitForFinished(120000) && p.exitCode() == 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                 kEveryKind);
    }

    void writtenCalendarHasTheExpectedForm()
    {
        Holidays h;
        IcalOptions o;
        o.timeZone = "Asia/Tokyo";
        o.now = EncodeDate(2024, 5, 1) + EncodeTime(9, 0);
        const QString ics = QString::fromUtf8(SchedulesToIcal(
            rowsOf({"200412141530,10,0,1,1,20050314,定例会", "200501010000,00,0,1,-8,20301231,元日",
                    "200507010000,00,0,1,-5,20050831,月末"}),
            h.test, o));
        for (const char* expected :
             {"BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\n",
              "DTSTART;TZID=Asia/Tokyo:20041214T153000\r\n",
              "RRULE:FREQ=WEEKLY;UNTIL=20050314T145959Z\r\n", "TRIGGER:-PT10M\r\n",
              "DTSTART;VALUE=DATE:20050101\r\n", "DTEND;VALUE=DATE:20050102\r\n",
              "RRULE:FREQ=YEARLY;UNTIL=20301231\r\n", "COMMENT:Velnote 繰り返し: 毎年\r\n",
              // a TEXT value: its commas escaped
              "X-VELNOTE-LINE:200412141530\\,10\\,0\\,1\\,1\\,20050314\\,定例会\r\n",
              "DTSTAMP:20240501T000000Z\r\n",
              // 2005-07-31 is a Sunday: the Friday before
              "DTSTART;VALUE=DATE:20050729\r\n", "RDATE;VALUE=DATE:20050831\r\n",
              "COMMENT:Velnote 繰り返し: 月末：金\r\n"})
            QVERIFY2(ics.contains(QString::fromUtf8(expected)), expected);
        QCOMPARE(ics.count(QStringLiteral("BEGIN:VEVENT")), 3);
        QVERIFY(!ics.contains(QStringLiteral("freeassociation")));
    }

    void exportThenImportGivesTheSameLines_data()
    {
        everyKindCountsAsAnIndependentReaderCounts_data();
    }
    void exportThenImportGivesTheSameLines()
    {
        QFETCH(QString, zone);
        TempDataFolder dir;
        Holidays h;
        IcalOptions o;
        o.timeZone = zone.toLatin1();
        dir.writeBytes("Schedule.dat", Sjis(JoinLinesCrLf(kEveryKind)));
        const QTemporaryDir outside; // not into the data folder
        const QString ics = outside.filePath("out.ics");
        const IcalExportSummary out = ExportIcalFile(dir.file("Schedule.dat"), ics, h.test, o);
        QCOMPARE(out.events, int(kEveryKind.size()));

        TempDataFolder empty;
        const IcalImportSummary in = ImportIcalFile(ics, empty.file("Schedule.dat"), h.test, o);
        QCOMPARE(ReadLines(empty.file("Schedule.dat")), kEveryKind);
        QCOMPARE(in.restored, int(kEveryKind.size()));
        QCOMPARE(in.added(), int(kEveryKind.size()));
        QCOMPARE(in.skipped(), 0);

        // Reading it again adds nothing and leaves the file alone.
        const QByteArray before = empty.readBytes("Schedule.dat");
        const IcalImportSummary again = ImportIcalFile(ics, empty.file("Schedule.dat"), h.test, o);
        QCOMPARE(again.added(), 0);
        QCOMPARE(again.duplicates, int(kEveryKind.size()));
        QCOMPARE(empty.readBytes("Schedule.dat"), before);
    }

    // Without the line property (another program dropped it) the events are
    // still read back as the same repetition where one kind says it exactly.
    void calendarWithoutOwnLinesMapsOntoKinds()
    {
        Holidays h;
        IcalOptions o;
        o.timeZone = "Asia/Tokyo";
        const QStringList lines = {
            "200412141530,00,0,1,1,20050314,定例会", "200501010000,00,0,1,-8,20301231,元日",
            "200501310000,00,0,1,-4,20061231,月末", "200503010900,00,0,1,70,20050601,七日ごと",
            "200503010900,00,0,1,60,20050601,六日ごと"};
        QByteArray ics = SchedulesToIcal(rowsOf(lines), h.test, o);
        ics.replace("X-VELNOTE-LINE", "X-OTHER");
        const IcalConversion c = convert(ics);
        QCOMPARE(c.summary.repeating, 5);
        // Every seven days is also weekly; month ends start on their first
        // month end and end on their last.
        QCOMPARE(c.lines, QStringList({"200412141530,00,0,1,1,20050314,定例会",
                                       "200501010000,00,0,1,-8,20301231,元日",
                                       "200501310000,00,0,1,-4,20061230,月末",
                                       "200503010900,00,0,1,1,20050601,七日ごと",
                                       "200503010900,00,0,1,60,20050601,六日ごと"}));
    }

    // Calendars as other programs write them: time zones, all-day and
    // multi-day events, rules with BYDAY and COUNT, EXDATE, a changed
    // instance, a cancelled event, a to-do. What Velnote adds must fall on
    // the same days as the independent reader says.
    void foreignCalendarCountsAsTheReaderCounts()
    {
        TempDataFolder dir;
        const QByteArray ics = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Example//Other Calendar//EN
BEGIN:VTIMEZONE
TZID:Eastern Standard Time
BEGIN:STANDARD
DTSTART:16011104T020000
RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11
TZOFFSETFROM:-0400
TZOFFSETTO:-0500
END:STANDARD
BEGIN:DAYLIGHT
DTSTART:16010311T020000
RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3
TZOFFSETFROM:-0500
TZOFFSETTO:-0400
END:DAYLIGHT
END:VTIMEZONE
BEGIN:VEVENT
UID:weekly-ny@example
DTSTART;TZID=Eastern Standard Time:20240102T200000
DTEND;TZID=Eastern Standard Time:20240102T210000
RRULE:FREQ=WEEKLY;BYDAY=TU;UNTIL=20241231T235959Z
SUMMARY:Weekly call from New York
END:VEVENT
BEGIN:VEVENT
UID:tokyo-weekly@example
DTSTART;TZID=Asia/Tokyo:20240108T093000
RRULE:FREQ=WEEKLY;BYDAY=MO
EXDATE;TZID=Asia/Tokyo:20240115T093000,20240122T093000
SUMMARY:週次ミーティング
URL:https://example.com/meet
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER:-PT15M
DESCRIPTION:reminder
END:VALARM
END:VEVENT
BEGIN:VEVENT
UID:tokyo-weekly@example
RECURRENCE-ID;TZID=Asia/Tokyo:20240129T093000
DTSTART;TZID=Asia/Tokyo:20240130T140000
SUMMARY:週次ミーティング (火曜に変更)
END:VEVENT
BEGIN:VEVENT
UID:mwf@example
DTSTART:20240301T000000Z
RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=10
SUMMARY:Gym
END:VEVENT
BEGIN:VEVENT
UID:count@example
DTSTART;VALUE=DATE:20240410
RRULE:FREQ=MONTHLY;COUNT=6
SUMMARY:家賃
END:VEVENT
BEGIN:VEVENT
UID:trip@example
DTSTART;VALUE=DATE:20240501
DTEND;VALUE=DATE:20240504
SUMMARY:旅行
END:VEVENT
BEGIN:VEVENT
UID:floating@example
DTSTART:20240601T073000
SUMMARY:Floating breakfast
END:VEVENT
BEGIN:VEVENT
UID:monthly-exdate@example
DTSTART;TZID=Asia/Tokyo:20240105T120000
RRULE:FREQ=MONTHLY;UNTIL=20241231T000000Z
EXDATE;TZID=Asia/Tokyo:20240405T120000
SUMMARY:Lunch
END:VEVENT
BEGIN:VEVENT
UID:cancelled@example
DTSTART:20240701T010000Z
STATUS:CANCELLED
SUMMARY:Cancelled
END:VEVENT
BEGIN:VTODO
UID:todo@example
SUMMARY:Buy milk
END:VTODO
END:VCALENDAR
)");
        dir.writeBytes("foreign.ics", ics);
        const IcalConversion c = convert(ics);
        const IcalImportSummary& s = c.summary;
        QCOMPARE(s.cancelled, 1);
        QCOMPARE(s.otherComponents, 1);
        QCOMPARE(s.noStart, 0);
        QCOMPARE(s.formatErrors, 0);
        // The monthly with COUNT and the trip: repetitions; the changed
        // instance and the floating breakfast: single schedules. Expanded:
        // the New York weekly (summer time moves it from 10:00 to 9:00 here),
        // the Tokyo weekly with its exceptions (no end: up to the limit),
        // Mon/Wed/Fri and the monthly with an exception.
        QCOMPARE(s.repeating, 2);
        QCOMPARE(s.single, 2);
        QCOMPARE(s.expandedEvents, 4);
        QCOMPARE(s.cutEvents, 1);
        QVERIFY(c.lines.contains("202401031000,00,0,0,0,20240103,Weekly call from New York"));
        QVERIFY(c.lines.contains("202407030900,00,0,0,0,20240703,Weekly call from New York"));
        QVERIFY(c.lines.contains("202401301400,00,0,0,0,20240130,週次ミーティング (火曜に変更)"));
        QVERIFY(c.lines.contains("202404100000,00,0,1,-3,20240910,家賃"));
        QVERIFY(c.lines.contains("202405010000,00,0,1,-1,20240503,旅行"));
        QVERIFY(c.lines.contains("202406010730,00,0,0,0,20240601,Floating breakfast"));
        QVERIFY(c.lines.contains(
            "202401080930,15,0,0,0,20240108,週次ミーティング,https://example.com/meet"));
        QVERIFY(!c.lines.contains(
            "202401150930,15,0,0,0,20240115,週次ミーティング,https://example.com/meet"));

        // Day by day against the reader, up to where the expansion stopped.
        Holidays h;
        const ScheduleStore store = storeOf(c.lines, h.test);
        QString error;
        const auto python =
            countWithPython(dir.file("foreign.ics"), "Asia/Tokyo", "20240101", "20401231", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        int days = 0;
        // (The open-ended weekly is cut after 1000 weeks, in 2043.)
        const QStringList diff = differences(store, python, 2024, 2040, &days);
        QVERIFY2(diff.isEmpty(), qPrintable(diff.join(u'\n')));
    }

    // One event as servers and other programs write it, and the lines it
    // gives.
    void eventsFromOtherProgramsBecomeLines_data()
    {
        QTest::addColumn<QByteArray>("event"); // the VEVENT's content lines
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("formatErrors");
        QTest::newRow("own line re-escaped by a server")
            << QByteArray("UID:a\nDTSTART;TZID=Asia/Tokyo:20100101T120000\n"
                          "SUMMARY:サイト\\; 確認\\\\メモ\nURL:http://example.com/a,b\n"
                          "X-VELNOTE-LINE:201001011200\\,00\\,1\\,0\\,0\\,20100101\\,サイト\\; "
                          "確認\\\\メモ\\,http://example.com/a\\,b\n")
            << QStringList{"201001011200,00,1,0,0,20100101,サイト; "
                           "確認\\メモ,http://example.com/a,b"}
            << 0;
        QTest::newRow("own line unescaped, as written before")
            << QByteArray("UID:a\nDTSTART;VALUE=DATE:20240101\nDTEND;VALUE=DATE:20240102\n"
                          "SUMMARY:元日\nRRULE:FREQ=YEARLY;UNTIL=20301231\n"
                          "X-VELNOTE-LINE:202401010000,00,0,1,-8,20301231,元日\n")
            << QStringList{"202401010000,00,0,1,-8,20301231,元日"} << 0;
        QTest::newRow("folded inside a UTF-8 character")
            << QByteArray("UID:a\nDTSTART;VALUE=DATE:20240101\nSUMMARY:新年\xe4\xbc\n"
                          " \x9a\n")
            << QStringList{"202401010000,00,0,0,-1,20240101,新年会"} << 0;
        QTest::newRow("empty description and location")
            << QByteArray("UID:a\nDTSTART:20240101T090000Z\nSUMMARY:x\nDESCRIPTION:\n"
                          "LOCATION;LANGUAGE=ja:\n")
            << QStringList{"202401011800,00,0,0,0,20240101,x"} << 0;
        QTest::newRow("an empty start is still an error")
            << QByteArray("UID:a\nDTSTART:20240101T090000Z\nSUMMARY:x\nDTEND:\n")
            << QStringList{"202401011800,00,0,0,0,20240101,x"} << 1;
        QTest::newRow("mail alarm passed over for the display alarm")
            << QByteArray("UID:a\nDTSTART:20240101T090000Z\nSUMMARY:x\nBEGIN:VALARM\n"
                          "ACTION:EMAIL\nTRIGGER:-PT60M\nSUMMARY:x\nDESCRIPTION:x\n"
                          "ATTENDEE:mailto:a@example.com\nEND:VALARM\nBEGIN:VALARM\n"
                          "ACTION:AUDIO\nTRIGGER:-PT5M\nEND:VALARM\n")
            << QStringList{"202401011800,05,0,0,0,20240101,x"} << 0;
        QTest::newRow("only a mail alarm: none")
            << QByteArray("UID:a\nDTSTART:20240101T090000Z\nSUMMARY:x\nBEGIN:VALARM\n"
                          "ACTION:EMAIL\nTRIGGER:-PT60M\nSUMMARY:x\nDESCRIPTION:x\n"
                          "ATTENDEE:mailto:a@example.com\nEND:VALARM\n")
            << QStringList{"202401011800,00,0,0,0,20240101,x"} << 0;
        QTest::newRow("weekly two-day event: a weekly line for each day")
            << QByteArray("UID:a\nDTSTART;VALUE=DATE:20240106\nDTEND;VALUE=DATE:20240108\n"
                          "RRULE:FREQ=WEEKLY;COUNT=3\nSUMMARY:週末\n")
            << QStringList{"202401060000,00,0,1,-2,20240120,週末",
                           "202401070000,00,0,1,-2,20240121,週末"}
            << 0;
        QTest::newRow("a two-day event on odd dates: each over its days")
            << QByteArray("UID:a\nDTSTART;VALUE=DATE:20240106\nDTEND;VALUE=DATE:20240108\n"
                          "RDATE;VALUE=DATE:20240203,20240210\nSUMMARY:合宿\n")
            << QStringList{"202401060000,00,0,1,-1,20240107,合宿",
                           "202402030000,00,0,1,-1,20240204,合宿",
                           "202402100000,00,0,1,-1,20240211,合宿"}
            << 0;
        QTest::newRow("a three-day event once a year, once")
            << QByteArray("UID:a\nDTSTART;VALUE=DATE:20240428\nDTEND;VALUE=DATE:20240501\n"
                          "RRULE:FREQ=YEARLY;COUNT=1\nSUMMARY:連休\n")
            << QStringList{"202404280000,00,0,1,-1,20240430,連休"} << 0;
    }
    void eventsFromOtherProgramsBecomeLines()
    {
        QFETCH(QByteArray, event);
        QFETCH(QStringList, lines);
        QFETCH(int, formatErrors);
        const QByteArray ics = crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Other//EN\n"
                                    "BEGIN:VEVENT\n") +
                               crlf(event.constData()) + crlf("END:VEVENT\nEND:VCALENDAR\n");
        const IcalConversion c = convert(ics);
        QCOMPARE(c.lines, lines);
        QCOMPARE(c.summary.formatErrors, formatErrors);
    }

    void summaryNamesWhatWasLeftOutAndWhy()
    {
        const QByteArray ics = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Example//EN
BEGIN:VEVENT
UID:a
DTSTART:20240101T090000Z
SUMMARY:ok
END:VEVENT
THIS LINE IS BROKEN
BEGIN:VEVENT
UID:b
SUMMARY:no start
END:VEVENT
BEGIN:VEVENT
UID:c
DTSTART:20240102T090000Z
EXDATE:20240102T090000Z
SUMMARY:all excluded
END:VEVENT
BEGIN:VEVENT
UID:d
DTSTART:20240103T090000Z
RRULE:FREQ=HOURLY;INTERVAL=5
SUMMARY:too many
END:VEVENT
BEGIN:VJOURNAL
UID:e
END:VJOURNAL
END:VCALENDAR
)");
        const IcalConversion c = convert(ics, "UTC", {"202401010900,00,0,0,0,20240101,ok"});
        const IcalImportSummary& s = c.summary;
        QCOMPARE(s.duplicates, 1);
        QCOMPARE(s.noStart, 1);
        QCOMPARE(s.noOccurrence, 1);
        QCOMPARE(s.otherComponents, 1);
        QCOMPARE(s.expandedEvents, 1);
        QCOMPARE(s.expandedLines, kIcalExpandLimit);
        QCOMPARE(s.cutEvents, 1);
        QVERIFY(s.formatErrors >= 1);
        const QString text = s.text();
        for (const char* expected : {"1000件の予定を追加しました。",
                                     "・繰り返しを単独の予定に展開して: 1件の予定から1000件",
                                     "4件は読み込みませんでした。", "・同じ予定がすでにある: 1件",
                                     "・開始日時がない予定: 1件", "・日付がすべて除かれた予定: 1件",
                                     "・予定ではない項目 (ToDoなど): 1件",
                                     "展開の上限 (1件につき1000件)", "iCalendarの書式の誤り"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
        // Five-hourly: several single schedules on one day, at their own times.
        QCOMPARE(c.lines.value(0), QStringLiteral("202401030900,00,0,0,0,20240103,too many"));
        QCOMPARE(c.lines.value(1), QStringLiteral("202401031400,00,0,0,0,20240103,too many"));
    }

    // A schedule's text is at most 255 Shift-JIS bytes: a longer summary is
    // cut at a character, and content lines far past any use are cut before
    // they are parsed; the summary says so.
    void longTextsAreCutWithAWord_data()
    {
        QTest::addColumn<QByteArray>("summary"); // the SUMMARY line's value, unfolded
        QTest::addColumn<QByteArray>("other");   // a further property line
        QTest::addColumn<bool>("fold");          // folded at 75 bytes as writers do
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cutTexts");
        QTest::addColumn<int>("cutLines");
        const QByteArray kana = QStringLiteral("予").repeated(200).toUtf8(); // 400 bytes
        QTest::newRow("255 bytes: kept")
            << QByteArray(255, 'a') << QByteArray() << false << QString(255, u'a') << 0 << 0;
        QTest::newRow("300 bytes")
            << QByteArray(300, 'a') << QByteArray() << false << QString(255, u'a') << 1 << 0;
        QTest::newRow("kana: whole characters")
            << kana << QByteArray() << false << QStringLiteral("予").repeated(127) << 1 << 0;
        QTest::newRow("1 MB on one line")
            << QByteArray(1 << 20, 'b') << QByteArray() << false << QString(255, u'b') << 1 << 1;
        QTest::newRow("1 MB folded")
            << QByteArray(1 << 20, 'c') << QByteArray() << true << QString(255, u'c') << 1 << 1;
        QTest::newRow("a long description beside a short summary")
            << QByteArray("short") << "DESCRIPTION:" + QByteArray(300 * 1024, 'd') << true
            << QStringLiteral("short") << 0 << 1;
    }
    void longTextsAreCutWithAWord()
    {
        QFETCH(QByteArray, summary);
        QFETCH(QByteArray, other);
        QFETCH(bool, fold);
        QFETCH(QString, text);
        QFETCH(int, cutTexts);
        QFETCH(int, cutLines);
        const auto contentLine = [fold](const QByteArray& line) {
            if (!fold)
                return line + "\r\n";
            QByteArray out;
            for (qsizetype i = 0; i < line.size(); i += 74)
                out += (i ? " " : "") + line.mid(i, 74) + "\r\n";
            return out;
        };
        QByteArray ics = crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Example//EN\n"
                              "BEGIN:VEVENT\nUID:a\nDTSTART:20240101T090000Z\n");
        ics += contentLine("SUMMARY:" + summary);
        if (!other.isEmpty())
            ics += contentLine(other);
        ics += crlf("END:VEVENT\nEND:VCALENDAR\n");
        const IcalConversion c = convert(ics, "UTC");
        QCOMPARE(c.lines, QStringList({"202401010900,00,0,0,0,20240101," + text}));
        QCOMPARE(c.summary.cutTexts, cutTexts);
        QCOMPARE(c.summary.cutLines, cutLines);
        QCOMPARE(c.summary.text().contains(QStringLiteral("長すぎる")), cutTexts + cutLines > 0);
    }

    void textsBecomeSafeLines()
    {
        const QByteArray ics = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Example//EN
BEGIN:VEVENT
UID:a
DTSTART;VALUE=DATE:20240101
SUMMARY:  see\, http://x.example\nsecond line  
URL:mailto:someone@example.com
END:VEVENT
BEGIN:VEVENT
UID:b
DTSTART;VALUE=DATE:20240102
URL:HTTP://EXAMPLE.COM/x
END:VEVENT
BEGIN:VEVENT
UID:c
DTSTART;VALUE=DATE:20240103
SUMMARY:絵文字😀
END:VEVENT
END:VCALENDAR
)");
        const IcalConversion c = convert(ics);
        QCOMPARE(c.lines,
                 QStringList({"202401010000,00,0,0,-1,20240101,see, http://x.example second line",
                              "202401020000,00,0,0,-1,20240102,(件名なし),http://EXAMPLE.COM/x",
                              "202401030000,00,0,0,-1,20240103,絵文字😀"}));
        for (const QString& line : c.lines) {
            ScheduleFields f;
            QCOMPARE(ReadScheduleLine(line, &f), LineRead::Schedule);
            QCOMPARE(ComposeScheduleLine(f), line);
        }
    }

    // What was on disk stays there byte for byte; the file is written once.
    void importLosesNothingAlreadyThere()
    {
        TempDataFolder dir;
        Holidays h;
        const QByteArray old = Sjis(
            JoinLinesCrLf({"/ コメント", "200412141530,10,0,1,1,20050314,定例会", "読めない行"}));
        dir.writeBytes("Schedule.dat", old);
        dir.writeBytes("a.ics", crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VEVENT\nUID:1\n"
                                     "DTSTART;VALUE=DATE:20240101\nSUMMARY:新年\nEND:VEVENT\n"
                                     "END:VCALENDAR\n"));
        ImportIcalFile(dir.file("a.ics"), dir.file("Schedule.dat"), h.test, {});
        QCOMPARE(dir.readBytes("Schedule.dat"),
                 old + Sjis(QStringLiteral("202401010000,00,0,0,-1,20240101,新年\r\n")));

        // Text Shift-JIS cannot hold turns the file into UTF-8; the lines
        // read the same.
        dir.writeBytes("b.ics", crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VEVENT\nUID:2\n"
                                     "DTSTART;VALUE=DATE:20240102\nSUMMARY:😀\nEND:VEVENT\n"
                                     "END:VCALENDAR\n"));
        const QStringList before = ReadLines(dir.file("Schedule.dat"));
        ImportIcalFile(dir.file("b.ics"), dir.file("Schedule.dat"), h.test, {});
        QCOMPARE(ReadLines(dir.file("Schedule.dat")),
                 before + QStringList{"202401020000,00,0,0,-1,20240102,😀"});
    }

    // A first import on a new machine: no Schedule.dat yet is an empty one,
    // whatever encoding the text needs.
    void importAppendsToWhatIsThere_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("summary");
        QTest::newRow("no file, Shift-JIS text") << false << QStringLiteral("新年会");
        QTest::newRow("no file, text needing UTF-8") << false << QStringLiteral("Café 😀");
        QTest::newRow("a file, text needing UTF-8") << true << QStringLiteral("Café 😀");
    }
    void importAppendsToWhatIsThere()
    {
        QFETCH(bool, fileThere);
        QFETCH(QString, summary);
        TempDataFolder dir;
        Holidays h;
        const QStringList old = {"200412141530,10,0,1,1,20050314,定例会"};
        if (fileThere)
            dir.writeBytes("Schedule.dat", Sjis(JoinLinesCrLf(old)));
        dir.writeBytes("a.ics", crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VEVENT\nUID:1\n"
                                     "DTSTART;VALUE=DATE:20240101\nSUMMARY:") +
                                    summary.toUtf8() + crlf("\nEND:VEVENT\nEND:VCALENDAR\n"));
        const IcalImportSummary s =
            ImportIcalFile(dir.file("a.ics"), dir.file("Schedule.dat"), h.test, {});
        QCOMPARE(s.added(), 1);
        QCOMPARE(ReadLines(dir.file("Schedule.dat")),
                 (fileThere ? old : QStringList()) +
                     QStringList{"202401010000,00,0,0,-1,20240101," + summary});
    }

    void badFilesAreErrorsAndChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("hello\r\nworld\r\n");
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe BEGIN", 10);
        QTest::newRow("no end") << crlf("BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:2024");
    }
    void badFilesAreErrorsAndChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        TempDataFolder dir;
        Holidays h;
        const QByteArray old = Sjis(QStringLiteral("200412141530,10,0,1,1,20050314,定例会\r\n"));
        dir.writeBytes("Schedule.dat", old);
        dir.writeBytes("bad.ics", bytes);
        try {
            const IcalImportSummary s =
                ImportIcalFile(dir.file("bad.ics"), dir.file("Schedule.dat"), h.test, {});
            QCOMPARE(s.added(), 0); // readable but empty
        } catch (const AppError& e) {
            QVERIFY(!e.message().isEmpty());
        }
        QCOMPARE(dir.readBytes("Schedule.dat"), old);
        try {
            ImportIcalFile(dir.file("missing.ics"), dir.file("Schedule.dat"), h.test, {});
            QFAIL("a missing file was read");
        } catch (const AppError& e) {
            // Said in Japanese; the system's words only in brackets at the end.
            const QString said = e.message().section(u'[', 0, 0);
            QVERIFY2(!said.contains(QLatin1String("No such")) && e.message().endsWith(u']'),
                     qPrintable(e.message()));
        }
        QCOMPARE(dir.readBytes("Schedule.dat"), old);
    }

    void shiftJisCalendarIsRead()
    {
        const QByteArray ics = Sjis(QStringLiteral(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
            "DTSTART;VALUE=DATE:20240101\r\nSUMMARY:新年会\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
        QCOMPARE(convert(ics).lines, QStringList({"202401010000,00,0,0,-1,20240101,新年会"}));
    }
};

QTEST_GUILESS_MAIN(TstIcalendar)
#include "tst_icalendar.moc"
