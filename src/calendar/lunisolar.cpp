#include "lunisolar.h"

#include "calendar/astronomy.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace vn::cal {

namespace {

constexpr double kJdOfDateTimeZero = 2415018.5; // 1899-12-30 00:00
constexpr double kJstHours = 9.0;

// Day (whole days since 1899-12-30) in Japan Standard Time of an instant.
int jstDay(double jde)
{
    const double jdUt = astro::JdeToJdUt(jde);
    return int(std::floor(jdUt + kJstHours / 24.0 - kJdOfDateTimeZero));
}

struct Month {
    int start = 0; // first day
    int number = 0;
    bool leap = false;
    int year = 0;
};

double jdeOfDay(int day)
{
    return day + kJdOfDateTimeZero;
}

// Day of the principal solar term at i * 30 degrees of Gregorian year y
// (estimated from the Sun's mean motion, then found exactly).
int solarTermDay(int y, int i)
{
    const double longitude = i * 30.0;
    // The Sun is at 0 degrees near 20 March.
    const double march = astro::kJ2000 + (y - 2000) * 365.2422 + 79.0;
    const double estimate = march + longitude / 360.0 * 365.2422;
    return jstDay(astro::SunLongitudeInstant(longitude, estimate));
}

// The months from the one holding the winter solstice of year y - 1 up to
// the one holding the solstice of year y, numbered: the solstice month is the
// 11th, and in a span of thirteen months the first month without a principal
// solar term is a leap month. Built when first asked for, year by year, so a
// lookup costs a dozen new moons, not two centuries of them.
struct Span {
    int first = 0, end = 0; // first day, and the first day after the span
    std::vector<Month> months;

    explicit Span(int y)
    {
        const int s0 = solarTermDay(y - 1, 9), s1 = solarTermDay(y, 9);
        const int k0 = int(std::floor(astro::LunationNumber(jdeOfDay(s0 - 31))));
        const int k1 = int(std::ceil(astro::LunationNumber(jdeOfDay(s1 + 31))));
        std::vector<int> starts;
        for (int k = k0; k <= k1; ++k)
            starts.push_back(jstDay(astro::NewMoonJde(k)));
        auto holding = [&](int day) {
            return int(std::upper_bound(starts.begin(), starts.end(), day) - starts.begin()) - 1;
        };
        const int a = holding(s0), b = holding(s1);
        first = starts[size_t(a)];
        end = starts[size_t(b)];
        std::vector<int> termCount(size_t(b - a), 0);
        for (int i : {9, 10, 11})
            if (const int idx = holding(solarTermDay(y - 1, i)) - a; idx >= 0 && idx < b - a)
                ++termCount[size_t(idx)];
        for (int i = 0; i < 9; ++i)
            if (const int idx = holding(solarTermDay(y, i)) - a; idx >= 0 && idx < b - a)
                ++termCount[size_t(idx)];
        const bool leapYear = b - a == 13;
        bool leapTaken = false;
        int number = 11;
        for (int i = a; i < b; ++i) {
            Month m;
            m.start = starts[size_t(i)];
            if (i == a) {
                m.number = 11;
            } else if (leapYear && !leapTaken && termCount[size_t(i - a)] == 0) {
                m.number = number;
                m.leap = true;
                leapTaken = true;
            } else {
                number = number % 12 + 1;
                m.number = number;
            }
            const YMD sd = DecodeDate(m.start);
            m.year = (m.number >= 10 && sd.month <= 6) ? sd.year - 1 : sd.year;
            months.push_back(m);
        }
    }

    const Month* find(int day) const
    {
        if (day < first || day >= end)
            return nullptr;
        auto it = std::upper_bound(months.begin(), months.end(), day,
                                   [](int d, const Month& m) { return d < m.start; });
        return &*(it - 1);
    }
};

const Span& span(int y)
{
    static std::map<int, Span> spans;
    auto it = spans.find(y);
    if (it == spans.end())
        it = spans.emplace(y, Span(y)).first;
    return it->second;
}

// The month holding day: in the span of its year, or of the year before
// (before the solstice month of that year began) or after.
const Month* monthOf(int day)
{
    const int y = DecodeDate(day).year;
    for (int candidate : {y, y + 1, y - 1})
        if (const Month* m = span(candidate).find(day))
            return m;
    return nullptr;
}

} // namespace

DateTime LunisolarFirstDay()
{
    return EncodeDate(1873, 1, 1);
}
DateTime LunisolarLastDay()
{
    return EncodeDate(2100, 12, 31);
}

void PrepareLunisolarCalendar()
{
    for (int y = DecodeDate(LunisolarFirstDay()).year; y <= DecodeDate(LunisolarLastDay()).year + 1;
         ++y)
        span(y);
}

LunarDate ToLunarDate(DateTime d)
{
    LunarDate r;
    const double day = DateOnly(d); // the whole part is the day, also before 1899
    if (day < LunisolarFirstDay() || day > LunisolarLastDay())
        return r;
    const Month* found = monthOf(int(day));
    if (!found)
        return r;
    const Month& m = *found;
    r.valid = true;
    r.year = m.year;
    r.month = m.number;
    r.leap = m.leap;
    r.day = int(day) - m.start + 1;
    return r;
}

} // namespace vn::cal
