// Record fields: SplitFields on any line, and fields joined and split again.
#include "foundation/splitfields.h"
#include "foundation/textcodec.h"
#include "fuzzsupport.h"

using namespace vn;
using namespace vn::fuzz;

namespace {

bool trimmed(const QString& s)
{
    return s.isEmpty() || (s.front().unicode() > 32 && s.back().unicode() > 32);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* p = reinterpret_cast<const char*>(data);
    const QString line =
        size % 2 ? FromSjis(QByteArray(p, qsizetype(size))) : Utf16Text(p, size, true);
    const QStringList fields = SplitFields(line, u',');

    // Every field is a trimmed piece of the line, in order, without a comma;
    // only pieces of nothing are dropped.
    FUZZ_CHECK(fields.size() <= line.count(u',') + 1);
    qsizetype at = 0;
    for (const QString& f : fields) {
        FUZZ_CHECK(trimmed(f) && !f.contains(u','));
        const qsizetype found = line.indexOf(f, at);
        FUZZ_CHECK(found >= 0);
        at = found + f.size();
    }
    if (TrimControl(line).isEmpty())
        FUZZ_CHECK(fields.isEmpty());
    const QString trimmedLine = TrimControl(line);
    FUZZ_CHECK(trimmed(trimmedLine) && line.contains(trimmedLine));
    qsizetype nonEmptyPieces = 0;
    for (const QString& piece : trimmedLine.split(u','))
        nonEmptyPieces += !piece.isEmpty();
    FUZZ_CHECK(fields.size() == nonEmptyPieces);

    // Fields joined with commas split into the same fields (an empty field
    // is a blank between the commas).
    QStringList clean;
    for (const QString& f : fields)
        clean.append(f);
    QString joined;
    for (qsizetype i = 0; i < clean.size(); ++i) {
        if (i)
            joined += u',';
        joined += clean[i].isEmpty() ? QStringLiteral(" ") : clean[i];
    }
    // (A blank first or last field is trimmed away with the line.)
    if (!clean.isEmpty() && !clean.first().isEmpty() && !clean.last().isEmpty())
        FUZZ_CHECK(SplitFields(joined, u',') == clean);
    return 0;
}
