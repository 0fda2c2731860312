#include "calendarlayout.h"

#include "calendar/calendardates.h"

#include <algorithm>
#include <cstdlib>

namespace vn::cal {

namespace {

constexpr int kMaxColumns = 12;
constexpr int kMaxRows = 10;

int blocksFitting(int space, int blockSize, int maxCount)
{
    const int n = blockSize > 0 ? space / blockSize : 1;
    return std::clamp(n, 1, maxCount);
}

void nextMonth(int& year, int& month)
{
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

DayCell makeCell(const YMD& ymd, CellRect rect, int row, bool trailing)
{
    DayCell c;
    c.rect = rect;
    c.ymd = ymd;
    c.date = AnchorDate(ymd.year, ymd.month, ymd.day);
    c.row = row;
    c.column = DayOfWeek(c.date);
    c.trailing = trailing;
    return c;
}

void layoutGridBlock(MonthBlock& b, const CalendarLayout& l, const WeekRule& rule)
{
    b.title = {b.x0, b.y0, b.x0 + 7 * l.cellW, b.y0 + l.rowH - 1};
    b.weekdayRow = {b.x0, b.y0 + l.rowH, b.x0 + 7 * l.cellW, b.y0 + 2 * l.rowH - 1};
    b.cells.reserve(42);
    for (int w = 1; w <= 6; ++w) {
        const GridCell sunday = CellDate(b.year, b.month, (w - 1) * 7 + 1);
        // Rows 5 and 6 that belong wholly to the next month are left out.
        if (w >= 5 && sunday.date.day < 14)
            continue;
        const int top = b.y0 + (w + 1) * l.rowH;
        const size_t first = b.cells.size();
        for (int i = 0; i < 7; ++i) {
            const GridCell gc = CellDate(b.year, b.month, (w - 1) * 7 + i + 1);
            const int left = b.x0 + i * l.cellW;
            b.cells.push_back(
                makeCell(gc.date, {left, top, left + l.cellW, top + l.rowH}, w, gc.trailing));
        }
        // The row's number: the last day of this month in the row (standard
        // rule), or the row's Saturday (extended rule).
        int number = 0;
        if (rule.extended) {
            number = ExtendedWeekNumber(b.cells.back().date, rule.startMonth, rule.startDay);
        } else {
            for (size_t k = b.cells.size(); k-- > first;) {
                if (!b.cells[k].trailing) {
                    number = StandardWeekNumber(b.cells[k].date, rule.minDays);
                    break;
                }
            }
        }
        for (size_t k = first; k < b.cells.size(); ++k)
            b.cells[k].weekNumber = number;
    }
}

void layoutListBlock(MonthBlock& b, const CalendarLayout& l, const WeekRule& rule)
{
    b.title = {b.x0, b.y0, b.x0 + 7 * l.cellW, b.y0 + l.rowH};
    const int days = DaysInMonth(b.year, b.month);
    b.cells.reserve(size_t(days));
    for (int d = 1; d <= days; ++d) {
        const int top = b.y0 + d * l.rowH;
        DayCell c = makeCell({b.year, b.month, d},
                             {b.x0 - 6, top, b.x0 + 7 * l.cellW, top + l.rowH}, d, false);
        if (rule.extended) {
            c.weekNumber =
                ExtendedWeekNumber(c.date + (6 - c.column), rule.startMonth, rule.startDay);
        } else {
            c.weekNumber = StandardWeekNumber(c.date, rule.minDays);
        }
        b.cells.push_back(c);
    }
}

} // namespace

GridCell CellDate(int year, int month, int k)
{
    const DateTime first = EncodeDate(year, month, 1);
    const DateTime cell = first - DayOfWeek(first) + (k - 1);
    GridCell gc;
    gc.date = DecodeDate(cell);
    gc.trailing = gc.date.month != month;
    return gc;
}

const DayCell* CalendarLayout::hitTest(int x, int y) const
{
    for (const MonthBlock& b : blocks) {
        for (const DayCell& c : b.cells) {
            if (c.rect.contains(x, y))
                return &c;
        }
    }
    return nullptr;
}

DateTime CalendarLayout::lastMonth() const
{
    if (blocks.empty())
        return 0;
    return AnchorDate(blocks.back().year, blocks.back().month, 1);
}

CalendarLayout ComputeLayout(const LayoutInput& in)
{
    CalendarLayout l;
    l.list = in.list;
    l.cellH = std::abs(in.cellH);
    l.cellW = l.cellH + 2 * in.offsetX;
    l.rowH = l.cellH + 2 * in.offsetY;

    const YMD first = DecodeDate(in.firstMonth);
    int year = first.year, month = first.month;

    if (!in.list) {
        const int bw = 8 * l.cellW + 2;
        const int bh = 8 * l.rowH + 10;
        const int available = in.width + (in.showWeekNo ? 0 : l.cellW);
        l.columns = blocksFitting(available, bw, kMaxColumns);
        l.rows = blocksFitting(in.height, bh, kMaxRows);
        l.blocks.reserve(size_t(l.columns * l.rows));
        for (int r = 1; r <= l.rows; ++r) {
            for (int c = 1; c <= l.columns; ++c) {
                MonthBlock b;
                b.year = year;
                b.month = month;
                b.x0 = (c - 1) * bw + l.cellW + 2 - (in.showWeekNo ? 0 : l.cellW);
                b.y0 = (r - 1) * bh + 10;
                layoutGridBlock(b, l, in.weekRule);
                l.blocks.push_back(std::move(b));
                nextMonth(year, month);
            }
        }
    } else {
        if (33 * l.rowH < in.height)
            l.rowH = in.height / 33;
        l.columns = blocksFitting(in.width, 8 * l.cellW + 6, kMaxColumns);
        l.rows = 1;
        l.blocks.reserve(size_t(l.columns));
        for (int c = 1; c <= l.columns; ++c) {
            MonthBlock b;
            b.year = year;
            b.month = month;
            b.x0 = (c - 1) * (8 * l.cellW + 2) + l.cellW + 2;
            b.y0 = 10;
            layoutListBlock(b, l, in.weekRule);
            l.blocks.push_back(std::move(b));
            nextMonth(year, month);
        }
    }
    return l;
}

} // namespace vn::cal
