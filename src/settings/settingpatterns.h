#pragma once
// The patterns the settings dialog offers, in their order (patterns of the
// date/time pattern language).
#include <QStringList>

namespace vn {

QStringList InsertDatePatterns();     // 36, "yy/m/d" .. "yyyymmdd"
QStringList InsertDateTimePatterns(); // 74, "yy/m/d h:n" .. "yyyymmddhhnnss"
QStringList BalloonTimePatterns();    // 20, "hh:nn" .. "Am/Pm h時n分"
QStringList MonthTitlePatterns();     // 16, "yy/m" .. "ggee年mm月"

} // namespace vn
