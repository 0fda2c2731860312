#pragma once
// What an iCalendar export or import tells the user, and the limits it
// keeps. No libical here: the program shows these while the iCalendar code
// itself stays in the module loaded at its first use.
#include <QString>
#include <QStringList>

namespace vn {

// Repetitions without an end are read up to this day.
constexpr int kIcalOpenEndYear = 2099;
// Occurrences of one event that become single schedules at most.
constexpr int kIcalExpandLimit = 1000;
// A schedule's text is at most this many Shift-JIS bytes (the editor's
// limit); longer summaries are cut.
constexpr int kScheduleTextBytes = 255;
// Larger files are not read.
constexpr qint64 kIcalMaxFileBytes = 64 * 1024 * 1024;

struct IcalExportSummary {
    int events = 0;
    int unreadableLines = 0; // lines of Schedule.dat that could not be read
    QString text() const;
};

// What a read added and what it left out, and why.
struct IcalImportSummary {
    int repeating = 0;      // events that became one repeating line
    int single = 0;         // events with one occurrence
    int restored = 0;       // lines written by this program, restored as they were
    int expandedEvents = 0; // events whose occurrences became single schedules
    int expandedLines = 0;
    int duplicates = 0;      // lines already in the file (or twice in the calendar)
    int cancelled = 0;       // events marked cancelled
    int noStart = 0;         // events without a usable start
    int noOccurrence = 0;    // events whose every occurrence is excluded
    int otherComponents = 0; // to-dos, journal entries and the like
    int cutEvents = 0;       // events with more occurrences than the limit
    int cutOccurrences = 0;  // occurrences left out for the limit
    int formatErrors = 0;    // places libical could not read (left out)
    int cutTexts = 0;        // events whose text was cut to kScheduleTextBytes
    int cutLines = 0;        // content lines cut for their length

    int added() const { return repeating + single + restored + expandedLines; }
    int skipped() const
    {
        return duplicates + cancelled + noStart + noOccurrence + otherComponents;
    }
    QString text() const; // Japanese, one item a line
};

struct IcalConversion {
    QStringList lines; // new schedule lines, in the order of the calendar
    IcalImportSummary summary;
};

} // namespace vn

namespace vn::ical {

// Content lines (a line with its folded continuations) longer than this are
// cut: no value the reader takes needs a fraction of it.
inline constexpr qsizetype kMaxContentLineBytes = 256 * 1024;

} // namespace vn::ical
