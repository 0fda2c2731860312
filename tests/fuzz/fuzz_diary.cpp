// Diary files: scanning a folder of any names finds exactly the day files,
// and a diary text saved reads back (a day's file is written only when its
// text changed).
#include "calendar/diarystore.h"
#include "foundation/datekeys.h"
#include "foundation/datetime.h"
#include "foundation/textfile.h"
#include "fuzzsupport.h"

#include <QDir>
#include <QFile>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace vn;
using namespace vn::cal;
using namespace vn::fuzz;

namespace {

class Memo : public DiaryMemo {
public:
    QString held;
    QStringList set;
    QString text() const override { return held; }
    void setLines(const QStringList& lines) override { set = lines; }
};

// "yyyymmdd.txt" of a real day, worked out here without the calendar code.
int dayKeyOf(const QByteArray& name)
{
    if (name.size() != 12 || !name.endsWith(".txt"))
        return -1;
    for (int i = 0; i < 8; ++i)
        if (name[i] < '0' || name[i] > '9')
            return -1;
    const int y = name.left(4).toInt(), m = name.mid(4, 2).toInt(), d = name.mid(6, 2).toInt();
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || d < 1)
        return -1;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > days[m - 1] + (m == 2 && leap))
        return -1;
    return y * 10000 + m * 100 + d;
}

// A name of valid UTF-8 (Qt cannot enter a folder whose name is not).
QByteArray safeName(const std::string& s)
{
    QByteArray name = QString::fromUtf8(s.data(), qsizetype(s.size())).toUtf8();
    name.replace('/', '_').replace('\0', '_');
    if (name.isEmpty() || name == "." || name == "..")
        name = "x";
    return name.left(40);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString folder = ScratchFolder() + QStringLiteral("/Diary");
    QDir().mkpath(folder);

    // A tree of folders and files with any names; some are day names.
    std::set<int> expected;
    const int entries = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < entries; ++i) {
        QByteArray sub =
            in.ConsumeBool() ? safeName(in.ConsumeRandomLengthString(12)) : QByteArray();
        QByteArray name =
            in.ConsumeBool()
                ? QByteArray::number(in.ConsumeIntegralInRange(10000101, 99991231)) + ".txt"
                : safeName(in.ConsumeRandomLengthString(16));
        const QByteArray dir = QFile::encodeName(folder) + (sub.isEmpty() ? "" : "/" + sub);
        ::mkdir(dir.constData(), 0700);
        const QByteArray path = dir + "/" + name;
        const bool asFolder = in.ConsumeIntegralInRange(0, 5) == 0;
        bool made = false;
        if (asFolder) {
            made = ::mkdir(path.constData(), 0700) == 0;
        } else if (const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0600); fd >= 0) {
            made = true;
            ::close(fd);
        }
        if (std::getenv("VN_FUZZ_DEBUG"))
            std::fprintf(stderr, "%s %s: %d\n", asFolder ? "folder" : "file", path.constData(),
                         made);
        if (made) {
            if (!asFolder && dayKeyOf(name) >= 0)
                expected.insert(dayKeyOf(name));
        }
    }
    // Folders made as files of a day name do not count; files inside such a
    // folder do. Scan and compare.
    DiaryStore store;
    store.SetDiaryFolder(folder);
    std::set<int> found(store.diaryDays().begin(), store.diaryDays().end());
    if (std::getenv("VN_FUZZ_DEBUG")) {
        for (int k : found)
            std::fprintf(stderr, "found %d\n", k);
        for (int k : expected)
            std::fprintf(stderr, "expected %d\n", k);
    }
    FUZZ_CHECK(found == expected);

    // A day's text saved and loaded again.
    Memo memo;
    store.SetDiaryMemo(&memo);
    const int year = in.ConsumeIntegralInRange(2000, 9999),
              month = in.ConsumeIntegralInRange(1, 12);
    const int day = in.ConsumeIntegralInRange(1, DaysInMonth(year, month));
    const DateTime date = EncodeDate(year, month, day);
    const std::string raw = in.ConsumeRemainingBytesAsString();
    memo.held = Utf16Text(raw.data(), raw.size()).remove(QChar(0));
    // A longer line is shown cut, and held (a test of its own).
    memo.held.truncate(DiaryStore::kLongestLineShown);
    store.SaveDiaryOf(date);
    FUZZ_CHECK(store.HasDiary(date) == !memo.held.isEmpty());
    store.LoadDiary(date);
    FUZZ_CHECK(memo.set ==
               (memo.held.isEmpty() ? QStringList() : AsSavedLines(SplitLines(memo.held))));
    // Saving the same text again leaves the file alone (the atomic writer
    // would put a new file in its place).
    const QByteArray path = QFile::encodeName(store.DiaryPath(date));
    if (!memo.held.isEmpty()) {
        struct stat before, after;
        FUZZ_CHECK(::stat(path.constData(), &before) == 0);
        store.SaveDiaryOf(date);
        FUZZ_CHECK(::stat(path.constData(), &after) == 0 && after.st_ino == before.st_ino);
    }
    return 0;
}
