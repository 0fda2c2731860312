#include "calendarpainter.h"

#include "calendar/calendarcore.h"
#include "foundation/datetimeformat.h"
#include "pastdayimage.h"
#include "schedule/schedulestore.h"
#include "widgets/colorref.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vn {

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kWhite(0xFF, 0xFF, 0xFF);

// One byte of a gradient line: from start toward end by i / n of the way.
int gradientByte(int start, int end, int i, int n)
{
    const int step = i * std::abs(end - start) / n;
    return end >= start ? start + step : start - step;
}

const QString& dayNumber(int day)
{
    static const auto numbers = [] {
        std::array<QString, 32> n;
        for (int d = 0; d < 32; ++d)
            n[size_t(d)] = d < 10 ? QStringLiteral(" %1").arg(d) : QString::number(d);
        return n;
    }();
    return numbers[size_t(std::clamp(day, 0, 31))];
}

} // namespace

CalendarPainter::CalendarPainter(QPainter& painter, const CalendarStyle& style,
                                 const CalendarPaintData& data)
    : p_(painter), style_(style), data_(data), dayMetrics_(style.font),
      monthMetrics_(style.fontMonth)
{
    for (int i = 0; i < kCalColorCount; ++i)
        colors_[size_t(i)] = ToQColor(int(style.colors[size_t(i)]));
    p_.setFont(style_.font);
    p_.setBackgroundMode(Qt::TransparentMode);
}

void CalendarPainter::hline(int x1, int x2, int y, const QColor& c)
{
    if (x2 > x1)
        p_.fillRect(x1, y, x2 - x1, 1, c);
}

void CalendarPainter::vline(int x, int y1, int y2, const QColor& c)
{
    if (y2 > y1)
        p_.fillRect(x, y1, 1, y2 - y1, c);
}

const QStaticText& CalendarTextCache::get(int role, const QString& text, const QFont& font)
{
    QHash<QString, QStaticText>& texts = texts_[role];
    if (fonts_[role] != font || texts.size() > 4000) {
        fonts_[role] = font;
        texts.clear();
    }
    auto it = texts.find(text);
    if (it == texts.end()) {
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
        st.prepare(QTransform(), font);
        it = texts.insert(text, st);
    }
    return *it;
}

void CalendarPainter::text(int x, int y, const QString& s, const QColor& c)
{
    p_.setPen(c);
    if (data_.texts) {
        const int role = monthFontActive_ ? 1 : 0;
        p_.drawStaticText(x, y, data_.texts->get(role, s, role ? style_.fontMonth : style_.font));
        return;
    }
    const QFontMetrics& fm = monthFontActive_ ? monthMetrics_ : dayMetrics_;
    p_.drawText(x, y + fm.ascent(), s);
}

void CalendarPainter::dayText(int x, int y, const QString& s, const QColor& c, bool shadow)
{
    if (shadow) {
        text(x + 1, y + 1, s, kSilver);
        text(x - 1, y, s, c);
    } else {
        text(x, y, s, c);
    }
}

void CalendarPainter::titleText(int x, int y, const QString& s, const QColor& c)
{
    if (style_.flag(CalFlag::Shadow))
        text(x + 2, y + 1, s, kSilver);
    text(x, y, s, c);
}

void CalendarPainter::paintBackground(int w, int h, const QColor& outside)
{
    const QColor brush = colors_[size_t(CalColor::Brush)];
    switch (style_.shape) {
    case CalendarShape::Rectangle:
    case CalendarShape::Square: p_.fillRect(0, 0, w, h, brush); return;
    case CalendarShape::RoundRect:
    case CalendarShape::RoundSquare:
    case CalendarShape::Ellipse:
    case CalendarShape::Circle: break;
    }
    p_.fillRect(0, 0, w, h, outside);
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setPen(brush);
    p_.setBrush(brush);
    if (style_.shape == CalendarShape::Ellipse || style_.shape == CalendarShape::Circle)
        p_.drawEllipse(0, 0, w - 1, h - 1);
    else
        p_.drawRoundedRect(QRect(0, 0, w - 1, h - 1), w / 8.0, h / 8.0);
    p_.restore();
}

void CalendarPainter::FillGradient(int left, int top, int right, int bottom, quint32 start,
                                   quint32 end)
{
    const QColor s = ToQColor(int(start));
    const QColor e = style_.gradation == Gradation::None ? s : ToQColor(int(end));
    const bool vertical = style_.gradation == Gradation::Left;
    const int n = vertical ? right - left : bottom - top;
    for (int i = 1; i <= n; ++i) {
        const QColor c(gradientByte(s.red(), e.red(), i, n),
                       gradientByte(s.green(), e.green(), i, n),
                       gradientByte(s.blue(), e.blue(), i, n));
        if (vertical)
            vline(left + i, top, bottom, c);
        else
            hline(left, right, top + i, c);
    }
}

void CalendarPainter::DrawFrame(int kind, int left, int top, int right, int bottom)
{
    if (kind == 12 || kind == 112) {
        const QColor c = colors_[size_t(CalColor::FrameDay)];
        vline(left, top + 1, bottom, c);
        hline(left + 1, right, top, c);
        hline(left + 1, right, bottom, c);
        vline(right, top + 1, bottom, c);
    } else {
        const QColor c = colors_[size_t(CalColor::FrameWeek)];
        vline(left, top, bottom, c);
        hline(left, right, top, c);
        hline(left, right, bottom, c);
        vline(right, top, bottom + 1, c);
    }
    if (!style_.flag(CalFlag::Frame3D))
        return;
    // Raised rings: light above and left; the selected day is sunken.
    const QColor a = kind == 112 ? kSilver : kWhite;
    const QColor b = kind == 112 ? kWhite : kSilver;
    vline(left + 1, top + 1, bottom - 1, a);
    hline(left + 1, right - 1, top + 1, a);
    hline(left + 1, right - 1, bottom - 1, b);
    vline(right - 1, top + 1, bottom, b);
    if (kind == 23) {
        vline(left + 2, top + 2, bottom - 2, a);
        hline(left + 2, right - 2, top + 2, a);
        hline(left + 2, right - 2, bottom - 2, b);
        vline(right - 2, top + 2, bottom - 1, b);
    }
}

void CalendarPainter::paintBlocks(const cal::CalendarLayout& layout)
{
    for (const cal::MonthBlock& b : layout.blocks) {
        p_.setFont(style_.font);
        if (layout.list)
            paintListBlock(layout, b);
        else
            paintGridBlock(layout, b);
        paintMonthTitle(layout, b);
    }
}

QColor CalendarPainter::dayTextColor(const cal::DayCell& c) const
{
    if (c.trailing)
        return colors_[size_t(CalColor::TrailingText)];
    if (data_.core->holidays().IsHoliday(c.ymd.year, c.ymd.month, c.ymd.day))
        return colors_[size_t(CalColor::Holiday)];
    switch (c.column) {
    case 0: return colors_[size_t(CalColor::Sunday)];
    case 6: return colors_[size_t(CalColor::Saturday)];
    default: return colors_[size_t(CalColor::Weekday)];
    }
}

int CalendarPainter::scheduleCount(const YMD& d) const
{
    return data_.schedules ? data_.schedules->ScheduleCountOn(d.year, d.month, d.day) : 0;
}

void CalendarPainter::paintDayBackground(const cal::DayCell& c, bool selected, bool today)
{
    const cal::CellRect& r = c.rect;
    const int wy = style_.offsetWY;
    if (selected) {
        FillGradient(r.left, r.top, r.right, r.bottom - wy, style_.color(CalColor::Current),
                     style_.color(CalColor::CurrentE));
    } else {
        p_.fillRect(r.left, r.top, r.right - r.left, r.bottom - r.top,
                    colors_[size_t(CalColor::Brush)]);
    }
    if (today) {
        FillGradient(r.left + 2, r.top, r.right, r.bottom - wy, style_.color(CalColor::Today),
                     style_.color(CalColor::TodayE));
    }
}

void CalendarPainter::paintDayMarks(const cal::DayCell& c)
{
    if (c.trailing)
        return;
    const cal::CellRect& r = c.rect;
    const int wx = style_.offsetWX, wy = style_.offsetWY;
    if (scheduleCount(c.ymd) > 0) {
        const int y1 = r.top + wy + 2;
        const int y2 = y1 + (r.bottom - wy - y1) / 2;
        p_.fillRect(r.right - wx - 4, y1, 3, y2 - y1, colors_[size_t(CalColor::Schedule)]);
    }
    const cal::DiaryStore& diary = data_.core->diary();
    if (!diary.GetDiaryFolder().isEmpty() && diary.HasDiary(c.date)) {
        p_.fillRect(r.right - wx - 4, r.bottom - wy - 5, 3, 4, colors_[size_t(CalColor::Diary)]);
    }
    if (style_.flag(CalFlag::MarkPastDay) && DateOnly(c.date) < data_.today) {
        const QColor mark = colors_[size_t(CalColor::MarkPastDay)];
        if (data_.pastDayImage && !data_.pastDayImage->isNull()) {
            data_.pastDayImage->recolour(mark);
            p_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            p_.drawImage(r.left + wx + 3, r.top + wy, data_.pastDayImage->image());
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        } else {
            p_.setPen(mark);
            const int l = r.left + wx + 3, t = r.top + wy + 3;
            const int rr = r.right - wx - 3, b = r.bottom - wy - 3;
            p_.drawLine(l, t, rr - 1, b - 1);
            p_.drawLine(rr, t, l + 1, b - 1);
        }
    }
}

void CalendarPainter::paintGridBlock(const cal::CalendarLayout& l, const cal::MonthBlock& b)
{
    const bool frameDay = style_.flag(CalFlag::FrameDay);
    const bool showWeekNo = style_.flag(CalFlag::ShowWeekNo);
    const int offsetX = data_.core->model().OffsetX();
    const int offsetY = data_.core->model().OffsetY();
    for (const cal::DayCell& c : b.cells) {
        const cal::CellRect& r = c.rect;
        if (c.column == 6 && showWeekNo) {
            // The row's number left of the block, at the text row of its cells.
            const int tx0 = r.left - 6 * l.cellW + offsetX;
            const int ty = r.top + offsetY + 1;
            if (!frameDay)
                vline(b.x0 - style_.offsetWX, r.top, r.bottom, colors_[size_t(CalColor::FrameDay)]);
            const int x = c.weekNumber >= 10 ? tx0 - l.cellW : tx0 + l.cellH / 2 - l.cellW;
            text(x, ty, QString::number(c.weekNumber), colors_[size_t(CalColor::WeekNo)]);
        }
        paintGridCell(c);
    }
    // The weekday row.
    const int x0 = b.x0, y0 = b.y0;
    FillGradient(x0 + style_.offsetWX, y0 + l.rowH + style_.offsetWY, x0 + 7 * l.cellW,
                 y0 + 2 * l.rowH - 1, style_.color(CalColor::FillWeek),
                 style_.color(CalColor::FillWeekE));
    DrawFrame(22, x0, y0 + l.rowH, x0 + 7 * l.cellW, y0 + 2 * l.rowH - 1);
    const cal::CalendarModel& model = data_.core->model();
    for (int i = 0; i < 7; ++i) {
        const QColor c = i == 0   ? colors_[size_t(CalColor::Sunday)]
                         : i == 6 ? colors_[size_t(CalColor::Saturday)]
                                  : colors_[size_t(CalColor::Weekday)];
        titleText(x0 + i * l.cellW + model.OffsetX(), y0 + l.rowH + model.OffsetY(),
                  model.WeekdayName(i, true), c);
    }
}

void CalendarPainter::paintGridCell(const cal::DayCell& c)
{
    const cal::CellRect& r = c.rect;
    const int tx = r.left + data_.core->model().OffsetX();
    const int ty = r.top + data_.core->model().OffsetY() + 1;
    const DateTime day = DateOnly(c.date);
    const bool selected = !c.trailing && day == DateOnly(data_.selected);
    const bool today = !selected && !c.trailing && day == data_.today;
    paintDayBackground(c, selected, today);
    dayText(tx, ty, dayNumber(c.ymd.day), dayTextColor(c),
            style_.flag(CalFlag::Shadow) && !c.trailing);
    if (style_.flag(CalFlag::FrameDay) && !c.trailing) {
        DrawFrame(selected ? 112 : 12, r.left + style_.offsetWX, r.top + style_.offsetWY,
                  r.right - style_.offsetWX, r.bottom - style_.offsetWY);
    }
    paintDayMarks(c);
}

void CalendarPainter::paintListBlock(const cal::CalendarLayout& l, const cal::MonthBlock& b)
{
    for (const cal::DayCell& c : b.cells)
        paintListLine(l, b, c);
}

void CalendarPainter::paintListLine(const cal::CalendarLayout& l, const cal::MonthBlock& b,
                                    const cal::DayCell& c)
{
    const bool shadow = style_.flag(CalFlag::Shadow);
    const bool showWeekNo = style_.flag(CalFlag::ShowWeekNo);
    const cal::CalendarModel& model = data_.core->model();
    const cal::HolidayTable& holidays = data_.core->holidays();
    const DateTime selectedDay = DateOnly(data_.selected);
    const int prevYear = b.month == 1 ? b.year - 1 : b.year;
    const int prevMonth = b.month == 1 ? 12 : b.month - 1;
    const int prevDays = DaysInMonth(prevYear, prevMonth);
    {
        const cal::CellRect& r = c.rect;
        const int tx = r.left + model.OffsetX();
        const int ty = r.top + model.OffsetY() + 1;
        const int fit = (r.bottom - r.top - 3) / l.cellH;
        const DateTime day = DateOnly(c.date);
        const bool selected = day == selectedDay;
        const bool today = !selected && day == data_.today;
        if (showWeekNo) {
            const int x = c.weekNumber >= 10 ? tx - l.cellW : tx + l.cellH / 2 - l.cellW;
            // Left of a later block this place shows the previous month's overflow count.
            const bool overflowHere = x >= 20 && c.ymd.day <= prevDays &&
                                      scheduleCount({prevYear, prevMonth, c.ymd.day}) > fit;
            if (!overflowHere)
                text(x + 2, ty, QString::number(c.weekNumber), colors_[size_t(CalColor::WeekNo)]);
        }
        paintDayBackground(c, selected, today);
        const QColor color = dayTextColor(c);
        dayText(tx, ty, dayNumber(c.ymd.day) + u' ' + model.WeekdayName(c.column, true), color,
                shadow);
        if (style_.flag(CalFlag::FrameDay)) {
            DrawFrame(selected ? 112 : 12, r.left + style_.offsetWX, r.top + style_.offsetWY,
                      r.right - style_.offsetWX, r.bottom - style_.offsetWY);
        }
        // The day's holiday, or its schedules, right of the date.
        const int xd = r.left + 2 * l.cellW - 6;
        const int count = scheduleCount(c.ymd);
        p_.save();
        p_.setClipRect(QRect(xd, r.top, r.right - xd, r.bottom - r.top), Qt::IntersectClip);
        if (count == 0) {
            text(xd, r.top + 3, holidays.HolidayName(c.ymd.year, c.ymd.month, c.ymd.day), color);
        } else {
            const QStringList lines =
                data_.schedules->ScheduleTextOn(c.ymd.year, c.ymd.month, c.ymd.day)
                    .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            int i = 0;
            for (int y = r.top; y < r.bottom && i < lines.size(); y += l.cellH, ++i) {
                text(xd, y + 3, lines[i],
                     colors_[size_t(i < fit ? CalColor::Schedule : CalColor::TrailingText)]);
            }
        }
        p_.restore();
        if (count > fit) {
            text(r.right + 1, r.top + 3, u'+' + QString::number(count - fit),
                 colors_[size_t(CalColor::Schedule)]);
        }
        paintDayMarks(c);
    }
}

bool CalendarPainter::repaintDay(const cal::CalendarLayout& l, DateTime day,
                                 const QImage& background)
{
    // The title's text must stay above the day rows, which are repainted alone.
    const int titleBottom = style_.offsetMonthY - 4 + monthMetrics_.height() + 2;
    if (!l.list && titleBottom > 2 * l.rowH)
        return false;
    day = DateOnly(day);
    for (const cal::MonthBlock& b : l.blocks) {
        for (const cal::DayCell& c : b.cells) {
            if (c.trailing || DateOnly(c.date) != day)
                continue;
            // The cell and the column right of it, where a left-to-right
            // gradient ends; both as the full paint leaves them.
            const QRect region(c.rect.left, c.rect.top, c.rect.right - c.rect.left + 1,
                               c.rect.bottom - c.rect.top);
            p_.save();
            p_.setClipRect(region);
            p_.setCompositionMode(QPainter::CompositionMode_Source);
            p_.drawImage(region.topLeft(), background, region);
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p_.setFont(style_.font);
            // Every cell whose paint reaches in, in painting order: a
            // left-to-right gradient ends one column right of its cell, the
            // past-day mark may end below it.
            for (const cal::DayCell& o : b.cells) {
                const QRect reach(o.rect.left, o.rect.top, o.rect.right - o.rect.left + 1,
                                  std::max(o.rect.bottom - o.rect.top, style_.offsetWY + 16));
                if (!reach.intersects(region))
                    continue;
                if (l.list)
                    paintListLine(l, b, o);
                else
                    paintGridCell(o);
            }
            p_.restore();
        }
    }
    return true;
}

void CalendarPainter::paintMonthTitle(const cal::CalendarLayout& l, const cal::MonthBlock& b)
{
    const int x0 = b.x0, y0 = b.y0;
    if (style_.flag(CalFlag::FrameMonth)) {
        const QColor fill = colors_[size_t(CalColor::FillMonth)];
        p_.fillRect(x0, y0 - 5, 7 * l.cellW, l.rowH + 4, fill);
        FillGradient(x0, y0 - 5, x0 + 7 * l.cellW, y0 + l.rowH - 1,
                     style_.color(CalColor::FillMonth), style_.color(CalColor::FillMonthE));
        DrawFrame(23, x0, y0 - 5, x0 + 7 * l.cellW, y0 + l.rowH - 1);
    }
    const cal::CalendarModel& model = data_.core->model();
    QString title = RenderDateTime(style_.monthFormat, EncodeDate(b.year, b.month, 1));
    if (style_.flag(CalFlag::MonthNameShow))
        title += u'(' + model.MonthAltName(b.month) + u')';
    p_.setFont(style_.fontMonth);
    monthFontActive_ = true;
    titleText((l.cellW / 2) * style_.offsetMonthX + x0, y0 + style_.offsetMonthY - 4, title,
              colors_[size_t(CalColor::Month)]);
    monthFontActive_ = false;
    p_.setFont(style_.font);
}

} // namespace vn
