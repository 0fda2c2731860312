#pragma once
// The occurrences of one VEVENT, worked out the way RFC 5545 defines them
// (DTSTART, RRULE, RDATE, minus EXDATE and the instances that other events
// of the same UID replace) and converted to the user's wall-clock time.
#include "icalcommon.h"

#include <vector>

namespace vn::ical {

struct LocalStart {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    friend bool operator==(const LocalStart&, const LocalStart&) = default;
};

struct EventOccurrences {
    std::vector<LocalStart> starts; // ascending, no two alike
    bool allDay = false;            // DTSTART is a DATE
    bool recurring = false;         // RRULE or RDATE present
    bool openEnded = false;         // a rule without end, read up to the open-end year
    bool scanCut = false;           // the rule has more instances than can be scanned
    int spanDays = 1;               // days an all-day event covers
    LocalStart until;               // the local day of a rule's UNTIL; year 0: none
};

// A property's time with the zone its TZID names: the calendar's own
// VTIMEZONE first, then the zones libical knows (also under a prefixed name).
// Without TZID the value stays UTC, a date or a floating time.
icaltimetype ZonedTime(icaltimetype value, icalproperty* property, icalcomponent* calendar);
LocalStart ToLocal(icaltimetype t, const LocalZone& local);

// An event without DTSTART, or with one that cannot be read, has no starts.
EventOccurrences ExpandEvent(icalcomponent* event, icalcomponent* calendar, const LocalZone& local,
                             const std::vector<icaltimetype>& replaced);

} // namespace vn::ical
