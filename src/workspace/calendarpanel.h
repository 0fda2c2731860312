#pragma once
// The calendar panel `Panel6` of the main window: its toolbar `ToolBar2`,
// the calendar `CalendarView1` with its menu `PopupMenu2`, and the diary
// pane below it.
#include "foundation/datetime.h"

#include <QFrame>
#include <QHash>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QToolButton;

namespace vn {

class CalendarView;
class HeldTextBar;

// The items of `PopupMenu2`, in their order.
enum class CalendarMenuItem {
    N5,  // "カレント行に日付を挿入(&C)"
    N4,  // "最下行に日付を挿入(&E)"
    N42, // "クリップボードへ日付をコピー"
    N50, // "カレンダー表示切替"
    N53, // "カレンダー背景色変更"
    N7,  // "１月に移動(&K)"
    N24, // "先月に移動(&P)"
    N25, // "今日に移動(&T)"
    N26, // "翌月に移動(&N)"
    N27, // "翌年の１月に移動(&R)"
    N29, // "予定一覧の表示(&S)..."
    N30, // "休日一覧の表示(&H)..."
    N33, // "選択日付の詳細情報を表示／非表示(&I)"
    N55, // "日記の表示／非表示"
    N49, // "過去日の×マーク色"
    N48, // "過去日に×マークを付ける"
};

enum class CalendarMove { January, PrevMonth, Today, NextMonth, NextYearJanuary };

// The buttons of `ToolBar2`, in their order.
enum class CalendarButton {
    ListSwitch,      // ToolButton32 "表"
    January,         // ToolButton5 "|<"
    PrevMonth,       // ToolButton16 "<"
    Today,           // ToolButton20 "○"
    NextMonth,       // ToolButton21 ">"
    NextYearJanuary, // ToolButton22 ">|"
    ScheduleList,    // ToolButton24 "予"
    HolidayList,     // ToolButton25 "休"
    Details,         // ToolButton27 "詳"
    Diary,           // ToolButton23 "日"
    Count
};

class CalendarPanel : public QFrame {
    Q_OBJECT
public:
    explicit CalendarPanel(QWidget* parent = nullptr);
    ~CalendarPanel() override;

    CalendarView* view() const { return view_; }
    QToolButton* button(CalendarButton b) const { return buttons_[size_t(b)]; }
    QToolButton* detailsButton() const { return details_; } // "詳"
    QToolButton* diaryButton() const { return diary_; }     // "日"
    QMenu* popupMenu() const { return menu_; }
    QAction* menuItem(CalendarMenuItem item) const { return items_.value(int(item)); }
    QSplitter* diarySplitter() const { return splitter_; }
    QPlainTextEdit* diaryMemo() const { return memoDiary_; }
    QLabel* diaryTitle() const { return diaryTitle_; }
    QWidget* diaryPane() const { return diaryPane_; }
    // The notice above the diary text (a file held, a day never saved).
    HeldTextBar* diaryNotice() const { return diaryNotice_; }
    void setDiaryHeight(int height);
    int diaryHeight() const;

    // The calendar's look from the settings, in their fixed order.
    void ApplyCalendarSettings();
    // The calendar's data from Schedule.dat and Holiday.dat.
    void ReloadSchedules();
    void ReloadHolidays();
    // Writes the diary being shown; a failure is shown once while it lasts.
    bool SaveDiary();
    // As SaveDiary, but a failure is left to the caller to show (closing).
    bool SaveDiaryForClose();
    // The loaded day's file changed outside and nothing was typed here: the
    // pane shows the new text.
    bool takeInDiaryChange();
    // Diary days were written by another writer (the sync): the calendar
    // marks the days that have a diary anew, and the pane takes its day in.
    void takeInDiaryDays();
    QString diaryFailure() const; // the last failure's message
    // The diary's day as its title names it ("2026/12/10(木)").
    QString diaryDayName() const;
    // A held diary file becomes editable once the user accepts that it is
    // rewritten (a copy of it is kept). False when declined or it failed.
    bool acceptHeldDiary();

    void moveCalendar(CalendarMove m);
    // Alt+Page Up, Alt+Page Down, Alt+Home; true when the key acted.
    bool handleKey(int key);

    // What the list buttons and a double click on a day open (modally).
    void setListOpeners(std::function<void()> scheduleList, std::function<void()> holidayList);
    void setScheduleEditorOpener(std::function<void(DateTime day)> open);

signals:
    void selectedDayChanged(); // the selected day or the calendar's data changed
    void detailsSwitched(bool on, bool saveSetting); // "詳" (saves) or its menu item
    void diarySwitched(bool on, bool saveSetting);   // "日" (saves) or its menu item
    void dateToCaret(DateTime date);
    void dateToEnd(DateTime date);
    void dateToClipboard(DateTime date);

private:
    void buildToolBar();
    void buildMenu();
    QAction* addItem(CalendarMenuItem item, const QString& caption,
                     const std::function<void()>& action);
    void toggleList();
    void openScheduleList();
    void openHolidayList();
    void chooseColour(bool background);

    std::array<QToolButton*, size_t(CalendarButton::Count)> buttons_{};
    QToolButton* details_ = nullptr;
    QToolButton* diary_ = nullptr;
    QHash<int, QAction*> items_;
    QMenu* menu_ = nullptr;
    CalendarView* view_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QLabel* diaryTitle_ = nullptr;
    QWidget* diaryPane_ = nullptr;
    QPlainTextEdit* memoDiary_ = nullptr;
    HeldTextBar* diaryNotice_ = nullptr;
    std::function<void()> openScheduleList_, openHolidayList_;
    std::function<void(DateTime)> openScheduleEditor_;
    bool closing_ = false;
};

} // namespace vn
