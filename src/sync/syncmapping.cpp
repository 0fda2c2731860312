#include "syncmapping.h"

#include "foundation/apperror.h"
#include "foundation/clock.h"
#include "foundation/datekeys.h"
#include "schedule/icalcommon.h"

#include <QCryptographicHash>

namespace vn::sync {

namespace {

using namespace vn::ical;

QString uidOf(icalcomponent* c)
{
    const char* uid = icalcomponent_get_uid(c);
    return uid ? QString::fromUtf8(uid) : QString();
}

RemoteContent readJournal(icalcomponent* journal)
{
    RemoteContent out;
    out.uid = uidOf(journal);
    if (icalcomponent_get_status(journal) == ICAL_STATUS_CANCELLED)
        return out;
    icalproperty* start = icalcomponent_get_first_property(journal, ICAL_DTSTART_PROPERTY);
    if (!start)
        return out;
    const icaltimetype t = icalproperty_get_dtstart(start);
    if (icaltime_is_null_time(t) || !QDate::isValid(t.year, t.month, t.day))
        return out;
    QString text;
    for (icalproperty* p = icalcomponent_get_first_property(journal, ICAL_DESCRIPTION_PROPERTY); p;
         p = icalcomponent_get_next_property(journal, ICAL_DESCRIPTION_PROPERTY)) {
        if (!text.isEmpty())
            text += u'\n';
        text += QString::fromUtf8(icalproperty_get_description(p));
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    out.type = SyncedItem::Type::Journal;
    out.day = DateKey(t.year, t.month, t.day);
    out.lines = text.isEmpty() ? QStringList() : text.split(u'\n');
    return out;
}

} // namespace

QString UidForLine(const QString& line, int n)
{
    QString uid = QStringLiteral("velnote-") +
                  QString::fromLatin1(
                      QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Sha1).toHex())
                      .left(24);
    if (n > 1)
        uid += QStringLiteral("-%1").arg(n);
    return uid;
}

QString UidForDay(const QString& day)
{
    return QStringLiteral("velnote-diary-") + day;
}

QByteArray EventForLine(const QString& line, const QString& uid, const HolidayTest& isHoliday,
                        const IcalOptions& options)
{
    ScheduleFields f;
    ReadScheduleLine(line, &f);
    IcalOptions o = options;
    o.uid = uid.toUtf8();
    return SchedulesToIcal({f}, isHoliday, o);
}

QByteArray JournalForDay(const QString& day, const QStringList& lines, const QString& uid,
                         DateTime now)
{
    PrepareLibical();
    ComponentPtr cal(icalcomponent_new_vcalendar());
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Velnote//Velnote//JA"));
    icalcomponent* j = icalcomponent_new_vjournal();
    icalcomponent_add_property(j, icalproperty_new_uid(uid.toUtf8().constData()));
    const QDateTime utc = ToQDateTime(now != 0 ? now : Now()).toUTC();
    icaltimetype stamp = WallTime(utc.date().year(), utc.date().month(), utc.date().day(),
                                  utc.time().hour(), utc.time().minute(), utc.time().second());
    stamp.zone = icaltimezone_get_utc_timezone();
    icalcomponent_add_property(j, icalproperty_new_dtstamp(stamp));
    icalproperty* start = icalproperty_new_dtstart(
        DateValue(day.left(4).toInt(), day.mid(4, 2).toInt(), day.mid(6, 2).toInt()));
    icalproperty_add_parameter(start, icalparameter_new_value(ICAL_VALUE_DATE));
    icalcomponent_add_property(j, start);
    icalcomponent_add_property(
        j, icalproperty_new_description(lines.join(u'\n').toUtf8().constData()));
    icalcomponent_add_component(cal.get(), j);
    return TakeString(icalcomponent_as_ical_string_r(cal.get())).toUtf8();
}

RemoteContent ReadRemote(const QByteArray& data, const HolidayTest& isHoliday,
                         const IcalOptions& options)
{
    RemoteContent out;
    int cut = 0;
    ComponentPtr root = ParseCalendarText(data, &cut);
    if (!root)
        return out;
    icalcomponent* cal =
        icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT
            ? root.get()
            : icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
    if (!cal)
        return out;
    if (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT)) {
        out.uid = uidOf(ev);
        try {
            out.lines = IcalToScheduleLines(data, {}, isHoliday, options).lines;
        } catch (const AppError&) {
            return out; // not readable after all: left alone
        }
        out.type = SyncedItem::Type::Event;
        return out;
    }
    if (icalcomponent* j = icalcomponent_get_first_component(cal, ICAL_VJOURNAL_COMPONENT))
        return readJournal(j);
    return out;
}

} // namespace vn::sync
