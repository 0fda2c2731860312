#include "calendarstyle.h"

#include "widgets/colorref.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace vn {

Gradation GradationFromSetting(int value)
{
    switch (value) {
    case 1: return Gradation::Left;
    case 2: return Gradation::None;
    default: return Gradation::Top;
    }
}

CalendarStyle CalendarStyle::Defaults()
{
    CalendarStyle s;
    auto set = [&s](CalColor c, quint32 v) { s.colors[size_t(c)] = v; };
    set(CalColor::Month, 0x000080);
    set(CalColor::Sunday, 0x0000FF);
    set(CalColor::Saturday, 0xFF0000);
    set(CalColor::Weekday, 0x000000);
    set(CalColor::Holiday, 0x0000FF);
    set(CalColor::Schedule, 0x008000);
    set(CalColor::Diary, 0xFF0000);
    set(CalColor::WeekNo, 0xFF00000D);
    set(CalColor::Current, 0x00FFFF);
    set(CalColor::CurrentE, 0xFFFFFF);
    set(CalColor::Today, 0x00FF00);
    set(CalColor::TodayE, 0xFFFFFF);
    set(CalColor::TrailingText, 0xC0C0C0);
    set(CalColor::MarkPastDay, 0x0000FF);
    set(CalColor::FrameDay, 0x808080);
    set(CalColor::FrameWeek, 0x808080);
    set(CalColor::FillWeek, 0xC0C0C0);
    set(CalColor::FillWeekE, 0xFFFFFF);
    set(CalColor::FillMonth, 0xFFFFFF);
    set(CalColor::FillMonthE, 0xFFFFFF);
    set(CalColor::Brush, 0xFFFFFF);
    set(CalColor::Pen, 0x000000);
    auto on = [&s](CalFlag f, bool v) { s.flags[size_t(f)] = v; };
    on(CalFlag::MonthNameShow, false);
    on(CalFlag::MonthName, true);
    on(CalFlag::WeekName, true);
    on(CalFlag::List, false);
    on(CalFlag::ShowWeekNo, true);
    on(CalFlag::MarkPastDay, true);
    on(CalFlag::FrameMonth, false);
    on(CalFlag::FrameDay, true);
    on(CalFlag::Frame3D, false);
    on(CalFlag::Shadow, true);
    on(CalFlag::ShowRoku, true);
    on(CalFlag::Rokuyou, true);
    on(CalFlag::WeekNoEx, false);
    on(CalFlag::HintShowPop, true);
    s.font = QGuiApplication::font();
    s.fontMonth = QGuiApplication::font();
    s.fontMonth.setPointSize(12);
    s.fontMonth.setBold(true);
    return s;
}

CalendarStyle CalendarStyle::MainWindowDesign()
{
    CalendarStyle s = CalendarStyle::Defaults();
    s.font = QFont(DrawnFace(UiFace()));
    s.font.setPixelSize(12);
    s.fontMonth = QFont(DrawnFace(UiFace()));
    s.fontMonth.setPixelSize(16);
    s.fontMonth.setBold(true);
    s.monthFormat = QStringLiteral("yyyy年mm月");
    s.flags[size_t(CalFlag::MonthNameShow)] = true;
    s.flags[size_t(CalFlag::WeekName)] = false;
    s.colors[size_t(CalColor::Schedule)] = 0x800080;
    s.offsetMonthX = 1;
    s.offsetMonthY = 2;
    return s;
}

int FontPixelHeight(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    double dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    return int(std::lround(font.pointSizeF() * dpi / 72.0));
}

} // namespace vn
