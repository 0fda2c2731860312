// Writing schedules as an iCalendar file.
#include "icalcommon.h"
#include "icalendar.h"
#include "schedulelistfile.h"

#include "foundation/clock.h"
#include "foundation/exportfile.h"
#include "foundation/textfile.h"

#include <QCryptographicHash>
#include <QHash>

namespace vn {

namespace ical {

bool RuleForLine(const ScheduleFields& f, const HolidayTest& isHoliday, const LocalZone& zone,
                 icalrecurrencetype* rule)
{
    if (f.repeat != 1 || !IsKnownKind(f.kind) || IsMonthEndKind(f.kind))
        return false;
    int seen = 0;
    WalkOccurrences(f, isHoliday, [&](const YMD&) { return ++seen < 2; });
    if (seen < 2)
        return false; // the last day comes before the second occurrence

    icalrecurrencetype_clear(rule);
    rule->interval = 1;
    switch (f.kind) {
    case kKindDaily: rule->freq = ICAL_DAILY_RECURRENCE; break;
    case kKindWeekly: rule->freq = ICAL_WEEKLY_RECURRENCE; break;
    case kKindFortnightly:
        rule->freq = ICAL_WEEKLY_RECURRENCE;
        rule->interval = 2;
        break;
    // Months and years without the start's day (the 31st, 29 February) are
    // passed over, as the rules of RFC 5545 pass over dates that do not exist.
    case kKindMonthly: rule->freq = ICAL_MONTHLY_RECURRENCE; break;
    case kKindYearly: rule->freq = ICAL_YEARLY_RECURRENCE; break;
    default:
        rule->freq = ICAL_DAILY_RECURRENCE;
        rule->interval = short(f.kind / kKindDaySpanUnit);
        break;
    }
    // The end is the whole last day: a DATE for all-day schedules; for timed
    // ones the last second of that day, in UTC when the start has a zone.
    if (f.allDay) {
        rule->until = DateValue(f.lastYear, f.lastMonth, f.lastDay);
    } else {
        icaltimetype until = WallTime(f.lastYear, f.lastMonth, f.lastDay, 23, 59, 59);
        if (!zone.floating()) {
            until.zone = zone.zone;
            until = icaltime_convert_to_zone(until, icaltimezone_get_utc_timezone());
        }
        rule->until = until;
    }
    return true;
}

QString EscapeText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u',': out += QLatin1String("\\,"); break;
        case u';': out += QLatin1String("\\;"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': break;
        default: out += c; break;
        }
    }
    return out;
}

QByteArray FoldContentLine(const QByteArray& line)
{
    QByteArray out;
    qsizetype from = 0;
    qsizetype room = 75;
    while (line.size() - from > room) {
        qsizetype cut = from + room;
        while (cut > from && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 character
        out.append(line.constData() + from, cut - from);
        out += "\r\n ";
        from = cut;
        room = 74;
    }
    out.append(line.constData() + from, line.size() - from);
    return out;
}

QString RepetitionName(const ScheduleFields& f)
{
    if (f.repeat != 1)
        return {};
    if (f.kind >= kKindDaySpanUnit && IsKnownKind(f.kind))
        return QStringLiteral("%1日間隔").arg(f.kind / kKindDaySpanUnit);
    return KindLabel(f.kind);
}

} // namespace ical

namespace {

using namespace ical;

class CalendarWriter {
public:
    CalendarWriter(const HolidayTest& isHoliday, const IcalOptions& options)
        : holiday_(isHoliday), zone_(LocalZone::Resolve(options.timeZone)), fixedUid_(options.uid)
    {
        const QDateTime now = ToQDateTime(options.now != 0 ? options.now : Now());
        const QDateTime utc = QDateTime(now.date(), now.time(), zone_.qzone).toUTC();
        stamp_ = WallTime(utc.date().year(), utc.date().month(), utc.date().day(),
                          utc.time().hour(), utc.time().minute(), utc.time().second());
        stamp_.zone = icaltimezone_get_utc_timezone();
    }

    QByteArray write(const std::vector<ScheduleFields>& rows)
    {
        ComponentPtr cal(icalcomponent_new_vcalendar());
        icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Velnote//Velnote//JA"));
        icalcomponent_add_property(cal.get(), icalproperty_new_calscale("GREGORIAN"));
        const bool anyTimed = std::any_of(rows.begin(), rows.end(),
                                          [](const ScheduleFields& f) { return !f.allDay; });
        if (anyTimed && !zone_.floating() && !zone_.isUtc) {
            // The zone's rules, under the plain zone name that other programs
            // know (libical's own names carry a prefix).
            icalcomponent* tz = icalcomponent_new_clone(icaltimezone_get_component(zone_.zone));
            if (icalproperty* id = icalcomponent_get_first_property(tz, ICAL_TZID_PROPERTY))
                icalproperty_set_tzid(id, zone_.id.constData());
            icalcomponent_add_component(cal.get(), tz);
        }
        for (const ScheduleFields& f : rows)
            icalcomponent_add_component(cal.get(), event(f));
        return withLines(TakeString(icalcomponent_as_ical_string_r(cal.get())).toUtf8());
    }

private:
    // A start or a repetition day of the line, as a property value.
    icaltimetype at(const ScheduleFields& f, const YMD& d) const
    {
        if (f.allDay)
            return DateValue(d.year, d.month, d.day);
        icaltimetype t = WallTime(d.year, d.month, d.day, f.hour, f.minute);
        if (zone_.isUtc)
            t.zone = icaltimezone_get_utc_timezone();
        return t;
    }
    // Names the zone of a timed value.
    icalproperty* zoned(icalproperty* p, const ScheduleFields& f) const
    {
        if (!f.allDay && !zone_.floating() && !zone_.isUtc)
            icalproperty_add_parameter(p, icalparameter_new_tzid(zone_.id.constData()));
        return p;
    }
    icalproperty* dateList(icalproperty* p, const ScheduleFields& f) const
    {
        if (f.allDay)
            icalproperty_add_parameter(p, icalparameter_new_value(ICAL_VALUE_DATE));
        return zoned(p, f);
    }

    // The text with each stand-in replaced by its line as a TEXT value,
    // folded at 75 bytes.
    QByteArray withLines(const QByteArray& text) const
    {
        QByteArray out;
        out.reserve(text.size() + text.size() / 8);
        const QByteArray head = QByteArray(kLineProperty) + ':' + kLineStandIn;
        qsizetype pos = 0;
        for (qsizetype at = text.indexOf(head); at >= 0; at = text.indexOf(head, pos)) {
            out.append(text.constData() + pos, at - pos);
            const qsizetype end = text.indexOf("\r\n", at);
            const int index = text.mid(at + head.size(), end - at - head.size()).toInt();
            out += FoldContentLine(QByteArray(kLineProperty) + ':' +
                                   EscapeText(lines_.value(index)).toUtf8());
            pos = end;
        }
        out.append(text.constData() + pos, text.size() - pos);
        return out;
    }

    QByteArray uid(const QString& line)
    {
        if (!fixedUid_.isEmpty())
            return fixedUid_;
        QByteArray id =
            QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Sha1).toHex().left(24);
        const int n = ++uids_[id];
        if (n > 1)
            id += '-' + QByteArray::number(n);
        return id + "@velnote";
    }

    icalcomponent* event(const ScheduleFields& f)
    {
        const QString line = ComposeScheduleLine(f);
        icalcomponent* ev = icalcomponent_new_vevent();
        icalcomponent_add_property(ev, icalproperty_new_uid(uid(line).constData()));
        icalcomponent_add_property(ev, icalproperty_new_dtstamp(stamp_));

        std::vector<YMD> days;
        icalrecurrencetype rule;
        const bool hasRule = RuleForLine(f, holiday_, zone_, &rule);
        if (IsMonthEndKind(f.kind))
            WalkOccurrences(f, holiday_, [&](const YMD& d) {
                days.push_back(d);
                return true;
            });
        const YMD first = days.empty() ? YMD{f.year, f.month, f.day} : days.front();
        icalcomponent_add_property(ev, zoned(icalproperty_new_dtstart(at(f, first)), f));
        if (f.allDay) {
            const YMD next = DecodeDate(EncodeDate(first.year, first.month, first.day) + 1);
            icalcomponent_add_property(
                ev, icalproperty_new_dtend(DateValue(next.year, next.month, next.day)));
        }
        icalcomponent_add_property(ev, icalproperty_new_summary(f.text.toUtf8().constData()));
        if (!f.url.isEmpty())
            icalcomponent_add_property(ev, icalproperty_new_url(f.url.toUtf8().constData()));

        if (hasRule) {
            icalcomponent_add_property(ev, icalproperty_new_rrule(rule));
        } else if (IsMonthEndKind(f.kind)) {
            if (days.empty()) {
                // No month end falls before the last day: the start is
                // excluded again, so the event has no occurrence at all.
                icalcomponent_add_property(ev, dateList(icalproperty_new_exdate(at(f, first)), f));
            }
            for (size_t i = 1; i < days.size(); ++i) {
                icaldatetimeperiodtype value;
                value.time = at(f, days[i]);
                value.period = icalperiodtype_null_period();
                icalcomponent_add_property(ev, dateList(icalproperty_new_rdate(value), f));
            }
        }

        const QString repetition = RepetitionName(f);
        if (!repetition.isEmpty())
            icalcomponent_add_property(
                ev, icalproperty_new_comment(
                        (QStringLiteral("Velnote 繰り返し: ") + repetition).toUtf8().constData()));
        // libical writes an X- value as it is given, commas unescaped: a
        // stand-in is replaced by the escaped line once the text is made.
        icalproperty* own =
            icalproperty_new_x((kLineStandIn + QByteArray::number(lines_.size())).constData());
        icalproperty_set_x_name(own, kLineProperty);
        icalcomponent_add_property(ev, own);
        lines_.append(line);

        if (!f.allDay && f.alarm > 0) {
            icalcomponent* alarm = icalcomponent_new_valarm();
            icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icalcomponent_add_property(alarm,
                                       icalproperty_new_description(f.text.toUtf8().constData()));
            icaltriggertype trigger;
            trigger.time = icaltime_null_time();
            trigger.duration = icaldurationtype_from_int(-f.alarm * 60);
            icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
            icalcomponent_add_component(ev, alarm);
        }
        return ev;
    }

    static constexpr const char* kLineStandIn = "VELNOTE-LINE-";

    const HolidayTest& holiday_;
    LocalZone zone_;
    icaltimetype stamp_;
    QHash<QByteArray, int> uids_;
    QByteArray fixedUid_;
    QStringList lines_; // the line of each stand-in
};

} // namespace

QByteArray SchedulesToIcal(const std::vector<ScheduleFields>& rows, const HolidayTest& isHoliday,
                           const IcalOptions& options)
{
    CalendarWriter writer(isHoliday, options);
    return writer.write(rows);
}

IcalExportSummary ExportIcalFile(const QString& schedulePath, const QString& icsPath,
                                 const HolidayTest& isHoliday, const IcalOptions& options)
{
    CheckExportTarget(icsPath); // before the work of reading
    const ScheduleRows rows = ReadScheduleRows(schedulePath);
    WriteExportFile(icsPath, SchedulesToIcal(rows.rows, isHoliday, options));
    IcalExportSummary summary;
    summary.events = int(rows.rows.size());
    summary.unreadableLines = rows.report.count();
    return summary;
}

} // namespace vn
