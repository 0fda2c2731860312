#pragma once
// Rokuyō, the six-day almanac cycle: (lunar month - 1 + lunar day - 1) mod 6
// on the Japanese lunisolar calendar, a leap month counting as the month it
// repeats.
#include "foundation/datetime.h"

#include <QString>

namespace vn::cal {

constexpr int kRokuyouNone = 6; // outside the covered days

// 0 先勝, 1 友引, 2 先負, 3 仏滅, 4 大安, 5 赤口; 6 outside 1873-01-01..2100-12-31.
int RokuyouIndex(DateTime d);
// Kanji or hiragana name of an index; "----" for anything else.
QString RokuyouName(int index, bool kanji);
// Empty text when not shown; otherwise the name of the date's rokuyō.
QString RokuyouText(DateTime d, bool showRoku, bool kanji);

} // namespace vn::cal
