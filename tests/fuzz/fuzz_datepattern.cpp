// The date/time pattern language: any pattern at any moment.
#include "foundation/datekeys.h"
#include "foundation/datetime.h"
#include "foundation/datetimeformat.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

using namespace vn;
using namespace vn::fuzz;

namespace {

bool isTokenLetter(QChar c)
{
    return QStringLiteral("ymdaeghnsztcpYMDAEGHNSZTCP").contains(c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // Year 1 to 9999, any time of day.
    const double day = in.ConsumeFloatingPointInRange(-693593.0, 2958465.999);
    const DateTime value = std::isfinite(day) ? day : 0.0;
    const std::string raw = in.ConsumeRemainingBytesAsString();
    const QString text = Utf16Text(raw.data(), raw.size());

    const QString out = RenderDateTime(text, value);

    // Without token letters and quotes a pattern is copied as it is.
    bool plain = true;
    for (QChar c : text)
        plain = plain && !isTokenLetter(c) && c != u'"' && c != u'\'';
    if (plain)
        FUZZ_CHECK(out == text);
    // Quoted text is copied without its quotes.
    if (!text.contains(u'"'))
        FUZZ_CHECK(RenderDateTime(u'"' + text + u'"', value) == text);

    // The keys read back as the date and time rendered.
    const YMD d = DecodeDate(value);
    const HMS t = DecodeTime(value);
    FUZZ_CHECK(RenderDateTime(QStringLiteral("yyyymmdd"), value) ==
               DateKey(d.year, d.month, d.day));
    FUZZ_CHECK(RenderDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss"), value) ==
               QString::asprintf("%.4d/%.2d/%.2d %.2d:%.2d:%.2d", d.year, d.month, d.day, t.hour,
                                 t.minute, t.second));
    if (!text.contains(u'"') && !text.contains(u'\''))
        FUZZ_CHECK(RenderDateTime(text + QStringLiteral("\"|\"yyyy"), value)
                       .endsWith(QString::asprintf("|%.4d", d.year)));
    return 0;
}
