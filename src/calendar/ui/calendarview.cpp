#include "calendarview.h"

#include "calendarpainter.h"
#include "foundation/clock.h"
#include "widgets/colorref.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolTip>

#include <cstring>

namespace vn {

namespace {

class MemoAdapter : public cal::DiaryMemo {
public:
    MemoAdapter(QPlainTextEdit* e, std::function<void(const QString&, bool, bool)> notice)
        : edit_(e), notice_(std::move(notice))
    {
    }
    QString text() const override { return edit_->toPlainText(); }
    void setLines(const QStringList& lines) override { edit_->setPlainText(lines.join(u'\n')); }
    void setNotice(const QString& text, bool readOnly, bool offerRewrite) override
    {
        edit_->setReadOnly(readOnly);
        notice_(text, readOnly, offerRewrite);
    }

private:
    QPlainTextEdit* edit_;
    std::function<void(const QString&, bool, bool)> notice_;
};

class TitleAdapter : public cal::DiaryTitle {
public:
    explicit TitleAdapter(QLabel* l) : label_(l) {}
    void setText(const QString& text) override { label_->setText(text); }
    void setColor(quint32 color) override
    {
        QPalette pal = label_->palette();
        pal.setColor(QPalette::WindowText, ToQColor(int(color)));
        label_->setPalette(pal);
    }

private:
    QLabel* label_;
};

} // namespace

CalendarView::CalendarView(QWidget* parent) : QWidget(parent), style_(CalendarStyle::Defaults())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    schedules_.setHolidayTest(core_.HolidayTest());
    core_.model().SetCellHeight(FontPixelHeight(style_.font));
    core_.diary().setFailureReport([this](const QString& m) { emit diaryWriteFailed(m); });
    today_ = Today();
    // Midnight: the today fill and the past-day marks move to the new day.
    // It ticks only while the view is shown (see event()): a view in a
    // window never opened must not wake the program every second.
    dayTimer_ = new QTimer(this);
    dayTimer_->setObjectName(QStringLiteral("dayTimer"));
    dayTimer_->setInterval(1000);
    connect(dayTimer_, &QTimer::timeout, this, &CalendarView::CheckToday);
}

CalendarView::~CalendarView()
{
    if (hintOn_)
        QToolTip::hideText();
}

template <typename T> void CalendarView::store(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    requestFull();
}

// ---- Look ---------------------------------------------------------------------

void CalendarView::SetStyle(const CalendarStyle& style)
{
    style_ = style;
    cal::CalendarModel& m = core_.model();
    m.SetList(style.flag(CalFlag::List));
    m.SetShowWeekNo(style.flag(CalFlag::ShowWeekNo));
    m.SetWeekName(style.flag(CalFlag::WeekName));
    m.SetMonthName(style.flag(CalFlag::MonthName));
    m.SetMonthNameShow(style.flag(CalFlag::MonthNameShow));
    m.SetWeekNoEx(style.flag(CalFlag::WeekNoEx));
    m.SetCellHeight(FontPixelHeight(style.font));
    core_.SetShowRoku(style.flag(CalFlag::ShowRoku));
    core_.SetRokuyou(style.flag(CalFlag::Rokuyou));
    for (CalColor c : {CalColor::Sunday, CalColor::Saturday, CalColor::Weekday, CalColor::Holiday})
        SetColor(c, style.color(c));
    requestFull();
}

void CalendarView::SetColor(CalColor c, quint32 value)
{
    cal::DayColors& day = core_.colors();
    switch (c) {
    case CalColor::Sunday: day.sunday = value; break;
    case CalColor::Saturday: day.saturday = value; break;
    case CalColor::Weekday: day.weekday = value; break;
    case CalColor::Holiday: day.holiday = value; break;
    default: break;
    }
    store(style_.colors[size_t(c)], value);
}

void CalendarView::SetFlag(CalFlag f, bool value)
{
    bool& field = style_.flags[size_t(f)];
    if (field == value)
        return;
    field = value;
    cal::CalendarModel& m = core_.model();
    switch (f) {
    case CalFlag::List: m.SetList(value); break; // also FirstMonth := Date
    case CalFlag::ShowWeekNo: m.SetShowWeekNo(value); break;
    case CalFlag::WeekName: m.SetWeekName(value); break;
    case CalFlag::MonthName: m.SetMonthName(value); break;
    case CalFlag::MonthNameShow: m.SetMonthNameShow(value); break;
    case CalFlag::WeekNoEx: m.SetWeekNoEx(value); break;
    case CalFlag::ShowRoku: core_.SetShowRoku(value); break;
    case CalFlag::Rokuyou: core_.SetRokuyou(value); return; // stores only
    case CalFlag::HintShowPop: return;                      // stores only
    default: break;
    }
    requestFull();
}

void CalendarView::SetFont(const QFont& font)
{
    if (style_.font == font)
        return;
    style_.font = font;
    core_.model().SetCellHeight(FontPixelHeight(font));
    requestFull();
}

void CalendarView::SetFontMonth(const QFont& font, quint32 color)
{
    if (style_.fontMonth == font && style_.color(CalColor::Month) == color)
        return;
    style_.fontMonth = font;
    style_.colors[size_t(CalColor::Month)] = color;
    requestFull();
}

void CalendarView::SetMonthFormat(const QString& pattern)
{
    store(style_.monthFormat, pattern);
}
void CalendarView::SetShape(CalendarShape shape)
{
    store(style_.shape, shape);
}
void CalendarView::SetGradationDirection(Gradation g)
{
    store(style_.gradation, g);
}
void CalendarView::SetOffsetX(int v)
{
    if (core_.model().SetOffsetX(v))
        requestFull();
}
void CalendarView::SetOffsetY(int v)
{
    if (core_.model().SetOffsetY(v))
        requestFull();
}
void CalendarView::SetOffsetWX(int v)
{
    store(style_.offsetWX, v);
}
void CalendarView::SetOffsetWY(int v)
{
    store(style_.offsetWY, v);
}
void CalendarView::SetOffsetMonthX(int v)
{
    store(style_.offsetMonthX, v);
}
void CalendarView::SetOffsetMonthY(int v)
{
    store(style_.offsetMonthY, v);
}
void CalendarView::SetWeekNoMin(int v)
{
    if (core_.model().SetWeekNoMin(v))
        requestFull();
}
void CalendarView::SetWeekNoMonth(int v)
{
    if (core_.model().SetWeekNoMonth(v))
        requestFull();
}
void CalendarView::SetWeekNoDay(int v)
{
    if (core_.model().SetWeekNoDay(v))
        requestFull();
}

void CalendarView::SetPastDayImage(const QImage& image)
{
    pastDay_.set(image);
    requestFull();
}

// ---- Hints and texts ------------------------------------------------------------

void CalendarView::setHint(bool on)
{
    if (hintOn_ && !on)
        QToolTip::hideText();
    hintOn_ = on;
}

void CalendarView::UpdateHover(int x, int y)
{
    const DateTime d = DateAt(x, y);
    cal::CalendarModel& m = core_.model();
    if (!Flag(CalFlag::HintShowPop)) {
        m.SetHoverDate(d);
        lastX_ = x;
        lastY_ = y;
        return;
    }
    // Shown at the second movement inside one day; hidden on entering another.
    const bool hide = d == 0 || d != m.HoverDate() || (x == lastX_ && y == lastY_);
    if (hide) {
        setHint(false);
    } else {
        if (!hintOn_ || hintDate_ != d) {
            hintText_ = DayText(d);
            hintDate_ = d;
        }
        setHint(true);
    }
    m.SetHoverDate(d);
    lastX_ = x;
    lastY_ = y;
}

bool CalendarView::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (hintOn_) {
            QToolTip::showText(help->globalPos(), hintText_, this, QRect(), hintHidePause_ * 1000);
        } else {
            QToolTip::hideText();
            e->ignore();
        }
        return true;
    }
    // No midnight check while nothing shows the calendar (a hidden window
    // wakes for nothing); coming back, it looks at once.
    if (e->type() == QEvent::Hide) {
        dayTimer_->stop();
    } else if (e->type() == QEvent::Show && !dayTimer_->isActive()) {
        CheckToday();
        dayTimer_->start();
    }
    return QWidget::event(e);
}

QString CalendarView::RelativeDayText(DateTime d) const
{
    return cal::RelativeDayText(d, Now());
}

cal::DateSummary CalendarView::DateSummary() const
{
    return cal::SummarizeDate(spanFormat_, GetDate(), Now());
}

QString CalendarView::DateWithRelative(DateTime d) const
{
    return cal::DateWithRelative(spanFormat_, d, Now());
}

QString CalendarView::DayText(DateTime d) const
{
    const YMD ymd = DecodeDate(d);
    cal::DayTextParts parts;
    parts.dateWithRelative = DateWithRelative(d);
    parts.showRoku = Flag(CalFlag::ShowRoku);
    parts.rokuyou = core_.RokuyouText(d);
    parts.holidayName = core_.HolidayName(d);
    parts.scheduleText = ScheduleTextOn(ymd.year, ymd.month, ymd.day);
    return cal::ComposeDayText(parts);
}

void CalendarView::ShareSchedules(const ScheduleStore* store)
{
    sharedSchedules_ = store;
    Paint();
}

int CalendarView::ScheduleCountOn(int year, int month, int day) const
{
    return shownSchedules().ScheduleCountOn(year, month, day);
}

QString CalendarView::ScheduleTextOn(int year, int month, int day) const
{
    return shownSchedules().ScheduleTextOn(year, month, day);
}

// ---- Dates ----------------------------------------------------------------------

void CalendarView::afterDateChange(DateTime before)
{
    if (GetDate() != before)
        emit dateChanged(GetDate());
}

void CalendarView::navigate(void (cal::CalendarModel::*move)())
{
    const DateTime before = GetDate();
    (core_.model().*move)();
    requestFull();
    afterDateChange(before);
}

void CalendarView::SetDate(DateTime d)
{
    const DateTime before = GetDate();
    repaintAs(core_.model().SetDate(d));
    afterDateChange(before);
}

void CalendarView::MoveToJanuary()
{
    navigate(&cal::CalendarModel::MoveToJanuary);
}

void CalendarView::MovePrevMonth()
{
    navigate(&cal::CalendarModel::MovePrevMonth);
}

void CalendarView::MoveToToday()
{
    navigate(&cal::CalendarModel::MoveToToday);
}

void CalendarView::MoveNextMonth()
{
    navigate(&cal::CalendarModel::MoveNextMonth);
}

void CalendarView::MoveToNextYearJanuary()
{
    navigate(&cal::CalendarModel::MoveToNextYearJanuary);
}

void CalendarView::SelectAt(int x, int y)
{
    const DateTime before = GetDate();
    core_.model().SetSize(width(), height()); // hit-test what is on screen
    const cal::SelectResult r = core_.model().SelectAt(x, y);
    repaintAs(r.redraw);
    afterDateChange(before);
}

DateTime CalendarView::DateAt(int x, int y)
{
    core_.model().SetSize(width(), height());
    return core_.model().DateAt(x, y);
}

bool CalendarView::CheckToday()
{
    const DateTime today = Today();
    if (today == today_)
        return false;
    today_ = today;
    hintDate_ = 0; // relative texts changed
    requestFull();
    emit todayChanged(today);
    return true;
}

// ---- Data -----------------------------------------------------------------------

bool CalendarView::LoadHolidays(const QString& path)
{
    const bool found = core_.LoadHolidays(path);
    hintDate_ = 0;
    requestFull();
    return found;
}

LoadReport CalendarView::LoadSchedules(const QString& path)
{
    LoadReport report = schedules_.LoadSchedules(path);
    hintDate_ = 0;
    requestFull();
    return report;
}

void CalendarView::SetDiaryFolder(const QString& folder)
{
    if (core_.SetDiaryFolder(folder))
        requestFull();
}

void CalendarView::SetDiaryMemo(QPlainTextEdit* memo)
{
    auto notice = [this](const QString& text, bool readOnly, bool offer) {
        emit diaryNoticeChanged(text, readOnly, offer);
    };
    memoAdapter_ = memo ? std::make_unique<MemoAdapter>(memo, notice) : nullptr;
    core_.diary().SetDiaryMemo(memoAdapter_.get());
}

void CalendarView::SetDiaryTitle(QLabel* title)
{
    titleAdapter_ = title ? std::make_unique<TitleAdapter>(title) : nullptr;
    core_.diary().SetDiaryTitle(titleAdapter_.get());
}

bool CalendarView::SaveDiary()
{
    const bool marked = core_.HasDiary(DiaryDate());
    const bool ok = core_.diary().SaveDiary();
    if (DiaryDate() != 0 && core_.HasDiary(DiaryDate()) != marked)
        requestFull(); // the day's diary mark came or went
    return ok;
}

// ---- Painting -------------------------------------------------------------------

void CalendarView::requestFull()
{
    pending_ = Pending::Full;
    update();
}

void CalendarView::repaintAs(cal::Redraw r)
{
    if (r == cal::Redraw::Full) {
        pending_ = Pending::Full;
    } else if (r == cal::Redraw::Blocks) {
        if (pending_ == Pending::None)
            pending_ = Pending::Blocks;
    } else {
        return;
    }
    update();
}

void CalendarView::Paint()
{
    requestFull();
}

void CalendarView::render()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    core_.model().SetSize(width(), height());
    if (offscreen_.size() != size) {
        offscreen_ = QImage(size, QImage::Format_RGB32);
        background_ = QImage(size, QImage::Format_RGB32);
        pending_ = Pending::Full;
    }
    if (pending_ == Pending::None)
        return;
    const cal::CalendarLayout& layout = core_.model().Layout();
    CalendarPaintData data;
    data.core = &core_;
    data.schedules = &shownSchedules();
    data.pastDayImage = &pastDay_;
    data.selected = GetDate();
    data.today = today_ = Today();
    data.texts = &texts_;
    if (pending_ == Pending::Blocks) {
        // A selection change in the same months: the blocks stay over the
        // kept background, and only the two days' cells are drawn again.
        QPainter p(&offscreen_);
        CalendarPainter painter(p, style_, data);
        if (painter.repaintDay(layout, paintedSelected_, background_) &&
            painter.repaintDay(layout, data.selected, background_)) {
            paintedSelected_ = data.selected;
            pending_ = Pending::None;
            return;
        }
    } else {
        QPainter bp(&background_);
        CalendarPainter(bp, style_, {})
            .paintBackground(size.width(), size.height(), palette().color(QPalette::Window));
    }
    std::memcpy(offscreen_.bits(), background_.constBits(), size_t(offscreen_.sizeInBytes()));
    QPainter p(&offscreen_);
    CalendarPainter(p, style_, data).paintBlocks(layout);
    paintedSelected_ = data.selected;
    pending_ = Pending::None;
}

const QImage& CalendarView::RenderNow()
{
    if (offscreen_.size() != size().expandedTo(QSize(1, 1)))
        pending_ = Pending::Full;
    render();
    return offscreen_;
}

void CalendarView::paintEvent(QPaintEvent*)
{
    render();
    QPainter p(this);
    p.drawImage(0, 0, offscreen_);
}

void CalendarView::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    core_.model().SetSize(width(), height());
    requestFull();
}

void CalendarView::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    SelectAt(pos.x(), pos.y());
    emit daySelected(GetDate());
}

void CalendarView::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    UpdateHover(pos.x(), pos.y());
}

void CalendarView::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    UpdateHover(pos.x(), pos.y());
    if (HoverDate() != 0)
        emit dayDoubleClicked(HoverDate());
}

} // namespace vn
