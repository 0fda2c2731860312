#pragma once
// What the calendar view looks like: its colours, switches, offsets, fonts
// and patterns. Each view carries its own values; a host sets them from its
// design and from the settings.
#include <QFont>
#include <QString>

#include <array>

namespace vn {

// Colours are 0x00BBGGRR, or 0xFF0000nn for a desktop colour number nn.
enum class CalColor {
    Month,        // month title text (the month font's colour)
    Sunday,       // Sunday texts
    Saturday,     // Saturday texts
    Weekday,      // Monday to Friday texts
    Holiday,      // holiday day numbers
    Schedule,     // schedule bar, list-mode schedule lines
    Diary,        // diary mark
    WeekNo,       // week numbers
    Current,      // selected-day gradient, start
    CurrentE,     // selected-day gradient, end
    Today,        // today gradient, start
    TodayE,       // today gradient, end
    TrailingText, // days of the neighbouring months, overflow lines
    MarkPastDay,  // past-day mark
    FrameDay,     // day frames, week-number separator
    FrameWeek,    // weekday-row and title frames
    FillWeek,     // weekday-row gradient, start
    FillWeekE,    // weekday-row gradient, end
    FillMonth,    // month-title gradient, start
    FillMonthE,   // month-title gradient, end
    Brush,        // background and normal cells
    Pen,          // default pen
};
constexpr int kCalColorCount = int(CalColor::Pen) + 1;

// Switches; "Set" stores the value and repaints when it changed, except
// Rokuyou and HintShowPop, which only store.
enum class CalFlag {
    MonthNameShow, // "(" alternative month name ")" after titles
    MonthName,     // alternative names in kanji (true) or hiragana
    WeekName,      // Japanese (true) or English weekday names
    List,          // list mode (one line per day) instead of the grid
    ShowWeekNo,    // week-number column
    MarkPastDay,   // marks on past days
    FrameMonth,    // filled and framed month title
    FrameDay,      // frames around day cells
    Frame3D,       // 3-D rings inside frames
    Shadow,        // shadowed texts
    ShowRoku,      // rokuyō in hints and the diary title
    Rokuyou,       // rokuyō names in kanji (true) or hiragana
    WeekNoEx,      // week numbers counted from WeekNoMonth / WeekNoDay
    HintShowPop,   // hover hints
};
constexpr int kCalFlagCount = int(CalFlag::HintShowPop) + 1;

enum class CalendarShape { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };
enum class Gradation { Top, Left, None };

// The settings' gradation number: 1 left to right, 2 none, anything else
// (0, 3, out of range) top to bottom.
Gradation GradationFromSetting(int value);

struct CalendarStyle {
    std::array<quint32, kCalColorCount> colors{};
    std::array<bool, kCalFlagCount> flags{};
    CalendarShape shape = CalendarShape::Rectangle;
    Gradation gradation = Gradation::Top;
    int offsetWX = 1, offsetWY = 1;
    int offsetMonthX = 2, offsetMonthY = 2;
    QFont font;      // day numbers, weekday names, week numbers, list texts
    QFont fontMonth; // month titles; its colour is colors[Month]
    QString monthFormat = QStringLiteral("yyyy/mm");

    quint32 color(CalColor c) const { return colors[size_t(c)]; }
    bool flag(CalFlag f) const { return flags[size_t(f)]; }

    // The component's own values at creation.
    static CalendarStyle Defaults();
    // The main window's calendar as designed, before the settings apply; the
    // run-record window's calendar differs from it in its own design.
    static CalendarStyle MainWindowDesign();
};

// Pixel height of a font (the absolute value of its height): the cell size
// of the calendar follows it.
int FontPixelHeight(const QFont& font);

} // namespace vn
