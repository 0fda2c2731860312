#pragma once
// Where each month block, title and day cell of the calendar lies. The one
// computation serves painting and hit-testing alike, so a click always lands
// on the rectangle that was drawn.
#include "calendar/weeknumber.h"
#include "foundation/datetime.h"

#include <optional>
#include <vector>

namespace vn::cal {

// Pixel rectangle; hit-tests take left <= x < right and top <= y < bottom.
struct CellRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// Date of grid cell k (1..42) of month (year, month): cell 1 is the Sunday on
// or before the 1st. Trailing cells belong to the previous or next month.
struct GridCell {
    YMD date;
    bool trailing = false;
};
GridCell CellDate(int year, int month, int k);

struct DayCell {
    CellRect rect;
    DateTime date = 0; // carries the time of day of computed dates
    YMD ymd;
    int row = 0;    // grid: week row 1..6; list: day of month
    int column = 0; // weekday 0 (Sunday) .. 6 (Saturday)
    bool trailing = false;
    int weekNumber = 0; // number shown on this cell's row (grid) or line (list)
};

struct MonthBlock {
    int year = 0, month = 0;
    int x0 = 0, y0 = 0;         // origin of the block
    CellRect title;             // month title line
    CellRect weekdayRow;        // grid only: the weekday names
    std::vector<DayCell> cells; // grid: rows 1..6 not left out, row by row; list: days
};

struct LayoutInput {
    int width = 0, height = 0; // control size
    int cellH = 12;            // absolute height of the day-number font
    int offsetX = 5, offsetY = 2;
    bool list = false;
    bool showWeekNo = true;
    DateTime firstMonth = 0; // only its year and month count
    WeekRule weekRule;
};

struct CalendarLayout {
    bool list = false;
    int cellW = 0, cellH = 0, rowH = 0;
    int columns = 0, rows = 0; // block counts
    std::vector<MonthBlock> blocks;

    // The first day cell (grid) or day line (list) holding the point.
    const DayCell* hitTest(int x, int y) const;
    // 1st of the last block's month.
    DateTime lastMonth() const;
};

CalendarLayout ComputeLayout(const LayoutInput& in);

} // namespace vn::cal
