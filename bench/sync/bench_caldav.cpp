// The CalDAV client against a local Radicale: a sync-collection when nothing
// changed on a calendar of 200 events. Prints the requests it took, the
// median time (the server's own time included), the client's own CPU time and the memory after 100
// such syncs against after the first. Skips when radicale is not installed.
#include "benchtools.h"
#include "radicaleserver.h"
#include "sync/caldavclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace vn::sync;

namespace {

constexpr int kEvents = 200;
constexpr int kSyncs = 100;

QByteArray icsEvent(int i)
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velnote//bench//JA\r\n"
                          "BEGIN:VEVENT\r\nUID:bench-%1\r\nDTSTAMP:20261210T000000Z\r\n"
                          "DTSTART;VALUE=DATE:20270101\r\nSUMMARY:予定 %1\r\nEND:VEVENT\r\n"
                          "END:VCALENDAR\r\n")
        .arg(i)
        .toUtf8();
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
    CalDavClient client({server.url(), server.user(), server.password(), {}, false, 30000});
    TransportError error;
    client.setCalendar(client.createCalendar(QStringLiteral("Velnote"), error).url);
    for (int i = 0; i < kEvents && error.ok(); ++i)
        client.put(client.hrefForNew(QStringLiteral("bench-%1").arg(i)), icsEvent(i), {}, error);
    const QByteArray token = client.changesSince({}, error).syncToken;
    if (!error.ok() || token.isEmpty()) {
        std::printf("failed to set up: %s\n", qPrintable(error.detail));
        return 1;
    }

    QList<double> ms;
    double firstKb = 0;
    int requests = 0;
    const double cpuBefore = vn::bench::cpuMs();
    for (int run = 0; run < kSyncs; ++run) {
        const int before = client.requestCount();
        QElapsedTimer t;
        t.start();
        const RemoteChanges changes = client.changesSince(token, error);
        ms << t.nsecsElapsed() / 1e6;
        requests = std::max(requests, client.requestCount() - before);
        if (!error.ok() || !changes.changed.isEmpty()) {
            std::printf("unexpected answer: %s\n", qPrintable(error.detail));
            return 1;
        }
        if (run == 0)
            firstKb = vn::bench::residentKb();
    }
    const double cpuPerSync = (vn::bench::cpuMs() - cpuBefore) / kSyncs;
    const double lastKb = vn::bench::residentKb();
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("sync-collection, nothing changed (%d events): %d request(s), median %.1f ms, "
                "best %.1f ms\n",
                kEvents, requests, median, ms.first());
    std::printf("client CPU time per sync: %.2f ms (the rest is the server's)\n", cpuPerSync);
    std::printf("resident memory: %.0f KB after the first sync, %.0f KB after %d\n", firstKb,
                lastKb, kSyncs);
    std::printf("budget|sync with nothing changed: requests|%d|req|1\n", requests);
    std::printf("budget|sync with nothing changed (local Radicale)|%.1f|ms|100\n", median);
    std::printf("budget|memory after %d syncs (x after the first)|%.3f|x|1.05\n", kSyncs,
                lastKb / firstKb);
    return 0;
}
