// The run record: any Vnote.vdt, then captures at any moment and memos of
// any text. The day captured and the memo written read back; no other day
// changes.
#include "foundation/clock.h"
#include "foundation/datetime.h"
#include "foundation/inifile.h"
#include "foundation/textcodec.h"
#include "fuzzsupport.h"
#include "runrecord/runrecord.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace vn;
using namespace vn::fuzz;

namespace {

class FixedClock : public Clock {
public:
    DateTime at = 0;
    DateTime now() const override { return at; }
    qint64 tickCount() const override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FixedClock clock;
    SetClock(&clock);
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(1500);
    const QString path = ScratchFolder() + QStringLiteral("/Vnote.vdt");
    PutFile(path, QByteArray(file.data(), qsizetype(file.size())));

    // Days in the file, and a few near them.
    const QStringList sections = IniFile(path).sectionNames();
    QList<int> days;
    for (const QString& s : sections) {
        bool ok = false;
        const int d = s.toInt(&ok);
        if (ok && days.size() < 12)
            days.append(d);
    }
    days.append(738000);
    QList<RunDay> before;
    for (int d : days)
        before.append(ReadRunDay(path, d));

    // A capture at some moment of some day.
    const int day = in.ConsumeBool() && !days.isEmpty()
                        ? days[in.ConsumeIntegralInRange<int>(0, int(days.size() - 1))]
                        : in.ConsumeIntegralInRange(693596, 3000000);
    const double fraction = in.ConsumeFloatingPointInRange(0.0, 0.999988);
    clock.at = DateTime(day - 693594) + fraction;
    const int captured = DayNumber(clock.at);
    CaptureRunTime(path, in.ConsumeBool() ? CaptureKind::Start : CaptureKind::Tick);
    const RunDay after = ReadRunDay(path, captured);
    const HMS t = DecodeTime(clock.at);
    const qint64 ms = ((qint64(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.msec;
    FUZZ_CHECK(after.end == QString::number(ms));
    const RunDayTexts texts = DeriveRunTexts(after.start, after.end);
    if (!texts.start.isEmpty()) {
        FUZZ_CHECK(texts.start.size() == 5 && texts.end.size() == 5);
        FUZZ_CHECK(texts.duration.size() == 5);
    }

    // A memo of any text reads back, and nothing else changes.
    const std::string memoBytes = in.ConsumeRandomLengthString(400);
    const QString memo = Utf16Text(memoBytes.data(), memoBytes.size(), true);
    const int memoDay = days[int(memoBytes.size()) % days.size()];
    const RunDay capturedDay = ReadRunDay(path, captured);
    WriteRunMemo(path, memoDay, memo);
    FUZZ_CHECK(ReadRunDay(path, memoDay).memo == SjisLeft(ThroughSjis(memo), 2047));
    for (qsizetype i = 0; i < days.size(); ++i) {
        const RunDay now = ReadRunDay(path, days[i]);
        if (days[i] == captured) {
            FUZZ_CHECK(now.start == capturedDay.start && now.end == capturedDay.end);
            continue;
        }
        FUZZ_CHECK(now.start == before[i].start && now.end == before[i].end);
        if (days[i] != memoDay)
            FUZZ_CHECK(now.memo == before[i].memo);
    }
    SetClock(nullptr);
    return 0;
}
