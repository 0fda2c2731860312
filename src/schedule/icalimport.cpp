// Reading an iCalendar file into schedule lines.
#include "icalcommon.h"
#include "icalendar.h"
#include "icalevents.h"

#include "foundation/apperror.h"
#include "foundation/recordfile.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <cstring>
#include <map>

namespace vn {

namespace {

using namespace ical;

const QString kNoTitle = QStringLiteral("(件名なし)");
// A schedule's text takes at most kScheduleTextBytes in Shift-JIS, which
// no character needs more than four UTF-8 bytes for: more is not looked at.
constexpr qsizetype kTextLookBytes = 4 * kScheduleTextBytes + 4;

// Text for a schedule line: one line, no surrounding blanks, and nothing the
// line reader would take for the start of a web address. Only the first
// maxBytes (UTF-8) are looked at; *longer is set when there was more.
QString lineText(const char* utf8, qsizetype maxBytes = kTextLookBytes, bool* longer = nullptr)
{
    const qsizetype size = utf8 ? qsizetype(std::strlen(utf8)) : 0;
    qsizetype take = qMin(size, maxBytes);
    while (take < size && take > 0 && (static_cast<unsigned char>(utf8[take]) & 0xC0) == 0x80)
        --take; // not half a character
    if (longer)
        *longer = take < size;
    QString s = QString::fromUtf8(utf8 ? utf8 : "", take);
    for (QChar& c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    s = s.trimmed();
    s.replace(QLatin1String(",http"), QLatin1String(", http"));
    return s;
}

// A web address the line can carry: it must begin with "http".
QString lineUrl(const char* utf8)
{
    bool longer = false;
    QString s = lineText(utf8, kTextLookBytes, &longer);
    if (longer || s.contains(u' ') || !s.startsWith(QLatin1String("http"), Qt::CaseInsensitive))
        return {};
    s.replace(0, 4, QStringLiteral("http"));
    return s;
}

// Minutes of the first alarm that rings before the start; 0 for none.
int alarmMinutes(icalcomponent* event)
{
    for (icalcomponent* a = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
        // Only an alarm shown or sounded here rings here; a mail is sent by
        // the server.
        icalproperty* action = icalcomponent_get_first_property(a, ICAL_ACTION_PROPERTY);
        const icalproperty_action kind =
            action ? icalproperty_get_action(action) : ICAL_ACTION_NONE;
        if (kind != ICAL_ACTION_DISPLAY && kind != ICAL_ACTION_AUDIO)
            continue;
        icalproperty* p = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
        if (!p)
            continue;
        const icaltriggertype trigger = icalproperty_get_trigger(p);
        if (!icaltime_is_null_time(trigger.time))
            continue; // a fixed moment
        icalparameter* related = icalproperty_get_first_parameter(p, ICAL_RELATED_PARAMETER);
        if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
            continue;
        const int seconds = icaldurationtype_as_int(trigger.duration);
        if (seconds < 0 && seconds >= -7 * 24 * 3600)
            return (-seconds + 59) / 60;
    }
    return 0;
}

icalproperty* ownLineProperty(icalcomponent* event)
{
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
        const char* name = icalproperty_get_x_name(p);
        if (name && qstricmp(name, kLineProperty) == 0)
            return p;
    }
    return nullptr;
}

// Undoes the escapes of a TEXT value (some programs escape unknown values
// when they write a calendar again).
QString unescapeText(const QString& s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar c = s[++i];
            out += (c == u'n' || c == u'N') ? QChar(u'\n') : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The places libical could not read. A TEXT property written empty
// ("DESCRIPTION:", as web calendars write on every event) is no error: the
// value may be empty, libical only drops the property.
int countFormatErrors(icalcomponent* c)
{
    int n = 0;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY)) {
        const QByteArray text = icalproperty_get_xlicerror(p);
        static const QByteArray noValue("No value for ");
        if (text.startsWith(noValue)) {
            const QByteArray name = text.mid(noValue.size()).split(' ').value(0);
            const icalproperty_kind kind = icalproperty_string_to_kind(name.constData());
            if (kind != ICAL_NO_PROPERTY &&
                icalproperty_kind_to_value_kind(kind) == ICAL_TEXT_VALUE)
                continue;
        }
        ++n;
    }
    for (icalcomponent* sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
         sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        n += countFormatErrors(sub);
    return n;
}

YMD addDays(int y, int m, int d, int days)
{
    return DecodeDate(EncodeDate(y, m, d) + days);
}

class CalendarReader {
public:
    CalendarReader(const QStringList& existing, const HolidayTest& isHoliday,
                   const IcalOptions& options)
        : holiday_(isHoliday), zone_(LocalZone::Resolve(options.timeZone))
    {
        for (const QString& line : existing)
            known_.insert(line);
    }

    IcalConversion read(icalcomponent* root)
    {
        result_.summary.formatErrors = countFormatErrors(root);
        std::vector<icalcomponent*> calendars;
        if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
            calendars.push_back(root);
        } else {
            for (icalcomponent* c =
                     icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
                 c; c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
                calendars.push_back(c);
        }
        if (calendars.empty())
            throw AppError(QStringLiteral("iCalendar形式のデータではありません"));
        for (icalcomponent* cal : calendars)
            readCalendar(cal);
        return std::move(result_);
    }

private:
    void readCalendar(icalcomponent* cal)
    {
        // Instances that another event of the same UID replaces.
        std::map<QByteArray, std::vector<icaltimetype>> replaced;
        std::vector<icalcomponent*> events;
        for (icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT)) {
            switch (icalcomponent_isa(c)) {
            case ICAL_VEVENT_COMPONENT: events.push_back(c); break;
            case ICAL_VTIMEZONE_COMPONENT: break;
            default: ++result_.summary.otherComponents; break;
            }
        }
        for (icalcomponent* ev : events) {
            icalproperty* rid = icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY);
            const char* uid = icalcomponent_get_uid(ev);
            if (rid && uid)
                replaced[QByteArray(uid)].push_back(
                    ZonedTime(icalproperty_get_recurrenceid(rid), rid, cal));
        }
        for (icalcomponent* ev : events) {
            const char* uid = icalcomponent_get_uid(ev);
            const bool isChange =
                icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY) != nullptr;
            static const std::vector<icaltimetype> none;
            const auto r = uid && !isChange ? replaced.find(QByteArray(uid)) : replaced.end();
            readEvent(ev, cal, r == replaced.end() ? none : r->second);
        }
    }

    void readEvent(icalcomponent* ev, icalcomponent* cal, const std::vector<icaltimetype>& replaced)
    {
        IcalImportSummary& sum = result_.summary;
        if (icalcomponent_get_status(ev) == ICAL_STATUS_CANCELLED) {
            ++sum.cancelled;
            return;
        }
        const EventOccurrences occ = ExpandEvent(ev, cal, zone_, replaced);
        if (restoreOwnLine(ev, cal))
            return;
        if (occ.starts.empty()) {
            ++(startReadable(ev) ? sum.noOccurrence : sum.noStart);
            return;
        }

        ScheduleFields f;
        f.allDay = occ.allDay;
        bool longer = false;
        f.text = lineText(icalcomponent_get_summary(ev), kTextLookBytes, &longer);
        if (longer || SjisLength(f.text) > kScheduleTextBytes) {
            f.text = SjisLeft(f.text, kScheduleTextBytes).trimmed();
            ++sum.cutTexts;
        }
        if (f.text.isEmpty())
            f.text = kNoTitle;
        icalproperty* url = icalcomponent_get_first_property(ev, ICAL_URL_PROPERTY);
        f.url = url ? lineUrl(icalproperty_get_url(url)) : QString();
        f.alarm = occ.allDay ? 0 : alarmMinutes(ev);
        const LocalStart& first = occ.starts.front();
        setStart(f, first);

        if (occ.allDay && occ.spanDays > 1 && occ.starts.size() > 1) {
            readLongDays(f, occ);
            return;
        }
        if (occ.starts.size() == 1) {
            if (occ.allDay && occ.spanDays > 1) {
                // An all-day event over several days shows on each of them.
                f.repeat = 1;
                f.kind = kKindDaily;
                setLast(f, addDays(first.year, first.month, first.day, occ.spanDays - 1));
                if (add(f))
                    ++sum.repeating;
            } else if (add(f)) {
                ++sum.single;
            }
            return;
        }
        if (!occ.scanCut && mapOntoKind(f, occ)) {
            if (add(f))
                ++sum.repeating;
            return;
        }
        expandOccurrences(f, occ, false);
    }

    // Each occurrence a line of its own (over all its days when asked), up
    // to the limit; the summary counts them and what the limit left out.
    void expandOccurrences(const ScheduleFields& f, const EventOccurrences& occ, bool overItsDays)
    {
        IcalImportSummary& sum = result_.summary;
        const size_t n = std::min<size_t>(occ.starts.size(), kIcalExpandLimit);
        int added = 0;
        for (size_t i = 0; i < n; ++i) {
            ScheduleFields one = f;
            setStart(one, occ.starts[i]);
            if (overItsDays) {
                one.repeat = 1;
                setLast(one, addDays(one.year, one.month, one.day, occ.spanDays - 1));
            }
            added += add(one) ? 1 : 0;
        }
        if (added > 0) {
            ++sum.expandedEvents;
            sum.expandedLines += added;
        }
        if (occ.starts.size() > n || occ.scanCut) {
            ++sum.cutEvents;
            sum.cutOccurrences += int(occ.starts.size() - n);
        }
    }

    // A repeating all-day event over several days: each day of its span
    // repeats as its first day does, one line for each when one kind says
    // it; otherwise each occurrence is one line over its days.
    void readLongDays(const ScheduleFields& f, const EventOccurrences& occ)
    {
        IcalImportSummary& sum = result_.summary;
        constexpr int kMostSpanLines = 31;
        std::vector<ScheduleFields> perDay;
        if (!occ.scanCut && occ.spanDays <= kMostSpanLines) {
            for (int k = 0; k < occ.spanDays; ++k) {
                EventOccurrences shifted = occ;
                for (LocalStart& s : shifted.starts) {
                    const YMD d = addDays(s.year, s.month, s.day, k);
                    s = {d.year, d.month, d.day, 0, 0};
                }
                if (shifted.until.year != 0) {
                    const YMD d =
                        addDays(shifted.until.year, shifted.until.month, shifted.until.day, k);
                    shifted.until = {d.year, d.month, d.day, 0, 0};
                }
                ScheduleFields one = f;
                setStart(one, shifted.starts.front());
                if (!mapOntoKind(one, shifted))
                    break;
                perDay.push_back(one);
            }
        }
        if (int(perDay.size()) == occ.spanDays) {
            bool any = false;
            for (const ScheduleFields& one : perDay)
                any = add(one) || any;
            if (any)
                ++sum.repeating;
            return;
        }
        expandOccurrences(f, occ, true);
    }

    bool startReadable(icalcomponent* ev) const
    {
        icalproperty* p = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        if (!p)
            return false;
        const icaltimetype t = icalproperty_get_dtstart(p);
        return !icaltime_is_null_time(t) && t.year >= 1 && t.year <= 9999 &&
               QDate::isValid(t.year, t.month, t.day);
    }

    static void setStart(ScheduleFields& f, const LocalStart& s)
    {
        f.year = s.year;
        f.month = s.month;
        f.day = s.day;
        f.hour = f.allDay ? 0 : s.hour;
        f.minute = f.allDay ? 0 : s.minute;
        f.repeat = 0;
        f.kind = kKindDaily;
        setLast(f, {s.year, s.month, s.day});
    }
    static void setLast(ScheduleFields& f, const YMD& d)
    {
        f.lastYear = d.year;
        f.lastMonth = d.month;
        f.lastDay = d.day;
    }

    // One repetition kind that yields exactly these days, at one time of day.
    bool mapOntoKind(ScheduleFields& f, const EventOccurrences& occ) const
    {
        const LocalStart& a = occ.starts[0];
        for (const LocalStart& s : occ.starts)
            if (s.hour != a.hour || s.minute != a.minute)
                return false;
        const LocalStart& b = occ.starts[1];
        const qint64 gap =
            qint64(EncodeDate(b.year, b.month, b.day) - EncodeDate(a.year, a.month, a.day));
        std::vector<int> kinds;
        if (gap == 1)
            kinds.push_back(kKindDaily);
        if (gap == 7)
            kinds.push_back(kKindWeekly);
        if (gap == 14)
            kinds.push_back(kKindFortnightly);
        kinds.insert(kinds.end(), {kKindMonthly, kKindYearly, kKindMonthEnd, kKindMonthEndFriday,
                                   kKindMonthEndSaturday});
        if (gap > 1 && gap * kKindDaySpanUnit <= kKindDaySpanMax)
            kinds.push_back(int(gap) * kKindDaySpanUnit);

        // The last day: the rule's own end when it has one, else the last
        // occurrence (or the open end).
        const LocalStart& z = occ.starts.back();
        std::vector<YMD> lasts;
        if (occ.openEnded)
            lasts.push_back({kIcalOpenEndYear, 12, 31});
        else if (occ.until.year != 0)
            lasts.push_back({occ.until.year, occ.until.month, occ.until.day});
        lasts.push_back({z.year, z.month, z.day});
        for (const YMD& last : lasts)
            for (int kind : kinds)
                if (yieldsExactly(f, kind, last, occ))
                    return true;
        return false;
    }

    bool yieldsExactly(ScheduleFields& f, int kind, const YMD& last,
                       const EventOccurrences& occ) const
    {
        ScheduleFields c = f;
        c.repeat = 1;
        c.kind = kind;
        setLast(c, last);
        size_t i = 0;
        bool same = true;
        WalkOccurrences(c, holiday_, [&](const YMD& d) {
            same = i < occ.starts.size() && occ.starts[i].year == d.year &&
                   occ.starts[i].month == d.month && occ.starts[i].day == d.day;
            ++i;
            return same;
        });
        if (!same || i != occ.starts.size())
            return false;
        f = c;
        return true;
    }

    // A line this program wrote, given back as it was while the event still
    // says what the line says.
    bool restoreOwnLine(icalcomponent* ev, icalcomponent* cal)
    {
        icalproperty* own = ownLineProperty(ev);
        if (!own)
            return false;
        const QString raw = QString::fromUtf8(icalproperty_get_x(own));
        for (const QString& line : {raw, unescapeText(raw)}) {
            ScheduleFields f;
            if (ReadScheduleLine(line, &f) != LineRead::Schedule || ComposeScheduleLine(f) != line)
                continue;
            if (!agrees(ev, cal, f))
                continue;
            if (add(f))
                ++result_.summary.restored;
            return true;
        }
        return false;
    }

    bool agrees(icalcomponent* ev, icalcomponent* cal, const ScheduleFields& f) const
    {
        if (QString::fromUtf8(icalcomponent_get_summary(ev)) != f.text)
            return false;
        icalproperty* url = icalcomponent_get_first_property(ev, ICAL_URL_PROPERTY);
        if ((url ? QString::fromUtf8(icalproperty_get_url(url)) : QString()) != f.url)
            return false;
        icalproperty* sp = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        if (!sp)
            return false;
        const icaltimetype start = ZonedTime(icalproperty_get_dtstart(sp), sp, cal);
        if (bool(icaltime_is_date(start)) != f.allDay)
            return false;
        const LocalStart s = ToLocal(start, zone_);
        if (!f.allDay && (s.hour != f.hour || s.minute != f.minute))
            return false;
        if (!IsMonthEndKind(f.kind) && (s.year != f.year || s.month != f.month || s.day != f.day))
            return false;
        if ((f.allDay ? 0 : f.alarm) != alarmMinutes(ev))
            return false;
        // The repetition: the rule this line is written with, or none.
        icalrecurrencetype expected;
        const bool hasRule = RuleForLine(f, holiday_, zone_, &expected);
        icalproperty* rule = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY);
        if (hasRule != (rule != nullptr))
            return false;
        if (rule) {
            icalrecurrencetype found = icalproperty_get_rrule(rule);
            if (TakeString(icalrecurrencetype_as_string_r(&found)) !=
                TakeString(icalrecurrencetype_as_string_r(&expected)))
                return false;
        }
        return true;
    }

    bool add(const ScheduleFields& f)
    {
        const QString line = ComposeScheduleLine(f);
        if (known_.contains(line)) {
            ++result_.summary.duplicates;
            return false;
        }
        known_.insert(line);
        result_.lines.append(line);
        return true;
    }

    const HolidayTest& holiday_;
    LocalZone zone_;
    QSet<QString> known_;
    IcalConversion result_;
};

// The content lines joined with their continuations: a writer may fold
// inside a character, so the bytes are unfolded before they are decoded.
QByteArray unfolded(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        qsizetype breakEnd = -1;
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            breakEnd = i + 2;
        else if (c == '\n')
            breakEnd = i + 1;
        if (breakEnd >= 0 && breakEnd < n && (bytes[breakEnd] == ' ' || bytes[breakEnd] == '\t')) {
            i = breakEnd; // the break and the one blank that marks the fold
            continue;
        }
        out += c;
    }
    return out;
}

// iCalendar files are UTF-8; older Japanese programs wrote Shift-JIS.
QByteArray utf8Text(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    bytes = unfolded(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return bytes;
    return FromSjis(bytes).toUtf8();
}

void appendLines(const QString& path, const QStringList& lines)
{
    const QByteArray old =
        FileKindOf(path) == FileKind::Missing ? QByteArray() : ReadFileBytes(path);
    const QString added = JoinLinesCrLf(lines);
    QByteArray tail;
    bool fits = !old.startsWith("\xFF\xFE") && !old.startsWith("\xFE\xFF"); // not UTF-16
    if (old.startsWith("\xEF\xBB\xBF") || IsUtf8WithMultiByte(old))
        tail = added.toUtf8();
    else
        tail = ToSjis(added, &fits);
    if (fits) {
        // The lines already there stay byte for byte as they were.
        QByteArray bytes = old;
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
        WriteFileAtomic(path, bytes + tail);
    } else {
        // The new text needs another encoding than the file has: every line
        // there stays in its place, those it cannot decode with their bytes.
        RecordFile file = RecordFile::Read(path);
        for (qsizetype i = 0; i < file.lines().size(); ++i)
            file.keep(i);
        // Appended at the user's command, as the bytes above are: a link
        // out of the data folder is written through.
        file.write(path, lines, [](const QString&) { return true; });
    }
}

} // namespace

IcalConversion IcalToScheduleLines(const QByteArray& ics, const QStringList& existingLines,
                                   const HolidayTest& isHoliday, const IcalOptions& options)
{
    PrepareLibical();
    const QByteArray text = utf8Text(ics);
    if (!text.contains("BEGIN:VCALENDAR") && !text.contains("begin:vcalendar"))
        throw AppError(QStringLiteral("iCalendar形式のデータではありません"));
    int cutLines = 0;
    ComponentPtr root = ParseCalendarText(text, &cutLines);
    if (!root)
        throw AppError(QStringLiteral("iCalendar形式のデータではありません"));
    CalendarReader reader(existingLines, isHoliday, options);
    IcalConversion conv = reader.read(root.get());
    conv.summary.cutLines = cutLines;
    return conv;
}

IcalImportSummary ImportIcalFile(const QString& icsPath, const QString& schedulePath,
                                 const HolidayTest& isHoliday, const IcalOptions& options)
{
    const QFileInfo info(icsPath);
    if (info.isFile() && info.size() > kIcalMaxFileBytes)
        throw AppError(QStringLiteral("ファイル \"%1\" は大きすぎて読み込めません")
                           .arg(QDir::toNativeSeparators(icsPath)));
    const QByteArray ics = ReadFileBytes(icsPath);
    const QStringList existing = FileExists(schedulePath) ? ReadLines(schedulePath) : QStringList();
    const IcalConversion conv = IcalToScheduleLines(ics, existing, isHoliday, options);
    if (!conv.lines.isEmpty())
        appendLines(schedulePath, conv.lines);
    return conv.summary;
}

} // namespace vn
