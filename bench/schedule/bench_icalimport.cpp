// Reading a calendar whose one event has a huge SUMMARY (1, 4, 10 and 50 MB,
// on one line and folded at 75 bytes as writers do), as --import-ics and the
// schedule list read it. Prints seconds; the budget holds the 10 MB read to
// half a second and the 50 MB read to five times that: linear time, where
// the reading once took 25 s for 10 MB and did not end for 50 MB.
#include "schedule/icalendar.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace vn;

namespace {

QByteArray calendar(qsizetype summaryBytes, bool folded)
{
    QByteArray value = "SUMMARY:" + QByteArray(summaryBytes, 'x');
    QByteArray line;
    if (folded) {
        line.reserve(value.size() + value.size() / 25);
        for (qsizetype i = 0; i < value.size(); i += 74)
            line += (i ? " " : "") + value.mid(i, 74) + "\r\n";
    } else {
        line = value + "\r\n";
    }
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\n"
           "UID:a\r\nDTSTART:20240101T090000Z\r\n" +
           line + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The best of three reads, in seconds.
double readSeconds(const QByteArray& ics)
{
    IcalOptions options;
    options.timeZone = "UTC";
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        const IcalConversion c = IcalToScheduleLines(ics, {}, {}, options);
        best = std::min(best, t.nsecsElapsed() / 1e9);
        if (c.lines.size() != 1)
            std::printf("  (%d lines read)\n", int(c.lines.size()));
    }
    return best;
}

} // namespace

int main()
{
    double tenMb = 0, fiftyMb = 0;
    for (const bool folded : {false, true}) {
        for (const int mb : {1, 4, 10, 50}) {
            const double s = readSeconds(calendar(qsizetype(mb) << 20, folded));
            std::printf("iCalendar, %2d MB SUMMARY %-9s %.3f s\n", mb,
                        folded ? "folded" : "one line", s);
            if (mb == 10)
                tenMb = std::max(tenMb, s);
            if (mb == 50)
                fiftyMb = std::max(fiftyMb, s);
        }
    }
    std::printf("budget|iCalendar import, 10 MB SUMMARY|%.3f|s|0.5\n", tenMb);
    std::printf("budget|iCalendar import, 50 MB SUMMARY|%.3f|s|2.5\n", fiftyMb);
    return 0;
}
