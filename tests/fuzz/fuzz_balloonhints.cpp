// BalloonHint.dat: any file is loaded, saved and loaded again without losing
// a line; each row reads back as it was composed.
#include "foundation/datetime.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "fuzzsupport.h"
#include "schedule/balloonhints.h"

using namespace vn;
using namespace vn::fuzz;

namespace {

const DateTime kToday = EncodeDate(2024, 2, 29);

bool sameRows(const std::vector<BalloonHintRow>& a, const std::vector<BalloonHintRow>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].shown != b[i].shown || a[i].hour != b[i].hour || a[i].minute != b[i].minute ||
            a[i].message != b[i].message || a[i].key != b[i].key || a[i].timeText != b[i].timeText)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString folder = ScratchFolder();
    const QString path = folder + QStringLiteral("/BalloonHint.dat");
    const QString pattern = QStringLiteral("hh:nn");
    PutFile(path, bytes);

    const QStringList lines = ReadLines(path);
    BalloonHintStore store;
    store.LoadBalloonHints(path, pattern, kToday);
    // Every line is a row or kept as it is.
    FUZZ_CHECK(qsizetype(store.rows().size()) + store.keptLines().size() == lines.size());
    for (const BalloonHintRow& row : store.rows()) {
        FUZZ_CHECK(row.hour >= 0 && row.hour < 24 && row.minute >= 0 && row.minute < 60);
        FUZZ_CHECK(SjisLength(row.message) <= kBalloonMessageBytes);
        FUZZ_CHECK(row.key == QString::asprintf("%.2d:%.2d", row.hour, row.minute));
        // A composed line reads back as the same row.
        const auto again = ReadBalloonHintLine(ComposeBalloonHintLine(row), pattern, kToday);
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(sameRows({row}, {*again}));
    }
    for (const QString& kept : store.keptLines())
        FUZZ_CHECK(lines.contains(kept));

    // Saved and loaded again: the same rows (in the Windows spelling when
    // the file is Shift-JIS) and as many kept lines.
    store.SaveBalloonHints(path);
    BalloonHintStore reloaded;
    reloaded.LoadBalloonHints(path, pattern, kToday);
    FUZZ_CHECK(reloaded.keptLines().size() == store.keptLines().size());
    FUZZ_CHECK(reloaded.rows().size() == store.rows().size());
    for (size_t i = 0; i < store.rows().size(); ++i) {
        BalloonHintRow a = store.rows()[i], b = reloaded.rows()[i];
        a.message = ThroughSjis(a.message);
        b.message = ThroughSjis(b.message);
        FUZZ_CHECK(sameRows({a}, {b}));
    }
    // After one round the file is what it stays: saving what was loaded
    // again writes the same bytes, and the file reads as it did.
    const QByteArray once = GetFile(path);
    reloaded.SaveBalloonHints(path);
    FUZZ_CHECK(GetFile(path) == once);
    return 0;
}
