// Schedule lines and their expansion into occurrences.
#include "foundation/datekeys.h"
#include "foundation/datetime.h"
#include "foundation/textcodec.h"
#include "fuzzsupport.h"
#include "schedule/repetition.h"
#include "schedule/scheduleline.h"
#include "schedule/schedulestore.h"

#include <vector>

using namespace vn;
using namespace vn::fuzz;

namespace {

qint64 dayOf(const YMD& d)
{
    return qint64(EncodeDate(d.year, d.month, d.day));
}

// Every other day of the month of a date is a holiday, by a fixed rule.
bool oddHoliday(DateTime d)
{
    const YMD ymd = DecodeDate(d);
    return (ymd.day * 7 + ymd.month) % 5 == 0;
}

void checkOccurrences(const ScheduleFields& f)
{
    std::vector<YMD> days;
    WalkOccurrences(f, oddHoliday, [&](const YMD& d) {
        days.push_back(d);
        return days.size() < 3000;
    });
    const bool monthEnd = IsMonthEndKind(f.kind);
    const qint64 last = dayOf({f.lastYear, f.lastMonth, f.lastDay});
    if (f.repeat != 1 || !IsKnownKind(f.kind)) {
        FUZZ_CHECK(days.size() == (monthEnd && f.repeat != 1 ? 0u : 1u));
    }
    if (!monthEnd && !days.empty())
        FUZZ_CHECK(days[0].year == f.year && days[0].month == f.month && days[0].day == f.day);
    for (size_t i = 0; i < days.size(); ++i) {
        const YMD& d = days[i];
        FUZZ_CHECK(IsValidDate(d.year, d.month, d.day));
        if (i > 0 || monthEnd)
            FUZZ_CHECK(dayOf(d) <= last);
        if (i == 0)
            continue;
        const qint64 step = dayOf(d) - dayOf(days[i - 1]);
        FUZZ_CHECK(step > 0);
        switch (f.kind) {
        case kKindDaily: FUZZ_CHECK(step == 1); break;
        case kKindWeekly: FUZZ_CHECK(step == 7); break;
        case kKindFortnightly: FUZZ_CHECK(step == 14); break;
        case kKindMonthly: FUZZ_CHECK(d.day == f.day); break;
        case kKindYearly: FUZZ_CHECK(d.month == f.month && d.day == f.day); break;
        case kKindMonthEnd:
        case kKindMonthEndFriday:
        case kKindMonthEndSaturday:
            FUZZ_CHECK(d.day == MonthEndDay(f.kind, d.year, d.month, oddHoliday));
            FUZZ_CHECK((d.year * 12 + d.month) - (days[i - 1].year * 12 + days[i - 1].month) == 1);
            break;
        default: FUZZ_CHECK(step == f.kind / kKindDaySpanUnit); break;
        }
    }
    if (days.size() >= 3000)
        return; // long repetitions: the walk is checked, the store is not built

    ScheduleStore store;
    store.setHolidayTest(oddHoliday);
    FUZZ_CHECK(store.ExpandOccurrences(f));
    FUZZ_CHECK(store.dayIndex().size() == days.size());
    FUZZ_CHECK(store.startIndex().size() == days.size());
    for (size_t i = 1; i < store.dayIndex().size(); ++i)
        FUZZ_CHECK(store.dayIndex()[i - 1].key <= store.dayIndex()[i].key);
    const QString text = SjisLeft(f.text, kOccurrenceTextBytes);
    for (const YMD& d : days) {
        FUZZ_CHECK(store.ScheduleCountOn(d.year, d.month, d.day) == 1);
        const ScheduleHit hit =
            store.ScheduleAt(MinuteKeyValue(d.year, d.month, d.day, f.hour, f.minute));
        FUZZ_CHECK(hit.text == text && hit.urlFlag == f.urlFlag);
    }
    if (!days.empty() && !f.allDay && f.alarm != 0) {
        FUZZ_CHECK(store.alarmIndex().size() == days.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString line =
        DecodeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    ScheduleFields f;
    const LineRead read = ReadScheduleLine(line, &f);
    FUZZ_CHECK((read == LineRead::Comment) == line.startsWith(u'/'));
    if (read != LineRead::Schedule)
        return 0;

    // A line read is composed so that it reads back the same.
    const QString composed = ComposeScheduleLine(f);
    ScheduleFields g;
    FUZZ_CHECK(ReadScheduleLine(composed, &g) == LineRead::Schedule);
    FUZZ_CHECK(g == f);
    FUZZ_CHECK(ComposeScheduleLine(g) == composed);
    FUZZ_CHECK(IsValidDate(f.year, f.month, f.day) && f.hour < 24 && f.minute < 60);

    checkOccurrences(f);
    return 0;
}
