#pragma once
// The month calendar control: the Japanese calendar with holidays, rokuyō,
// week numbers, schedules and diary marks, in a grid of month blocks or as
// day lists. Each host window owns one view with its own look.
//
// The view draws into an off-screen image that reaches the screen in one
// copy; a selection change that needs no scrolling redraws only the month
// blocks over the kept background. Every setter stores its value and
// repaints when the value changed (Rokuyou, HintShowPop, HintHidePause and
// SpanFormat only store).
//
// Mouse: a press of any button selects the day under it (SelectAt) and emits
// daySelected; a move maintains HoverDate and the hover hint (UpdateHover);
// a double click on a day emits dayDoubleClicked.
#include "calendar/calendarcore.h"
#include "calendar/daytexts.h"
#include "calendarpainter.h"
#include "calendarstyle.h"
#include "pastdayimage.h"
#include "schedule/schedulestore.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace vn {

class CalendarView : public QWidget {
    Q_OBJECT
public:
    explicit CalendarView(QWidget* parent = nullptr);
    ~CalendarView() override;

    // The engines: dates, holidays, rokuyō, diary; and the schedules.
    cal::CalendarCore& core() { return core_; }
    const cal::CalendarCore& core() const { return core_; }
    ScheduleStore& schedules() { return schedules_; }
    const ScheduleStore& schedules() const { return schedules_; }
    // Shows another calendar's schedules (not owned) instead of its own, as
    // they are at each look; nullptr goes back to its own. Repaints.
    void ShareSchedules(const ScheduleStore* store);
    // The schedules shown.
    const ScheduleStore& shownSchedules() const
    {
        return sharedSchedules_ ? *sharedSchedules_ : schedules_;
    }

    // ---- Look -------------------------------------------------------------
    const CalendarStyle& style() const { return style_; }
    // Replaces every value at once (a host's design), then repaints.
    void SetStyle(const CalendarStyle& style);
    quint32 Color(CalColor c) const { return style_.color(c); }
    void SetColor(CalColor c, quint32 value); // Month also sets FontMonth's colour
    bool Flag(CalFlag f) const { return style_.flag(f); }
    void SetFlag(CalFlag f, bool value); // List also sets FirstMonth := Date
    const QFont& Font() const { return style_.font; }
    void SetFont(const QFont& font); // the cell size follows its height
    const QFont& FontMonth() const { return style_.fontMonth; }
    void SetFontMonth(const QFont& font, quint32 color); // the colour becomes ColorMonth
    const QString& MonthFormat() const { return style_.monthFormat; }
    void SetMonthFormat(const QString& pattern);
    CalendarShape Shape() const { return style_.shape; }
    void SetShape(CalendarShape shape);
    Gradation GradationDirection() const { return style_.gradation; }
    void SetGradationDirection(Gradation g);
    int OffsetX() const { return core_.model().OffsetX(); }
    int OffsetY() const { return core_.model().OffsetY(); }
    void SetOffsetX(int v);
    void SetOffsetY(int v);
    int OffsetWX() const { return style_.offsetWX; }
    int OffsetWY() const { return style_.offsetWY; }
    void SetOffsetWX(int v);
    void SetOffsetWY(int v);
    int OffsetMonthX() const { return style_.offsetMonthX; }
    int OffsetMonthY() const { return style_.offsetMonthY; }
    void SetOffsetMonthX(int v);
    void SetOffsetMonthY(int v);
    // Week numbering (clamped as the date model clamps them).
    int WeekNoMin() const { return core_.model().WeekNoMin(); }
    int WeekNoMonth() const { return core_.model().WeekNoMonth(); }
    int WeekNoDay() const { return core_.model().WeekNoDay(); }
    void SetWeekNoMin(int v);
    void SetWeekNoMonth(int v);
    void SetWeekNoDay(int v);
    // The past-day mark image (its top-left 16 x 16 pixels); a null image
    // draws a cross instead.
    void SetPastDayImage(const QImage& image);
    const PastDayImage& pastDayImage() const { return pastDay_; }
    // Repaint after a change the view cannot see (also of the schedules).
    void StyleChanged()
    {
        hintDate_ = 0;
        Paint();
    }

    // ---- Hints and texts ----------------------------------------------------
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int seconds) { hintHidePause_ = seconds; }
    const QString& SpanFormat() const { return spanFormat_; }
    void SetSpanFormat(const QString& pattern) { spanFormat_ = pattern; }
    void UpdateHover(int x, int y);
    DateTime HoverDate() const { return core_.model().HoverDate(); }
    bool hintShown() const { return hintOn_; } // the control's hint is on
    const QString& hintText() const { return hintText_; }
    QString RelativeDayText(DateTime d) const;
    cal::DateSummary DateSummary() const;
    QString DateWithRelative(DateTime d) const;
    QString DayText(DateTime d) const; // the hover hint of a day
    QString RokuyouText(DateTime d) const { return core_.RokuyouText(d); }
    QString HolidayName(DateTime d) const { return core_.HolidayName(d); }
    QString SelectedHolidayName() const { return core_.SelectedHolidayName(); }
    int ScheduleCountOn(int year, int month, int day) const;
    QString ScheduleTextOn(int year, int month, int day) const;

    // ---- Dates --------------------------------------------------------------
    DateTime GetDate() const { return core_.model().GetDate(); }
    void SetDate(DateTime d);
    DateTime FirstMonth() const { return core_.model().FirstMonth(); }
    DateTime LastMonth() const { return core_.model().LastMonth(); }
    void MoveToJanuary();
    void MovePrevMonth();
    void MoveToToday();
    void MoveNextMonth();
    void MoveToNextYearJanuary();
    // Selects the day under (x, y); switches the diary even to the same day.
    void SelectAt(int x, int y);
    // The day under (x, y), 0 when none.
    DateTime DateAt(int x, int y);
    // Repaints when the day changed since the last look (midnight); true then.
    bool CheckToday();

    // ---- Data ---------------------------------------------------------------
    bool LoadHolidays(const QString& path); // schedules depend on holidays: reload them after
    LoadReport LoadSchedules(const QString& path);

    // ---- Diary --------------------------------------------------------------
    const QString& DiaryFolder() const { return core_.diary().GetDiaryFolder(); }
    void SetDiaryFolder(const QString& folder);
    const QString& DiaryFormat() const { return core_.diary().DiaryFormat(); }
    void SetDiaryFormat(const QString& pattern) { core_.diary().SetDiaryFormat(pattern); }
    void SetDiaryMemo(QPlainTextEdit* memo);
    void SetDiaryTitle(QLabel* title);
    DateTime DiaryDate() const { return core_.DiaryDate(); }
    // Writes the loaded day's diary; false when it could not be written (the
    // text stays in the editor and the next save tries again).
    bool SaveDiary();

    // ---- Painting -----------------------------------------------------------
    void Paint(); // full repaint
    // The off-screen image with every pending repaint done (tests, benchmarks).
    const QImage& RenderNow();
    QSize sizeHint() const override { return {191, 300}; }

signals:
    void dateChanged(DateTime date);               // Date changed
    void daySelected(DateTime date);               // after every mouse press (SelectAt)
    void dayDoubleClicked(DateTime date);          // double click on a day
    void todayChanged(DateTime today);             // the day changed (midnight)
    void diaryWriteFailed(const QString& message); // first failure of a series
    // The notice above the diary text changed (empty: none); readOnly: the
    // text takes no typing; offerRewrite: the user may make the held file
    // editable.
    void diaryNoticeChanged(const QString& text, bool readOnly, bool offerRewrite);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    enum class Pending { None, Blocks, Full };
    void repaintAs(cal::Redraw r);
    void requestFull();
    void render();
    void afterDateChange(DateTime before);
    void navigate(void (cal::CalendarModel::*move)()); // then a full repaint
    void setHint(bool on);
    template <typename T> void store(T& field, const T& value);

    cal::CalendarCore core_;
    ScheduleStore schedules_;
    const ScheduleStore* sharedSchedules_ = nullptr;
    CalendarStyle style_;
    PastDayImage pastDay_;
    QImage offscreen_, background_;
    Pending pending_ = Pending::Full;
    DateTime today_ = 0;           // the day the image was drawn for
    DateTime paintedSelected_ = 0; // the selected day the image shows
    CalendarTextCache texts_;
    int hintHidePause_ = 10;
    QString spanFormat_ = QStringLiteral("yyyy/mm/dd");
    bool hintOn_ = false;
    QString hintText_;
    DateTime hintDate_ = 0; // the day hintText_ was made for; 0 = remake
    int lastX_ = 0, lastY_ = 0;
    std::unique_ptr<cal::DiaryMemo> memoAdapter_;
    std::unique_ptr<cal::DiaryTitle> titleAdapter_;
    QTimer* dayTimer_ = nullptr;
};

} // namespace vn
