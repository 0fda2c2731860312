// The running capture: the capture rules through the job, the write budget
// with a ten-year record, power cuts and orderly ends, failing writes.
#include "runrecord/runrecordcapture.h"

#include "fakeclock.h"
#include "foundation/inifile.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vn;
using vn::test::At;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

int dayOf(int y, int m, int d)
{
    return DayNumber(EncodeDate(y, m, d));
}

QString value(int day, const char* key)
{
    return IniFile(RunRecordPath())
        .readString(QString::number(day), QString::fromLatin1(key), QStringLiteral("--:--"));
}

qint64 msOf(int h, int n, int s = 0)
{
    return ((qint64(h) * 60 + n) * 60 + s) * 1000;
}

// Ticks every ten seconds until the clock reaches the moment (the clock
// set from the start each time, so no rounding adds up).
void tickUntil(RunRecordCapture& job, FakeClock& clock, DateTime until)
{
    const DateTime from = clock.now();
    for (int k = 1; clock.now() + 1e-9 < until; ++k) {
        clock.advanceMSecs(RunRecordCapture::kTickMSecs);
        clock.set(from + k * RunRecordCapture::kTickMSecs / kMSecsPerDay);
        job.tick();
    }
}

// The latest end a start after a power cut would find for the day: the
// companion file when there is one, else the record.
qint64 durableEnd(const RunRecordCapture& job, int day)
{
    const QString section = QString::number(day);
    qint64 best = -1;
    for (const QString& path : {job.journalPath(), job.recordPath()}) {
        if (QFile::exists(path))
            best = std::max(best, IniFile(path).readString(section, "E", "-1").toLongLong());
    }
    return best;
}

// Ten years of days before the given one, each with a start, an end and
// every fifth day a memo: about the size a user has after ten years.
void writeTenYearRecord(int lastDay)
{
    QStringList lines;
    for (int d = lastDay - 3650; d < lastDay; ++d) {
        if (!lines.isEmpty())
            lines << QString();
        lines << QStringLiteral("[%1]").arg(d) << QStringLiteral("S=%1").arg(30000000 + d % 977)
              << QStringLiteral("E=%1").arg(66000000 + d % 1999);
        if (d % 5 == 0)
            lines << QStringLiteral("M=客先訪問 %1").arg(d % 100);
    }
    WriteLines(RunRecordPath(), lines);
}

qint64 processBytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

class TstRunRecordCapture : public QObject {
    Q_OBJECT
private slots:
    void captureRulesThroughTheJob()
    {
        TempDataFolder dir;
        FakeClock clock(At(2004, 12, 14, 8, 12, 40));
        const int d = dayOf(2004, 12, 14);
        {
            RunRecordCapture job;
            job.start(); // first start of the day
            QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
            QCOMPARE(value(d, "E"), QStringLiteral("29560000"));
            tickUntil(job, clock, At(2004, 12, 14, 9, 0));
            job.finish();
            QCOMPARE(value(d, "E"), QString::number(msOf(9, 0)));
            QVERIFY(!QFile::exists(job.journalPath()));
        }
        {
            clock.set(At(2004, 12, 14, 13, 0)); // a second start the same day
            RunRecordCapture job;
            job.start();
            QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
            QCOMPARE(value(d, "E"), QString::number(msOf(13, 0)));
            // The clock set back: ticks move the end, never the start.
            clock.set(At(2004, 12, 14, 6, 0));
            tickUntil(job, clock, At(2004, 12, 14, 6, 5));
            job.finish();
            QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
            QCOMPARE(value(d, "E"), QString::number(msOf(6, 5)));
        }
        {
            clock.set(At(2004, 12, 14, 7, 0)); // restarted at 07:00: the start is lowered
            RunRecordCapture job;
            job.start();
            QCOMPARE(value(d, "S"), QString::number(msOf(7, 0)));
            job.finish();
        }
        {
            // Left running from 22:00 to 02:00.
            clock.set(At(2005, 3, 1, 22, 0, 5));
            RunRecordCapture job;
            job.start();
            tickUntil(job, clock, At(2005, 3, 2, 0, 0, 5));
            // The new day is in the record at once, with the end of the day
            // before.
            const int first = dayOf(2005, 3, 1), second = dayOf(2005, 3, 2);
            QVERIFY(!QFile::exists(job.journalPath()));
            QVERIFY(value(first, "E").toLongLong() >= msOf(23, 59, 50));
            QVERIFY(value(second, "S").toLongLong() <= 10000);
            tickUntil(job, clock, At(2005, 3, 2, 1, 59, 55));
            job.finish();
            const QStringList sections = IniFile(RunRecordPath()).sectionNames();
            QCOMPARE(sections.mid(sections.size() - 2),
                     QStringList({QString::number(first), QString::number(second)}));
            const RunDayTexts t = DeriveRunTexts(value(second, "S"), value(second, "E"));
            QCOMPARE(t.start, QStringLiteral("00:00"));
            QCOMPARE(t.duration, QStringLiteral("02:00"));
            QCOMPARE(DeriveRunTexts(value(first, "S"), value(first, "E")).end,
                     QStringLiteral("23:59"));
        }
    }

    void writeBudgetWithATenYearRecord()
    {
        TempDataFolder dir;
        const int today = dayOf(2015, 6, 1);
        writeTenYearRecord(today);
        const qint64 recordSize = QFileInfo(RunRecordPath()).size();
        QVERIFY2(recordSize > 120000, qPrintable(QString::number(recordSize)));

        // A PC left on for a whole day and into the next.
        FakeClock clock(At(2015, 5, 31, 23, 59, 55));
        RunRecordCapture job;
        job.start();
        const RunRecordCapture::Stats before = job.stats();
        const qint64 processBefore = processBytesWritten();
        qint64 worstLag = 0;
        int tick = 0;
        const DateTime from = clock.now();
        for (int k = 1; clock.now() < At(2015, 6, 2, 0, 0, 0); ++k) {
            clock.advanceMSecs(RunRecordCapture::kTickMSecs);
            clock.set(from + k * RunRecordCapture::kTickMSecs / kMSecsPerDay);
            job.tick();
            const RunMoment now = RunMomentOf(clock.now());
            // What a power cut now would leave (checked on a sample of the
            // ticks; reading the whole record at every one is slow).
            if (++tick % 7 == 0 || now.msecs < 60000)
                worstLag = std::max(worstLag, now.msecs - durableEnd(job, now.day));
        }
        const qint64 bytes = job.stats().bytes - before.bytes;
        const int flushes = job.stats().flushes - before.flushes;
        const qint64 processBytes = processBytesWritten() - processBefore;
        qInfo("one day: %lld bytes (%d record writes, %d companion writes), %d flushes; "
              "process wrote %lld bytes; worst lag %lld ms",
              bytes, job.stats().recordWrites - before.recordWrites,
              job.stats().journalWrites - before.journalWrites, flushes, processBytes, worstLag);
        QVERIFY(bytes <= 20'000'000);
        QVERIFY(processBytes < 0 || processBytes <= 20'000'000);
        QVERIFY(bytes > 24 * recordSize); // the hourly writes did happen
        QVERIFY(worstLag < 60000);
        // Rewriting the record at every tick would have written over a
        // gigabyte.
        QVERIFY(8640 * recordSize > 1'000'000'000);

        // The earlier days are untouched, the new ones appended in order.
        const QStringList sections = IniFile(RunRecordPath()).sectionNames();
        QCOMPARE(sections.size(), 3650 + 2);
        QCOMPARE(sections.first(), QString::number(today - 3650));
        QCOMPARE(sections.last(), QString::number(today + 1));
        QCOMPARE(value(today - 5, "M"), QStringLiteral("客先訪問 %1").arg((today - 5) % 100));
        QCOMPARE(value(today, "S"), QStringLiteral("5000"));
        QCOMPARE(value(today, "E").toLongLong(), msOf(23, 59, 55));
    }

    void powerCutsAndOrderlyEnds()
    {
        TempDataFolder dir;
        FakeClock clock(At(2009, 1, 5, 9, 0));
        const int d = dayOf(2009, 1, 5);
        {
            RunRecordCapture job;
            job.start();
            tickUntil(job, clock, At(2009, 1, 5, 17, 3, 20));
            // The power goes: no finish.
        }
        QVERIFY(QFile::exists(RunRecordCapture::JournalPathFor(RunRecordPath())));
        // The record alone would lose minutes (it is written hourly).
        QVERIFY(value(d, "E").toLongLong() < msOf(17, 3, 20) - 60000);
        clock.set(At(2009, 1, 6, 8, 30));
        {
            RunRecordCapture job;
            job.start(); // folds what the cut left
            QVERIFY(!QFile::exists(job.journalPath()));
            const qint64 end = value(d, "E").toLongLong();
            QVERIFY2(msOf(17, 3, 20) - end < 60000, qPrintable(QString::number(end)));
            QCOMPARE(value(d, "S"), QString::number(msOf(9, 0)));
            // An orderly end records the exact moment.
            clock.set(At(2009, 1, 6, 8, 30, 7, 250));
            job.tick();
            clock.set(At(2009, 1, 6, 8, 30, 9, 999));
            job.finish();
            QCOMPARE(value(dayOf(2009, 1, 6), "E"), QString::number(msOf(8, 30, 9) + 999));
            job.tick(); // nothing after the end
            job.finish();
            QCOMPARE(value(dayOf(2009, 1, 6), "E"), QString::number(msOf(8, 30, 9) + 999));
        }
        // A companion file older than the record changes nothing.
        WriteLines(RunRecordCapture::JournalPathFor(RunRecordPath()),
                   {QStringLiteral("[%1]").arg(d), "S=1000", "E=2000"});
        RunRecordCapture job;
        job.start();
        QCOMPARE(value(d, "S"), QString::number(msOf(9, 0)));
        QVERIFY(value(d, "E").toLongLong() > msOf(17, 0));
        job.flush();
    }

    void failingWritesAreReportedOnceAndKept()
    {
        TempDataFolder dir;
        FakeClock clock(At(2009, 1, 5, 9, 0));
        const QString record = dir.file("gone/Vnote.vdt");
        QStringList reports;
        RunRecordCapture job(record, [&](const QString& m) { reports << m; });
        job.start();
        tickUntil(job, clock, At(2009, 1, 5, 9, 30));
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].contains(QStringLiteral("Vnote.vdt に書き込めません")));
        // The folder comes back: the moments seen meanwhile are all there.
        QDir().mkpath(dir.file("gone"));
        tickUntil(job, clock, At(2009, 1, 5, 9, 31));
        const QString d = QString::number(dayOf(2009, 1, 5));
        job.flush();
        QCOMPARE(IniFile(record).readString(d, "S", ""), QString::number(msOf(9, 0)));
        QCOMPARE(IniFile(record).readString(d, "E", ""), QString::number(msOf(9, 31)));
        QCOMPARE(reports.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstRunRecordCapture)
#include "tst_runrecordcapture.moc"
