#pragma once
// Draws the calendar onto a canvas: the background, then the month blocks of
// the grid or of the list, over the rectangles of the layout.
#include "calendar/calendarlayout.h"
#include "calendarstyle.h"

#include <QColor>
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>

#include <array>

class QPainter;

namespace vn {

namespace cal {
class CalendarCore;
}
class ScheduleStore;
class PastDayImage;

// Laid-out texts kept between paints: the same day numbers, names and
// titles are drawn again and again.
class CalendarTextCache {
public:
    // The text laid out in the font; the role tells the day font (0) from
    // the month font (1).
    const QStaticText& get(int role, const QString& text, const QFont& font);

private:
    QFont fonts_[2];
    QHash<QString, QStaticText> texts_[2];
};

// What the painter reads besides the style and the layout.
struct CalendarPaintData {
    const cal::CalendarCore* core = nullptr; // holidays, diary, names
    const ScheduleStore* schedules = nullptr;
    PastDayImage* pastDayImage = nullptr; // recoloured before use; may be empty
    DateTime selected = 0;                // the selected date
    DateTime today = 0;
    CalendarTextCache* texts = nullptr; // optional
};

class CalendarPainter {
public:
    CalendarPainter(QPainter& painter, const CalendarStyle& style, const CalendarPaintData& data);

    // The background shape in the brush colour over (0, 0, w, h).
    void paintBackground(int w, int h, const QColor& outside);
    // The month blocks of the layout in its mode.
    void paintBlocks(const cal::CalendarLayout& layout);

    // Repaints the cells of one day over the background, as the full paint
    // draws them; false when that cannot be done alone (paint the blocks).
    bool repaintDay(const cal::CalendarLayout& layout, DateTime day, const QImage& background);

    // A gradient from start to end, line by line, the first line one pixel
    // inside the start edge.
    void FillGradient(int left, int top, int right, int bottom, quint32 start, quint32 end);
    // Frames: 12 day cell, 112 selected day cell, 22 weekday row, 23 month title.
    void DrawFrame(int kind, int left, int top, int right, int bottom);

private:
    void paintGridBlock(const cal::CalendarLayout& l, const cal::MonthBlock& b);
    void paintListBlock(const cal::CalendarLayout& l, const cal::MonthBlock& b);
    void paintGridCell(const cal::DayCell& c);
    void paintListLine(const cal::CalendarLayout& l, const cal::MonthBlock& b,
                       const cal::DayCell& c);
    void paintMonthTitle(const cal::CalendarLayout& l, const cal::MonthBlock& b);
    void paintDayBackground(const cal::DayCell& c, bool selected, bool today);
    void paintDayMarks(const cal::DayCell& c);
    QColor dayTextColor(const cal::DayCell& c) const;
    int scheduleCount(const YMD& d) const;

    // Lines and texts; a line's end point is excluded.
    void hline(int x1, int x2, int y, const QColor& c);
    void vline(int x, int y1, int y2, const QColor& c);
    void text(int x, int y, const QString& s, const QColor& c); // (x, y): top-left
    void dayText(int x, int y, const QString& s, const QColor& c, bool shadow);
    void titleText(int x, int y, const QString& s, const QColor& c);

    QPainter& p_;
    const CalendarStyle& style_;
    CalendarPaintData data_;
    std::array<QColor, kCalColorCount> colors_;
    QFontMetrics dayMetrics_;
    QFontMetrics monthMetrics_;
    bool monthFontActive_ = false;
};

} // namespace vn
