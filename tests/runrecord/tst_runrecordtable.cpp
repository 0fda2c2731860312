// The rows of the run-record window: the record read once, the period, the
// columns of recorded and unrecorded days.
#include "runrecord/runrecordtable.h"

#include "foundation/paths.h"
#include "tempdatafolder.h"

#include <QTest>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

int dayOf(int y, int m, int d)
{
    return DayNumber(EncodeDate(y, m, d));
}

} // namespace

class TstRunRecordTable : public QObject {
    Q_OBJECT
private slots:
    void rowsOfAPeriod()
    {
        TempDataFolder dir;
        // Out of order, a section that is no day, a memo without times, a
        // start after the end, keys in another case.
        const QString record =
            QStringLiteral("[%1]\r\nS=32400000\r\nE=66600000\r\n\r\n"
                           "[notes]\r\nS=1\r\n\r\n"
                           "[%2]\r\nM=休み\r\n\r\n"
                           "[%3]\r\ns=5000\r\ne=86395000\r\nm=\"  前後に空白  \"\r\n\r\n"
                           "[%4]\r\nS=70000000\r\nE=60000000\r\n");
        dir.writeBytes("Vnote.vdt", Sjis(record.arg(dayOf(2005, 1, 3))
                                             .arg(dayOf(2005, 1, 1))
                                             .arg(dayOf(2005, 1, 7))
                                             .arg(dayOf(2004, 12, 30))));
        const std::vector<RecordedDay> days = ReadRunRecord(RunRecordPath());
        QCOMPARE(days.size(), size_t(4));
        QCOMPARE(days[0].day, dayOf(2005, 1, 3));
        QCOMPARE(days[1].values.memo, QStringLiteral("休み"));
        QCOMPARE(days[1].values.start, QStringLiteral("--:--"));
        QCOMPARE(days[0].values.memo, QString()); // no memo reads empty
        const RunPeriod recorded = RecordedPeriod(days);
        QCOMPARE(recorded, (RunPeriod{dayOf(2004, 12, 30), dayOf(2005, 1, 7)}));

        RunDayInfo info;
        info.rokuyou = [](DateTime d) { return QStringLiteral("六%1").arg(DecodeDate(d).day); };
        info.isHoliday = [](DateTime d) {
            return DecodeDate(d).day == 1 && DecodeDate(d).month == 1;
        };
        info.holidayName = [&](DateTime d) {
            return info.isHoliday(d) ? QStringLiteral("元日") : QString();
        };
        info.schedules = [](DateTime d) {
            return DecodeDate(d).day == 3 ? QStringLiteral("09:00 会議\r\n終日 出張\r\n")
                                          : QString();
        };
        const std::vector<QVariantList> rows = BuildRunRecordRows(
            {dayOf(2005, 1, 1), dayOf(2005, 1, 7)}, days, info, QStringLiteral("yyyy/mm/dd(aaa)"));
        QCOMPARE(rows.size(), size_t(7));
        for (const QVariantList& r : rows)
            QCOMPARE(r.size(), qsizetype(kRunColumnCount));
        const auto at = [&](int row, int col) { return rows[size_t(row)][col].toString(); };
        // 2005-01-01 Saturday, holiday, memo without times.
        QCOMPARE(at(0, kRunNo), QStringLiteral("1"));
        QCOMPARE(at(0, kRunDate), QStringLiteral("2005/01/01(土)"));
        QCOMPARE(at(0, kRunRokuyou), QStringLiteral("六1"));
        QCOMPARE(at(0, kRunHolidayName), QStringLiteral("元日"));
        QCOMPARE(at(0, kRunMemo), QStringLiteral("休み"));
        QCOMPARE(at(0, kRunStart) + at(0, kRunEnd) + at(0, kRunDuration), QString());
        QCOMPARE(rows[0][kRunHoliday].toInt(), 1);
        QCOMPARE(rows[0][kRunDay].toInt(), dayOf(2005, 1, 1));
        // Sunday: red without a holiday; Monday the 3rd: recorded, schedules
        // without the last line break.
        QCOMPARE(rows[1][kRunHoliday].toInt(), 1);
        QCOMPARE(rows[2][kRunHoliday].toInt(), 0);
        QCOMPARE(at(2, kRunSchedules), QStringLiteral("09:00 会議\r\n終日 出張"));
        QCOMPARE(at(2, kRunStart), QStringLiteral("09:00"));
        QCOMPARE(at(2, kRunEnd), QStringLiteral("18:30"));
        QCOMPARE(at(2, kRunDuration), QStringLiteral("09:31"));
        // A day without a section: date only.
        QCOMPARE(at(3, kRunDate), QStringLiteral("2005/01/04(火)"));
        QCOMPARE(at(3, kRunMemo) + at(3, kRunStart) + at(3, kRunDuration), QString());
        // The 7th: a whole day reads 24:00; its memo keeps its blanks.
        QCOMPARE(at(6, kRunDuration), QStringLiteral("24:00"));
        QCOMPARE(at(6, kRunMemo), QStringLiteral("  前後に空白  "));
        // Outside the period: not shown; an end before the start: "--:--".
        const std::vector<QVariantList> before = BuildRunRecordRows(
            {dayOf(2004, 12, 30), dayOf(2004, 12, 30)}, days, info, QStringLiteral("yyyy/mm/dd"));
        QCOMPARE(before[0][kRunDuration].toString(), QStringLiteral("--:--"));
        QVERIFY(BuildRunRecordRows({}, days, info, "yyyy").empty());
    }

    void groupedNumbers()
    {
        QCOMPARE(ShownDaysText(3650), QStringLiteral("表示日数=3,650日間"));
        QCOMPARE(ShownDaysText(1), QStringLiteral("表示日数=1日間"));
        QCOMPARE(GroupedNumber(1234567), QStringLiteral("1,234,567"));
        QCOMPARE(GroupedNumber(-1000), QStringLiteral("-1,000"));
        QCOMPARE(GroupedNumber(999), QStringLiteral("999"));
    }
};

QTEST_GUILESS_MAIN(TstRunRecordTable)
#include "tst_runrecordtable.moc"
