// The sync engine's own time, the server being an in-memory calendar (no
// network, no server time): the first sync of 1,000 schedules (every line
// pushed), the same folder on a second PC (every event fetched and taken as
// its line), a sync with nothing changed (held to one request and 100 ms),
// and the memory after 100 syncs against after the first.
#include "benchtools.h"
#include "sync/syncengine.h"

#include "fakecalendar.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace vn;
using namespace vn::sync;

namespace {

QStringList schedules(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << QString::asprintf("2026%02d%02d%02d%02d,10,0,%d,%d,20271231,予定その%d",
                                   1 + i % 12, 1 + i % 28, 8 + i % 10, (i * 5) % 60, i % 3 == 0,
                                   i % 8, i);
    return lines;
}

double seconds(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main()
{
    QTemporaryDir a, b;
    const QStringList lines = schedules(1000);
    for (const QTemporaryDir* dir : {&a, &b})
        WriteFileAtomic(dir->filePath("Schedule.dat"), EncodeText(JoinLinesCrLf(lines)));
    test::FakeCalendar server;
    SyncOptions options;
    options.calendar = QStringLiteral("/cal/");
    options.timeZone = "Asia/Tokyo";
    options.isHoliday = [](DateTime) { return false; };
    SyncResult r;

    const double first = seconds([&] { r = RunSync(a.path(), server, options); });
    std::printf("first sync, 1000 schedules pushed       %.3f s (%d pushed)\n", first, r.pushed);
    const double second = seconds([&] { r = RunSync(b.path(), server, options); });
    std::printf("same folder on a second PC              %.3f s (%d pushed, %d events)\n", second,
                r.pushed, int(server.resources.size()));

    double quiet = 1e9;
    int calls = 0;
    for (int run = 0; run < 5; ++run) {
        server.calls = 0;
        quiet = std::min(quiet, seconds([&] { r = RunSync(a.path(), server, options); }));
        calls = std::max(calls, server.calls);
    }
    std::printf("nothing changed                         %.3f s, %d request(s)\n", quiet, calls);

    const double afterFirst = vn::bench::residentKb();
    for (int run = 0; run < 100; ++run)
        RunSync(a.path(), server, options);
    const double afterHundred = vn::bench::residentKb();
    std::printf("resident memory after 1 / 100 syncs     %.0f / %.0f KB\n", afterFirst, afterHundred);

    std::printf("budget|sync with nothing changed|%.3f|s|0.1\n", quiet);
    std::printf("budget|sync with nothing changed, requests|%d|n|1\n", calls);
    std::printf("budget|memory after 100 syncs / after 1|%.3f|x|1.05\n",
                afterHundred / std::max(1.0, afterFirst));
    return 0;
}
