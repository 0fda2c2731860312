#!/usr/bin/env python3
"""Counts the occurrences of every day in an iCalendar file, independently of
Velnote: python3-icalendar reads the file, python3-recurring-ical-events works
out the repetitions.

    ical_count.py FILE ZONE FIRST LAST

prints "yyyymmdd count" for every day from FIRST to LAST (yyyymmdd) that has
occurrences. A timed occurrence counts on the day of its start in ZONE (an
IANA zone name; floating times are taken as they are); an all-day occurrence
counts on every day it covers. Cancelled events do not count.

    ical_count.py --lines FILE

prints the value of every X-VELNOTE-LINE property, one a line, as vobject
(the reader of the Radicale server) decodes it.
"""
import datetime
import sys
import zoneinfo

import icalendar
import recurring_ical_events


def day(text):
    return datetime.date(int(text[:4]), int(text[4:6]), int(text[6:8]))


def main():
    if sys.argv[1] == "--lines":
        import vobject
        with open(sys.argv[2], encoding="utf-8") as f:
            cal = vobject.readOne(f.read())
        for ev in cal.vevent_list:
            sys.stdout.buffer.write(ev.contents["x-velnote-line"][0].value.encode() + b"\n")
        return
    path, zone, first, last = sys.argv[1], zoneinfo.ZoneInfo(sys.argv[2]), day(sys.argv[3]), day(sys.argv[4])
    with open(path, "rb") as f:
        cal = icalendar.Calendar.from_ical(f.read())
    counts = {}
    window = recurring_ical_events.of(cal).between(first - datetime.timedelta(days=7),
                                                   last + datetime.timedelta(days=7))
    for ev in window:
        if str(ev.get("STATUS", "")).upper() == "CANCELLED":
            continue
        start = ev["DTSTART"].dt
        days = []
        if isinstance(start, datetime.datetime):
            days.append(start.date() if start.tzinfo is None else start.astimezone(zone).date())
        else:
            end = ev["DTEND"].dt if "DTEND" in ev else start + datetime.timedelta(days=1)
            span = (end - start).days
            days.extend(start + datetime.timedelta(days=i) for i in range(max(span, 1)))
        for d in days:
            if first <= d <= last:
                counts[d] = counts.get(d, 0) + 1
    for d in sorted(counts):
        print(f"{d:%Y%m%d} {counts[d]}")


if __name__ == "__main__":
    main()
