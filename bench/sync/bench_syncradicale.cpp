// The whole sync (engine and CalDAV client) against a local Radicale: the
// first sync of 1,000 schedules, the same folder's first sync on a second
// PC, and a sync with nothing changed (its requests and time, the server's
// own time included), then the memory after 100 such syncs against after
// the first. Skips when radicale is not installed.
#include "benchtools.h"
#include "foundation/textcodec.h"
#include "radicaleserver.h"
#include "sync/caldavclient.h"
#include "sync/syncengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace vn::sync;

namespace {

constexpr int kSchedules = 1000;
constexpr int kSyncs = 100;

// A folder carried over from Windows: Shift-JIS, CR LF.
bool writeSchedules(const QString& folder)
{
    QString text;
    for (int i = 0; i < kSchedules; ++i)
        text += QStringLiteral("2027%1%2%3,00,0,0,0,2027%1%2,予定 %4\r\n")
                    .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                    .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                    .arg(QStringLiteral("%1").arg(800 + (i % 10) * 100, 4, 10, QLatin1Char('0')))
                    .arg(i);
    QFile file(folder + QStringLiteral("/Schedule.dat"));
    return file.open(QIODevice::WriteOnly) && file.write(vn::ToSjis(text)) > 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    vn::test::RadicaleServer server;
    if (!server.started()) {
        std::printf("skipped: %s\n", qPrintable(server.problem()));
        return 0;
    }
    QTemporaryDir pcA, pcB;
    CalDavClient client({server.url(), server.user(), server.password(), {}, false, 30000});
    TransportError error;
    const QUrl calendar = client.createCalendar(QStringLiteral("Velnote"), error).url;
    if (!error.ok() || !writeSchedules(pcA.path())) {
        std::printf("failed to set up: %s\n", qPrintable(error.detail));
        return 1;
    }
    client.setCalendar(calendar);
    SyncOptions options;
    options.calendar = calendar.toString();
    options.timeZone = "Asia/Tokyo";

    QElapsedTimer t;
    t.start();
    const SyncResult first = RunSync(pcA.path(), client, options);
    const double firstMs = t.nsecsElapsed() / 1e6;
    t.restart();
    const SyncResult second = RunSync(pcB.path(), client, options);
    const double secondMs = t.nsecsElapsed() / 1e6;
    if (!first.ok() || first.pushed != kSchedules || second.pulled != kSchedules) {
        std::printf("unexpected: pushed %d, pulled %d (%s)\n", first.pushed, second.pulled,
                    qPrintable(first.message + second.message));
        return 1;
    }

    QList<double> ms;
    double firstKb = 0;
    int requests = 0;
    for (int run = 0; run < kSyncs; ++run) {
        const int before = client.requestCount();
        t.restart();
        const SyncResult idle = RunSync(pcA.path(), client, options);
        ms << t.nsecsElapsed() / 1e6;
        requests = std::max(requests, client.requestCount() - before);
        if (!idle.ok() || idle.pushed + idle.pulled + idle.deleted > 0) {
            std::printf("a sync with nothing changed changed something\n");
            return 1;
        }
        if (run == 0)
            firstKb = vn::bench::residentKb();
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("first sync of %d schedules: %.0f ms; the same on a second PC: %.0f ms\n",
                kSchedules, firstMs, secondMs);
    std::printf("sync with nothing changed: %d request(s), median %.1f ms\n", requests, median);
    std::printf("budget|whole sync, nothing changed: requests|%d|req|1\n", requests);
    std::printf("budget|whole sync, nothing changed (1,000 schedules)|%.1f|ms|100\n", median);
    std::printf("budget|whole sync, memory after %d syncs (x after the first)|%.3f|x|1.05\n",
                kSyncs, vn::bench::residentKb() / firstKb);
    return 0;
}
