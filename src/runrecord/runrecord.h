#pragma once
// The PC run record: for every day the program runs, the first and the last
// moment it was seen running, and a memo. An INI file beside the executable
// (".vdt"), one section per day number with the keys S (start), E (end),
// both milliseconds since midnight, and M (memo).
#include "foundation/datetime.h"

#include <QString>

namespace vn {

QString RunRecordPath();

enum class CaptureKind { Start, Tick };

// Opens the current day (S) when it has no start yet, lowers S at a program
// start that is earlier in the day, and moves the end (E) to now.
void CaptureRunTime(CaptureKind kind);
void CaptureRunTime(const QString& path, CaptureKind kind);
// The same for a moment given as a day number and milliseconds since its
// midnight (one read and at most one write of the file).
void CaptureRunMoment(const QString& path, CaptureKind kind, int dayNumber, qint64 msecs);

// The day number and the milliseconds since midnight of a moment.
struct RunMoment {
    int day = 0;
    qint64 msecs = 0;
};
RunMoment RunMomentOf(DateTime moment);

void WriteRunMemo(int dayNumber, const QString& text);
void WriteRunMemo(const QString& path, int dayNumber, const QString& text);

// What a missing key reads as.
inline constexpr char16_t kNoRunTime[] = u"--:--";

// The raw values of one day; missing keys read "--:--".
struct RunDay {
    QString start = QString::fromUtf16(kNoRunTime);
    QString end = QString::fromUtf16(kNoRunTime);
    QString memo = QString::fromUtf16(kNoRunTime);
};
RunDay ReadRunDay(const QString& path, int dayNumber);

// The texts shown for a day.
struct RunDayTexts {
    QString start;    // "hh:nn"
    QString end;      // "hh:nn"
    QString duration; // "hh:nn", "24:00" or "--:--"
};
// Empty texts unless both values are milliseconds since midnight. The
// duration counts the starting minute; a span that reaches 24 hours reads
// "24:00", an end before the start "--:--".
RunDayTexts DeriveRunTexts(const QString& start, const QString& end);

} // namespace vn
