// Holiday lines: each line marks the days it names, names stay within their
// limit, the user's lines never displace a national holiday, and
// Holiday.dat reads back as written.
#include "calendar/holidaytable.h"
#include "foundation/datetime.h"
#include "foundation/splitfields.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "fuzzsupport.h"

using namespace vn;
using namespace vn::cal;
using namespace vn::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const HolidayTable builtIn;
    static HolidayTable table;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes.truncate(nul); // a NUL ends a text file
    QStringList lines = SplitLines(DecodeText(bytes));
    if (lines.size() > 6)
        lines.resize(6); // each line may cover 9999 years

    // The user's lines alone: a line taken marks the days it names.
    table.Clear();
    for (const QString& line : lines) {
        const int before = table.Count();
        const bool taken = table.ProcessLine(line, false);
        if (!taken)
            FUZZ_CHECK(table.Count() == before);
        const QStringList f = SplitFields(line, u',');
        if (taken && f[0][2] != u'w') {
            const int month = f[0].left(2).toInt(), day = f[0].mid(2).toInt();
            const int y1 = std::max(1, f[1].toInt()), y2 = std::min(9999, f[2].toInt());
            for (int y = y1; y <= y2; y += 1 + (y2 - y1) / 50)
                FUZZ_CHECK(table.IsHoliday(y, month, day));
        }
    }
    for (const auto& [key, name] : table.entries())
        FUZZ_CHECK(!name.isEmpty() && SjisLength(name) <= HolidayTable::kMaxNameBytes);

    // With the national holidays (one input in sixteen: this is slow), the
    // first holiday entered for a day wins, so national holidays stay; and
    // Holiday.dat written and loaded again gives the same lines.
    if (qHash(bytes) % 16 != 0)
        return 0;
    HolidayTable loaded;
    const QString path = ScratchFolder() + QStringLiteral("/Holiday.dat");
    WriteLines(path, lines);
    FUZZ_CHECK(loaded.LoadHolidays(path));
    FUZZ_CHECK(loaded.LoadedLines() == AsSavedLines(lines));
    for (const auto& [key, name] : builtIn.entries()) {
        if (name.startsWith(u"振替"))
            continue;
        const auto it = loaded.entries().find(key);
        FUZZ_CHECK(it != loaded.entries().end() && it->second == name);
    }
    return 0;
}
