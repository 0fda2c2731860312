#pragma once
// The page "カレンダー": the main window's calendar, its colours, fonts,
// patterns, week numbers and display switches. Every control sets the
// calendar's property (which repaints it) and writes its setting at once.
#include "settingspage.h"

#include <array>
#include <memory>
#include <vector>

class QAbstractButton;
class QPushButton;

namespace Ui {
class CalendarPage;
}

namespace vn {

class CalendarView;
enum class CalColor;
enum class CalFlag;

class CalendarPage : public SettingsPage {
    Q_OBJECT
public:
    explicit CalendarPage(QWidget* parent = nullptr);
    ~CalendarPage() override;
    const Ui::CalendarPage& form() const { return *ui; }

    // The controls from the settings, each applied to the calendar.
    void LoadCalendarPage();

    // "ISO規格値" for 3, "USA規格値" for 1, "オリジナル値" otherwise.
    static QString WeekNoRuleName(int minDays);

private:
    struct ColourButton {
        QPushButton* button;
        CalColor color;
        int setting;
    };
    CalendarView& view() const;
    void chooseColour(const ColourButton& b);
    void cmdColor01Click();
    void setMonthColour(quint32 colour);
    void chooseFont(bool month);
    void applyWeekNoMin();
    void applyWeekNoEx();
    void applyOffsets();
    void applyMonthNames();
    void applyRokuyou();
    void applyNameSwitch(QAbstractButton* box, std::array<QAbstractButton*, 2> pair, CalFlag flag,
                         int setting);
    void showSwatches();

    std::unique_ptr<Ui::CalendarPage> ui;
    std::vector<ColourButton> colours_;
};

} // namespace vn
