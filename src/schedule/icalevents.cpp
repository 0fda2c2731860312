#include "icalevents.h"

#include "icalendar.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace vn::ical {

namespace {

// Instances of one rule scanned at most (rules by the second or minute).
constexpr int kScanLimit = 200000;

icaltimezone* zoneNamed(const char* tzid, icalcomponent* calendar)
{
    if (!tzid || !*tzid)
        return nullptr;
    if (calendar)
        if (icaltimezone* z = icalcomponent_get_timezone(calendar, tzid))
            return z;
    // "/freeassociation.sourceforge.net/Asia/Tokyo", "/mozilla.org/.../Asia/Tokyo"
    for (const char* p = tzid; p && *p; p = std::strchr(p + 1, '/')) {
        const char* name = *p == '/' ? p + 1 : p;
        if (icaltimezone* z = icaltimezone_get_builtin_timezone(name))
            return z;
    }
    return nullptr;
}

// The key that identifies an instance: seconds since the epoch, for dates
// the day's midnight in UTC.
qint64 keyOf(icaltimetype t, const LocalZone& local)
{
    if (icaltime_is_date(t))
        return qint64(QDate(1970, 1, 1).daysTo(QDate(t.year, t.month, t.day))) * 86400;
    return EpochSeconds(t, local);
}

bool sameDay(icaltimetype a, icaltimetype b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

} // namespace

icaltimetype ZonedTime(icaltimetype value, icalproperty* property, icalcomponent* calendar)
{
    if (icaltime_is_date(value) || icaltime_is_utc(value) || !property)
        return value;
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (tzid)
        if (icaltimezone* z = zoneNamed(icalparameter_get_tzid(tzid), calendar))
            value.zone = z;
    return value;
}

LocalStart ToLocal(icaltimetype t, const LocalZone& local)
{
    if (icaltime_is_date(t))
        return {t.year, t.month, t.day, 0, 0};
    if (!t.zone && !icaltime_is_utc(t))
        return {t.year, t.month, t.day, t.hour, t.minute}; // floating: already local
    const QDateTime at = QDateTime::fromSecsSinceEpoch(EpochSeconds(t, local), local.qzone);
    return {at.date().year(), at.date().month(), at.date().day(), at.time().hour(),
            at.time().minute()};
}

EventOccurrences ExpandEvent(icalcomponent* event, icalcomponent* calendar, const LocalZone& local,
                             const std::vector<icaltimetype>& replaced)
{
    EventOccurrences out;
    icalproperty* startProp = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!startProp)
        return out;
    const icaltimetype start = ZonedTime(icalproperty_get_dtstart(startProp), startProp, calendar);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start) || start.year < 1 ||
        start.year > 9999 || !QDate::isValid(start.year, start.month, start.day))
        return out;
    out.allDay = icaltime_is_date(start);
    if (out.allDay) {
        const icaltimetype end = icalcomponent_get_dtend(event);
        if (!icaltime_is_null_time(end) && icaltime_is_date(end)) {
            const qint64 days = QDate(start.year, start.month, start.day)
                                    .daysTo(QDate(end.year, end.month, end.day));
            out.spanDays = int(std::clamp<qint64>(days, 1, 100000));
        }
    }

    // Instances, in the event's own zone, keyed by their moment.
    std::map<qint64, icaltimetype> instances;
    auto withinHorizon = [&](icaltimetype t) { return ToLocal(t, local).year <= kIcalOpenEndYear; };
    auto add = [&](icaltimetype t) {
        if (!icaltime_is_null_time(t) && t.year >= 1 && t.year <= 9999)
            instances.emplace(keyOf(t, local), t);
    };
    // A recurrence value of the other kind takes the start's form.
    auto likeStart = [&](icaltimetype t) {
        if (out.allDay && !icaltime_is_date(t))
            return DateValue(ToLocal(t, local).year, ToLocal(t, local).month,
                             ToLocal(t, local).day);
        if (!out.allDay && icaltime_is_date(t)) {
            icaltimetype s = start;
            s.year = t.year;
            s.month = t.month;
            s.day = t.day;
            return s;
        }
        return t;
    };
    add(start);

    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        if (rule.freq == ICAL_NO_RECURRENCE)
            continue;
        out.recurring = true;
        const bool open = rule.count == 0 && icaltime_is_null_time(rule.until);
        out.openEnded = out.openEnded || open;
        if (!icaltime_is_null_time(rule.until)) {
            icaltimetype until = rule.until;
            if (!icaltime_is_date(until) && !icaltime_is_utc(until))
                until.zone = start.zone;
            out.until = ToLocal(until, local);
        }
        icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
        if (!it)
            continue;
        int scanned = 0;
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
             t = icalrecur_iterator_next(it)) {
            t.zone = start.zone;
            if (open && !withinHorizon(t))
                break;
            if (++scanned > kScanLimit) {
                out.scanCut = true;
                break;
            }
            add(t);
        }
        icalrecur_iterator_free(it);
    }
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const icaltimetype t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        if (icaltime_is_null_time(t))
            continue;
        out.recurring = true;
        add(likeStart(ZonedTime(t, p, calendar)));
    }

    // Exclusions: EXDATE, and instances that another event replaces. A date
    // excludes every instance on that day.
    auto exclude = [&](icaltimetype t) {
        if (icaltime_is_date(t) && !out.allDay) {
            for (auto i = instances.begin(); i != instances.end();)
                i = sameDay(i->second, t) ? instances.erase(i) : std::next(i);
        } else {
            instances.erase(keyOf(likeStart(t), local));
        }
    };
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        exclude(ZonedTime(icalproperty_get_exdate(p), p, calendar));
    for (const icaltimetype& t : replaced)
        exclude(t);

    out.starts.reserve(instances.size());
    for (const auto& [key, t] : instances)
        out.starts.push_back(ToLocal(t, local));
    // Wall-clock order, which a change of summer time may differ from.
    auto order = [](const LocalStart& a, const LocalStart& b) {
        return std::tie(a.year, a.month, a.day, a.hour, a.minute) <
               std::tie(b.year, b.month, b.day, b.hour, b.minute);
    };
    std::sort(out.starts.begin(), out.starts.end(), order);
    out.starts.erase(std::unique(out.starts.begin(), out.starts.end()), out.starts.end());
    return out;
}

} // namespace vn::ical
