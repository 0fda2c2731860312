#include "lunisolar.h"

#include "calendar/astronomy.h"

#include <algorithm>
#include <cmath>
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

class MonthTable {
public:
    MonthTable() { build(); }
    // Index of the month holding day, or -1.
    int find(int day) const
    {
        auto it = std::upper_bound(starts_.begin(), starts_.end(), day);
        if (it == starts_.begin() || it == starts_.end())
            return -1;
        return int(it - starts_.begin()) - 1;
    }
    const Month& month(int i) const { return months_[size_t(i)]; }

private:
    void build();
    std::vector<Month> months_;
    std::vector<int> starts_;
};

void MonthTable::build()
{
    // Months from late 1871 to early 2102: enough winter solstices on either
    // side of the covered range to number every month in it.
    const double jdeFrom = EncodeDate(1871, 10, 1) + kJdOfDateTimeZero;
    const double jdeTo = EncodeDate(2102, 12, 31) + kJdOfDateTimeZero;
    const int k0 = int(std::floor(astro::LunationNumber(jdeFrom)));
    const int k1 = int(std::ceil(astro::LunationNumber(jdeTo)));
    for (int k = k0; k <= k1; ++k) {
        Month m;
        m.start = jstDay(astro::NewMoonJde(k));
        months_.push_back(m);
        starts_.push_back(m.start);
    }
    const size_t n = months_.size();

    // Principal solar terms (multiples of 30 degrees) falling in each month.
    std::vector<int> termCount(n, 0);
    std::vector<bool> solstice(n, false);
    const int firstYear = 1871, lastYear = 2102;
    for (int y = firstYear; y <= lastYear; ++y) {
        for (int i = 0; i < 12; ++i) {
            const double longitude = i * 30.0;
            // The Sun is at 0 degrees near 20 March; estimate from the mean motion.
            const double march = astro::kJ2000 + (y - 2000) * 365.2422 + 79.0;
            const double estimate = march + longitude / 360.0 * 365.2422;
            const int day = jstDay(astro::SunLongitudeInstant(longitude, estimate));
            const int idx = find(day);
            if (idx < 0)
                continue;
            ++termCount[size_t(idx)];
            if (i == 9) // 270 degrees: the winter solstice
                solstice[size_t(idx)] = true;
        }
    }

    // Number the months between consecutive winter-solstice months.
    std::vector<size_t> anchors;
    for (size_t i = 0; i < n; ++i)
        if (solstice[i])
            anchors.push_back(i);
    for (size_t a = 0; a + 1 < anchors.size(); ++a) {
        const size_t from = anchors[a], to = anchors[a + 1];
        const bool leapYear = to - from == 13;
        bool leapTaken = false;
        int number = 11;
        months_[from].number = 11;
        for (size_t i = from + 1; i < to; ++i) {
            if (leapYear && !leapTaken && termCount[i] == 0) {
                months_[i].number = number;
                months_[i].leap = true;
                leapTaken = true;
                continue;
            }
            number = number % 12 + 1;
            months_[i].number = number;
        }
    }
    for (Month& m : months_) {
        const YMD s = DecodeDate(m.start);
        m.year = (m.number >= 10 && s.month <= 6) ? s.year - 1 : s.year;
    }
}

const MonthTable& table()
{
    static const MonthTable t;
    return t;
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
    table();
}

LunarDate ToLunarDate(DateTime d)
{
    LunarDate r;
    const double day = DateOnly(d); // the whole part is the day, also before 1899
    if (day < LunisolarFirstDay() || day > LunisolarLastDay())
        return r;
    const MonthTable& t = table();
    const int idx = t.find(int(day));
    if (idx < 0)
        return r;
    const Month& m = t.month(idx);
    if (m.number == 0)
        return r;
    r.valid = true;
    r.year = m.year;
    r.month = m.number;
    r.leap = m.leap;
    r.day = int(day) - m.start + 1;
    return r;
}

} // namespace vn::cal
