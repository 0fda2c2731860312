// The occurrence store: loading, indexes, lookups and the two writers.
#include "schedule/schedulelistfile.h"
#include "schedule/schedulestore.h"

#include "foundation/paths.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QRandomGenerator>
#include <QTest>

#include <map>
#include <memory>
#include <set>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

ScheduleFields fields(const QString& text)
{
    ScheduleFields f;
    if (ReadScheduleLine(text, &f) != LineRead::Schedule)
        qFatal("unreadable test line");
    return f;
}

QByteArray crlf(const QStringList& lines)
{
    return Sjis(JoinLinesCrLf(lines));
}

QStringList textsOn(const ScheduleStore& s, int y, int m, int d)
{
    QStringList out;
    for (const ScheduleOccurrence* o : s.occurrencesOn(y, m, d))
        out.append(o->text);
    return out;
}

// The three indexes as plain maps from key to the lines' numbers, the line
// added last first: what the store must answer, whichever years it built
// and in whatever order it was asked.
struct PlainIndexes {
    std::map<qint64, std::vector<quint32>> day, start, alarm;

    void add(const ScheduleFields& f, quint32 id, const HolidayTest& holiday)
    {
        WalkOccurrences(f, holiday, [&](const YMD& d) {
            const qint64 dayKey = DateKeyValue(d.year, d.month, d.day);
            const auto front = [id](std::vector<quint32>& ids) { ids.insert(ids.begin(), id); };
            front(day[dayKey]);
            front(start[dayKey * 10000 + f.hour * 100 + f.minute]);
            if (!f.allDay && f.alarm != 0) {
                const QDateTime at =
                    QDateTime(QDate(d.year, d.month, d.day), QTime(f.hour, f.minute), Qt::UTC)
                        .addSecs(-60 * qint64(f.alarm));
                front(alarm[MinuteKeyValue(at.date().year(), at.date().month(), at.date().day(),
                                           at.time().hour(), at.time().minute())]);
            }
            return true;
        });
    }
    static std::vector<IndexPair> flat(const std::map<qint64, std::vector<quint32>>& index)
    {
        std::vector<IndexPair> out;
        for (const auto& [key, ids] : index)
            for (quint32 id : ids)
                out.push_back({key, id});
        return out;
    }
};

bool samePairs(const std::vector<IndexPair>& a, const std::vector<IndexPair>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](auto& x, auto& y) {
        return x.key == y.key && x.occurrence == y.occurrence;
    });
}

// A random line: mostly short repetitions in a few years, some long daily
// ones, month ends, alarms reaching into the day or the year before.
ScheduleFields randomLine(QRandomGenerator& r, int n)
{
    ScheduleFields f;
    f.year = 2003 + r.bounded(6);
    f.month = 1 + r.bounded(12);
    f.day = r.bounded(3) == 0 ? DaysInMonth(f.year, f.month) : 1 + r.bounded(28);
    if (r.bounded(10) == 0) { // New Year's Day just after midnight
        f.month = f.day = 1;
    } else if (r.bounded(10) == 0) { // around the first day of date-time values
        f.year = 1899;
        f.month = 12;
        f.day = 25 + r.bounded(7);
    }
    f.hour = r.bounded(3) == 0 ? 0 : r.bounded(24);
    f.minute = r.bounded(3) == 0 ? 0 : r.bounded(60);
    static const int alarms[] = {0, 0, 5, 30, 90, 1440, 3000, 600000};
    f.alarm = alarms[r.bounded(int(std::size(alarms)))];
    static const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 20, 90};
    f.kind = kinds[r.bounded(int(std::size(kinds)))];
    f.repeat = r.bounded(5) == 0 ? 0 : 1;
    f.allDay = r.bounded(6) == 0;
    if (f.allDay)
        f.hour = f.minute = f.alarm = 0;
    const qint64 span = r.bounded(4) == 0 ? 3000 : r.bounded(120);
    const YMD l = DecodeDate(EncodeDate(f.year, f.month, f.day) + double(span));
    f.lastYear = l.year;
    f.lastMonth = l.month;
    f.lastDay = l.day;
    f.text = QStringLiteral("予定%1").arg(n);
    f.urlFlag = n % 2;
    f.url = QStringLiteral("http://example.jp/%1").arg(n);
    return f;
}

} // namespace

class TstScheduleStore : public QObject {
    Q_OBJECT
private slots:
    void indexesHoldEveryOccurrence()
    {
        TempDataFolder dir;
        dir.writeBytes("Schedule.dat", crlf({"200412141530,10,0,1,1,20050104,weekly",
                                             "200412200000,00,0,1,-1,20041222,all day"}));
        ScheduleStore s;
        QVERIFY(s.LoadSchedules(SchedulePath()).ok());
        QCOMPARE(s.scheduleFilePath(), SchedulePath());
        QCOMPARE(s.dayIndex().size(), size_t(4 + 3));
        QCOMPARE(s.startIndex().size(), size_t(4 + 3));
        QCOMPARE(s.alarmIndex().size(), size_t(4)); // all-day lines have no alarm
        QCOMPARE(s.ScheduleCountOn(2004, 12, 21), 2);
        QCOMPARE(s.ScheduleCountOn(2004, 12, 22), 1);
        QCOMPARE(s.ScheduleCountOn(2004, 12, 23), 0);
        for (const auto* index : {&s.dayIndex(), &s.startIndex(), &s.alarmIndex()})
            QVERIFY(std::is_sorted(index->begin(), index->end(),
                                   [](auto& a, auto& b) { return a.key < b.key; }));

        // All-day occurrences are in the start index at 00:00.
        QCOMPARE(s.ScheduleAt(QStringLiteral("200412210000")).text, QStringLiteral("all day"));
        QCOMPARE(s.ScheduleAt(QStringLiteral("200412281530")).text, QStringLiteral("weekly"));
        QVERIFY(s.ScheduleAt(QStringLiteral("200412281531")).text.isEmpty());
        QVERIFY(s.ScheduleAt(QStringLiteral("garbage")).text.isEmpty());
        const AlarmHit a = s.AlarmAt(QStringLiteral("200501041520"));
        QCOMPARE(a.text, QStringLiteral("weekly"));
        QCOMPARE(a.alarm, 10);
        QCOMPARE(a.start, QStringLiteral("15:30"));
        QVERIFY(s.AlarmAt(QStringLiteral("200501041530")).text.isEmpty());
    }

    void equalKeysPutTheLaterAdditionFirst()
    {
        TempDataFolder dir;
        dir.writeBytes("Schedule.dat", crlf({"200501100900,05,1,0,0,20050110,first,http://a",
                                             "200501100900,05,0,0,0,20050110,second",
                                             "200501101000,65,0,0,0,20050110,third"}));
        ScheduleStore s;
        s.LoadSchedules(SchedulePath());
        const ScheduleHit hit = s.ScheduleAt(MinuteKey(2005, 1, 10, 9, 0));
        QCOMPARE(hit.text, QStringLiteral("second"));
        QCOMPARE(hit.urlFlag, 0);
        QCOMPARE(textsOn(s, 2005, 1, 10), QStringList({"third", "second", "first"}));
        // Both alarms fall at 08:55; the later line's comes first.
        QCOMPARE(s.AlarmAt(MinuteKey(2005, 1, 10, 8, 55)).text, QStringLiteral("third"));

        // An occurrence added after the load goes in front of the equal keys.
        s.ExpandOccurrences(fields("200501100900,05,1,0,0,20050110,fourth,http://d"));
        const ScheduleHit added = s.ScheduleAt(MinuteKey(2005, 1, 10, 9, 0));
        QCOMPARE(added.text, QStringLiteral("fourth"));
        QCOMPARE(added.urlFlag, 1);
        QCOMPARE(added.url, QStringLiteral("http://d"));
        QCOMPARE(textsOn(s, 2005, 1, 10), QStringList({"fourth", "third", "second", "first"}));
        QCOMPARE(s.AlarmAt(MinuteKey(2005, 1, 10, 8, 55)).text, QStringLiteral("fourth"));

        // The same when the occurrence comes before any minute was looked up
        // (the start and alarm indexes of the file are built on first use).
        ScheduleStore t;
        t.LoadSchedules(SchedulePath());
        t.ExpandOccurrences(fields("200501100900,05,1,0,0,20050110,fourth,http://d"));
        QCOMPARE(t.ScheduleAt(MinuteKey(2005, 1, 10, 9, 0)).text, QStringLiteral("fourth"));
        QCOMPARE(t.AlarmAt(MinuteKey(2005, 1, 10, 8, 55)).text, QStringLiteral("fourth"));
        QCOMPARE(t.startIndex().size(), size_t(4));
        QCOMPARE(t.alarmIndex().size(), size_t(4));
        for (const auto* index : {&t.startIndex(), &t.alarmIndex()})
            QVERIFY(std::is_sorted(index->begin(), index->end(),
                                   [](auto& a, auto& b) { return a.key < b.key; }));
        // A new load forgets what the last one had not built yet.
        dir.writeBytes("Schedule.dat", crlf({"200501100900,05,0,0,0,20050110,only"}));
        t.LoadSchedules(SchedulePath());
        QCOMPARE(t.ScheduleAt(MinuteKey(2005, 1, 10, 9, 0)).text, QStringLiteral("only"));
        QCOMPARE(t.startIndex().size(), size_t(1));
    }

    void alarmMoments()
    {
        ScheduleStore s;
        // Across midnight: the day before.
        s.ExpandOccurrences(fields("200501010010,30,0,0,0,20050101,newyear"));
        QCOMPARE(s.alarmIndex().size(), size_t(1));
        QCOMPARE(s.alarmIndex().front().key, ParseMinuteKey("200412312340"));
        QCOMPARE(s.AlarmAt(QStringLiteral("200412312340")).start, QStringLiteral("00:10"));
        // Longer than a day: the real moment that many minutes before.
        s.ExpandOccurrences(fields("200503011000,3000,0,0,0,20050301,long"));
        QCOMPARE(s.AlarmAt(QStringLiteral("200502270800")).text, QStringLiteral("long"));
        s.ExpandOccurrences(fields("200503010000,1440,0,0,0,20050301,day"));
        QCOMPARE(s.AlarmAt(QStringLiteral("200502280000")).text, QStringLiteral("day"));
        // No alarm for alarm 0 and for all-day schedules.
        ScheduleStore t;
        t.ExpandOccurrences(fields("200501010900,00,0,1,0,20050110,none"));
        t.ExpandOccurrences(fields("200501010000,10,0,1,-1,20050110,allday"));
        QVERIFY(t.alarmIndex().empty());
        QCOMPARE(t.startIndex().size(), size_t(20));
    }

    void dayText()
    {
        ScheduleStore s;
        QVERIFY(s.ScheduleTextOn(2005, 3, 1).isEmpty());
        s.ExpandOccurrences(fields("200503011800,00,0,0,0,20050301,夕方"));
        s.ExpandOccurrences(fields("200503010000,00,0,0,-1,20050301,b 終日"));
        s.ExpandOccurrences(fields("200503010900,00,0,0,0,20050301,朝"));
        s.ExpandOccurrences(fields("200503010000,00,0,0,-1,20050301,A 終日"));
        QCOMPARE(s.ScheduleCountOn(2005, 3, 1), 4);
        QCOMPARE(s.ScheduleTextOn(2005, 3, 1),
                 QStringLiteral("終日  A 終日\r\n終日  b 終日\r\n09:00  朝\r\n18:00  夕方\r\n"));
    }

    void occurrenceTextsStopAt255BytesOnCharacterBounds()
    {
        ScheduleStore s;
        const QString wide(200, QChar(0x3042)); // 400 bytes
        s.ExpandOccurrences(fields("200501010900,00,0,0,0,20050101,a" + wide + ",http://" + wide));
        const ScheduleHit hit = s.ScheduleAt(MinuteKey(2005, 1, 1, 9, 0));
        QCOMPARE(SjisLength(hit.text), 255);
        QCOMPARE(hit.text, "a" + wide.left(127));
        QVERIFY(SjisLength(hit.url) <= 255);
        QVERIFY(("http://" + wide).startsWith(hit.url));
        QCOMPARE(hit.url.size(), 7 + 124);
    }

    void unreadableLinesAreSkippedReportedAndKept()
    {
        TempDataFolder dir;
        dir.writeBytes("Schedule.dat", crlf({"200501010900,00,0,0,0,20050101,one",
                                             "200501010900,xx,0,0,0,20050101,bad", "/ a comment",
                                             "", "200501020900,00,0,0,0,20050102,two",
                                             "200502300900,00,0,0,0,20050230,no such day"}));
        ScheduleStore s;
        const LoadReport r = s.LoadSchedules(SchedulePath());
        QCOMPARE(r.unreadableLines, QList<int>({2, 4, 6}));
        QCOMPARE(r.count(), 3);
        QVERIFY(r.message().contains(QStringLiteral("3 行")));
        QVERIFY(r.message().contains(QStringLiteral("2, 4, 6")));
        // The line after the bad ones still loads: its start fires.
        QCOMPARE(s.ScheduleAt(MinuteKey(2005, 1, 2, 9, 0)).text, QStringLiteral("two"));
        QCOMPARE(s.ScheduleCountOn(2005, 1, 1), 1);

        // The calendar writer keeps every line.
        s.AppendSchedule(fields("200501030900,00,0,0,0,20050103,three"));
        const QStringList after = ReadLines(SchedulePath());
        QCOMPARE(after.size(), 7);
        for (const char* l : {"/ a comment", "", "200501010900,xx,0,0,0,20050101,bad",
                              "200502300900,00,0,0,0,20050230,no such day"})
            QVERIFY2(after.contains(QString::fromUtf8(l)), l);

        // The list writer keeps them too, each in its place among the rows.
        ScheduleRows rows = ReadScheduleRows(SchedulePath());
        QCOMPARE(rows.rows.size(), size_t(3));
        QCOMPARE(rows.report.count(), 3);
        QCOMPARE(rows.keptLines().size(), 4);
        rows.rows.erase(rows.rows.begin());
        WriteScheduleRows(SchedulePath(), rows.file, rows.rows);
        QCOMPARE(ReadLines(SchedulePath()),
                 QStringList({"", "/ a comment", "200501020900,00,0,0,0,20050102,two",
                              "200501010900,xx,0,0,0,20050101,bad",
                              "200501030900,00,0,0,0,20050103,three",
                              "200502300900,00,0,0,0,20050230,no such day"}));
    }

    void calendarWriterSortsWithoutRegardToCase()
    {
        TempDataFolder dir;
        dir.writeBytes("Schedule.dat", crlf({"200501010900,00,0,0,0,20050101,b", "/z",
                                             "200501010900,00,0,0,0,20050101,A", "/B",
                                             "100001010900,00,0,0,0,10000101,old"}));
        ScheduleStore s;
        // Nothing is written before a file is set.
        s.AppendSchedule(fields("200501010900,00,0,0,0,20050101,c"));
        QCOMPARE(ReadLines(SchedulePath()).size(), 5);

        s.SetScheduleFile(SchedulePath());
        QVERIFY(s.AppendSchedule(fields("200501010900,00,0,0,0,20050101,a2")).ok());
        QCOMPARE(
            ReadLines(SchedulePath()),
            QStringList({"/B", "/z", "100001010900,00,0,0,0,10000101,old",
                         "200501010900,00,0,0,0,20050101,A", "200501010900,00,0,0,0,20050101,a2",
                         "200501010900,00,0,0,0,20050101,b"}));
        // The store was loaded again from the file.
        QCOMPARE(s.ScheduleCountOn(2005, 1, 1), 3);
        QCOMPARE(s.ScheduleAt(MinuteKey(2005, 1, 1, 9, 0)).text, QStringLiteral("b"));
    }

    void missingAndEmptyFiles()
    {
        TempDataFolder dir;
        ScheduleStore s;
        s.ExpandOccurrences(fields("200501010900,00,0,0,0,20050101,x"));
        const LoadReport r = s.LoadSchedules(dir.file("nothing.dat"));
        QVERIFY(r.ok());
        QVERIFY(s.dayIndex().empty());
        QVERIFY(s.scheduleFilePath().isEmpty());

        QVERIFY(s.LoadSchedules(SchedulePath()).ok()); // created empty
        QCOMPARE(dir.readBytes("Schedule.dat"), QByteArray());
        QVERIFY(s.startIndex().empty());
        QCOMPARE(s.scheduleFilePath(), SchedulePath());
    }

    void monthEndsUseTheHolidayTest()
    {
        TempDataFolder dir;
        dir.writeBytes("Schedule.dat", crlf({"200501010000,00,0,1,-4,20050331,月末"}));
        ScheduleStore s;
        s.setHolidayTest([](DateTime d) { return d == EncodeDate(2005, 3, 31); });
        s.LoadSchedules(SchedulePath());
        QCOMPARE(s.ScheduleCountOn(2005, 1, 31), 1);
        QCOMPARE(s.ScheduleCountOn(2005, 2, 28), 1);
        QCOMPARE(s.ScheduleCountOn(2005, 3, 31), 0);
        QCOMPARE(s.ScheduleCountOn(2005, 3, 30), 1);
    }

    void aFileCannotExhaustMemory()
    {
        TempDataFolder dir;
        // Two daily lines over the whole calendar: far beyond the limit.
        dir.writeBytes("Schedule.dat",
                       crlf({"000101010900,00,0,1,0,99991231,a", "000101010900,00,0,1,0,99991231,b",
                             "200501010900,00,0,0,0,20050101,c"}));
        ScheduleStore s;
        const LoadReport r = s.LoadSchedules(SchedulePath());
        QCOMPARE(r.cutLines, QList<int>({2, 3}));
        QVERIFY(r.unreadableLines.isEmpty());
        QVERIFY(r.message().contains(QStringLiteral("2, 3")));
        QCOMPARE(qsizetype(s.dayIndex().size()), kMaxOccurrences);
        QCOMPARE(qsizetype(s.startIndex().size()), kMaxOccurrences); // cut at the same place
        QCOMPARE(s.ScheduleCountOn(1, 1, 1), 2);
        QCOMPARE(s.ScheduleCountOn(9999, 12, 31), 1); // only the first line gets there
    }

    void lookupsMatchPlainIndexesOnRandomFiles()
    {
        TempDataFolder dir;
        QRandomGenerator r(12122026);
        auto holidays = std::make_shared<std::set<qint64>>();
        const HolidayTest holiday = [holidays](DateTime d) {
            return holidays->count(qint64(d)) > 0;
        };
        for (int round = 0; round < 12; ++round) {
            holidays->clear();
            for (int i = 0; i < 300; ++i)
                holidays->insert(qint64(EncodeDate(2003, 1, 1)) + r.bounded(4000));
            const HolidayTest atLoad = [copy = *holidays](DateTime d) {
                return copy.count(qint64(d)) > 0;
            };
            QStringList lines;
            PlainIndexes plain;
            const int count = 1 + r.bounded(80);
            for (int i = 0; i < count; ++i) {
                const ScheduleFields f = randomLine(r, i);
                lines.append(ComposeScheduleLine(f));
                plain.add(f, quint32(i), atLoad);
            }
            dir.writeBytes("Schedule.dat", crlf(lines));
            ScheduleStore s;
            s.setHolidayTest(holiday);
            QVERIFY(s.LoadSchedules(SchedulePath()).ok());
            // Holidays changed after the load do not move its month ends.
            holidays->clear();

            // Asked about the days in a random order, and after further
            // lines were added: the same answers as the plain indexes.
            const auto check = [&] {
                std::vector<qint64> keys;
                for (const auto& [key, ids] : plain.day)
                    keys.push_back(key);
                keys.push_back(DateKeyValue(2001, 1, 1));
                for (size_t i = keys.size(); i > 1; --i)
                    std::swap(keys[i - 1], keys[size_t(r.bounded(int(i)))]);
                for (qint64 key : keys) {
                    const int y = int(key / 10000), m = int(key / 100 % 100), d = int(key % 100);
                    std::vector<const ScheduleOccurrence*> expected;
                    for (quint32 id : plain.day[key])
                        expected.push_back(&s.occurrence(id));
                    QCOMPARE(s.occurrencesOn(y, m, d), expected);
                    QCOMPARE(s.ScheduleCountOn(y, m, d), int(expected.size()));
                }
                for (const auto& [key, ids] : plain.start) {
                    const ScheduleHit hit = s.ScheduleAt(key);
                    QCOMPARE(hit.text, s.occurrence(ids.front()).text);
                    QCOMPARE(hit.url, s.occurrence(ids.front()).url);
                }
                for (const auto& [key, ids] : plain.alarm)
                    QCOMPARE(s.AlarmAt(key).text, s.occurrence(ids.front()).text);
                QVERIFY(s.ScheduleAt(MinuteKeyValue(2001, 1, 1, 0, 1)).text.isEmpty());
                QVERIFY(samePairs(s.dayIndex(), PlainIndexes::flat(plain.day)));
                QVERIFY(samePairs(s.startIndex(), PlainIndexes::flat(plain.start)));
                QVERIFY(samePairs(s.alarmIndex(), PlainIndexes::flat(plain.alarm)));
            };
            check();
            for (int i = 0; i < 3; ++i) {
                const ScheduleFields f = randomLine(r, count + i);
                QVERIFY(s.ExpandOccurrences(f));
                plain.add(f, quint32(count + i), {});
                check();
            }
        }
    }

    void shiftJisFileRoundTrip()
    {
        TempDataFolder dir;
        const QString line = QStringLiteral("200501010900,10,1,1,20,20050201,会議①～,http://例.jp");
        dir.writeBytes("Schedule.dat", Sjis(line + "\r\n"));
        ScheduleStore s;
        s.LoadSchedules(SchedulePath());
        QCOMPARE(s.ScheduleAt(QStringLiteral("200501030900")).text, QStringLiteral("会議①～"));
        s.SaveSchedules();
        QCOMPARE(dir.readBytes("Schedule.dat"), Sjis(line + "\r\n"));
    }
};

QTEST_GUILESS_MAIN(TstScheduleStore)
#include "tst_schedulestore.moc"
