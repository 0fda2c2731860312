// Holiday lines: the user's lines never displace a national holiday, names
// stay within their limit, and Holiday.dat reads back as written.
#include "calendar/holidaytable.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "fuzzsupport.h"

using namespace vn;
using namespace vn::cal;
using namespace vn::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const HolidayTable builtIn;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes.truncate(nul); // a NUL ends a text file
    QStringList lines = SplitLines(DecodeText(bytes));
    if (lines.size() > 6)
        lines.resize(6); // each line may cover 9999 years

    HolidayTable table;
    table.Rebuild(lines);
    // The first holiday entered for a day wins: national holidays stay.
    for (const auto& [key, name] : builtIn.entries()) {
        if (name.startsWith(u"振替"))
            continue;
        const auto it = table.entries().find(key);
        FUZZ_CHECK(it != table.entries().end() && it->second == name);
    }
    for (const auto& [key, name] : table.entries()) {
        FUZZ_CHECK(SjisLength(name) <= HolidayTable::kMaxNameBytes);
        FUZZ_CHECK(!name.isEmpty());
    }
    // A line that is taken marks its days.
    for (const QString& line : lines) {
        HolidayTable one;
        one.Clear();
        if (!one.ProcessLine(line, false))
            FUZZ_CHECK(one.Count() == 0);
    }

    // Holiday.dat written and loaded again gives the same table.
    const QString path = ScratchFolder() + QStringLiteral("/Holiday.dat");
    WriteLines(path, lines);
    HolidayTable loaded;
    FUZZ_CHECK(loaded.LoadHolidays(path));
    const QStringList expected = AsSavedLines(lines);
    FUZZ_CHECK(loaded.LoadedLines() == expected);
    HolidayTable direct;
    direct.Rebuild(expected);
    FUZZ_CHECK(loaded.entries() == direct.entries());
    return 0;
}
