#include "calendarpanel.h"

#include "calendar/ui/calendarview.h"
#include "foundation/datetimeformat.h"
#include "foundation/heldtext.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/heldtextbar.h"
#include "widgets/loadreportbox.h"
#include "widgets/uiprompts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace vn {

namespace {

// A font setting read over the font in use.
QFont readFont(int id, const QFont& current, quint32* color)
{
    FontSpec stored = ToFontSpec(current, int(color ? *color : 0));
    if (!ReadSettingFont(id, stored))
        return current;
    if (color)
        *color = quint32(stored.color);
    return ToDrawnFont(stored);
}

} // namespace

CalendarPanel::CalendarPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel6"));
    setMinimumWidth(100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("Splitter4"));
    splitter_->setChildrenCollapsible(false);
    view_ = new CalendarView(splitter_);
    view_->setObjectName(QStringLiteral("CalendarView1"));
    view_->SetStyle(CalendarStyle::MainWindowDesign());
    view_->SetPastDayImage(CheckMarkImage());
    view_->SetSpanFormat(QStringLiteral("yyyy/mm/dd"));
    view_->SetDiaryFormat(QStringLiteral("yyyy/mm/dd(aaa)"));
    view_->SetHintHidePause(10);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);

    diaryPane_ = new QFrame(splitter_);
    diaryPane_->setObjectName(QStringLiteral("pnlDiary"));
    diaryPane_->setMinimumHeight(100);
    auto* dl = new QVBoxLayout(diaryPane_);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->setSpacing(0);
    diaryTitle_ = new QLabel(diaryPane_);
    diaryTitle_->setObjectName(QStringLiteral("pnlDiaryTitle"));
    diaryTitle_->setFixedHeight(19);
    diaryTitle_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    diaryTitle_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    memoDiary_ = new QPlainTextEdit(diaryPane_);
    memoDiary_->setObjectName(QStringLiteral("memoDiary"));
    memoDiary_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoDiary_->setTabChangesFocus(false);
    diaryNotice_ = new HeldTextBar(diaryPane_);
    diaryNotice_->setObjectName(QStringLiteral("diaryNotice"));
    diaryNotice_->setCompact(true); // the pane is narrow
    dl->addWidget(diaryTitle_);
    dl->addWidget(diaryNotice_);
    dl->addWidget(memoDiary_);
    splitter_->addWidget(view_);
    splitter_->addWidget(diaryPane_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    layout->addWidget(splitter_, 1);
    connect(view_, &CalendarView::diaryNoticeChanged, this,
            [this](const QString& text, bool readOnly, bool offer) {
                const QString summary =
                    offer
                        ? QStringLiteral("そのままでは表示できない日記ファイルです（読み取り専用）")
                    : readOnly ? QStringLiteral("この日の日記は読み込みも保存もできません")
                               : QStringLiteral("この日の日記は保存できません");
                diaryNotice_->showNotice(text, offer, summary);
            });
    connect(diaryNotice_, &HeldTextBar::editRequested, this, [this] { acceptHeldDiary(); });
    view_->SetDiaryMemo(memoDiary_);
    view_->SetDiaryTitle(diaryTitle_);

    buildMenu();
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { menu_->popup(view_->mapToGlobal(pos)); });
    connect(view_, &CalendarView::daySelected, this, &CalendarPanel::selectedDayChanged);
    connect(view_, &CalendarView::todayChanged, this, &CalendarPanel::selectedDayChanged);
    connect(view_, &CalendarView::dayDoubleClicked, this, [this](DateTime day) {
        if (openScheduleEditor_)
            Guarded([&] { openScheduleEditor_(day); }, this);
    });
    connect(view_, &CalendarView::diaryWriteFailed, this, [this](const QString& message) {
        if (!closing_)
            ShowErrorBox(message, this);
    });
}

CalendarPanel::~CalendarPanel() = default;

void CalendarPanel::buildToolBar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ToolBar2"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(0);
    struct Def {
        CalendarButton button;
        const char* name;
        const char16_t* caption;
        const char16_t* hint;
        bool checkable;
        std::function<void()> action;
    };
    const Def defs[] = {
        {CalendarButton::ListSwitch, "ToolButton32", u"表", u"カレンダー表示切替", false,
         [this] { toggleList(); }},
        {CalendarButton::January, "ToolButton5", u"|<", u"１月に移動", false,
         [this] { moveCalendar(CalendarMove::January); }},
        {CalendarButton::PrevMonth, "ToolButton16", u"<", u"先月に移動", false,
         [this] { moveCalendar(CalendarMove::PrevMonth); }},
        {CalendarButton::Today, "ToolButton20", u"○", u"今日に移動", false,
         [this] { moveCalendar(CalendarMove::Today); }},
        {CalendarButton::NextMonth, "ToolButton21", u">", u"翌月に移動", false,
         [this] { moveCalendar(CalendarMove::NextMonth); }},
        {CalendarButton::NextYearJanuary, "ToolButton22", u">|", u"翌年の１月に移動", false,
         [this] { moveCalendar(CalendarMove::NextYearJanuary); }},
        {CalendarButton::ScheduleList, "ToolButton24", u"予", u"予定一覧の表示...", false,
         [this] { openScheduleList(); }},
        {CalendarButton::HolidayList, "ToolButton25", u"休", u"休日一覧の表示...", false,
         [this] { openHolidayList(); }},
        {CalendarButton::Details, "ToolButton27", u"詳", u"選択日付の詳細情報を表示／非表示", true,
         nullptr},
        {CalendarButton::Diary, "ToolButton23", u"日", u"日記の表示／非表示", true, nullptr},
    };
    for (const Def& d : defs) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QLatin1String(d.name));
        b->setText(QString::fromUtf16(d.caption));
        b->setToolTip(QString::fromUtf16(d.hint));
        b->setCheckable(d.checkable);
        b->setChecked(d.checkable);
        b->setAutoRaise(true);
        b->setMinimumSize(15, 20);
        b->setMaximumSize(19, 20);
        barLayout->addWidget(b);
        buttons_[size_t(d.button)] = b;
        if (d.action)
            connect(b, &QToolButton::clicked, this, [this, a = d.action] { Guarded(a, this); });
    }
    barLayout->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addWidget(bar);
    details_ = button(CalendarButton::Details);
    diary_ = button(CalendarButton::Diary);
    connect(details_, &QToolButton::clicked, this,
            [this](bool on) { emit detailsSwitched(on, true); });
    connect(diary_, &QToolButton::clicked, this, [this](bool on) { emit diarySwitched(on, true); });
}

QAction* CalendarPanel::addItem(CalendarMenuItem item, const QString& caption,
                                const std::function<void()>& action)
{
    QAction* a = menu_->addAction(caption);
    static const char* const names[] = {"N5",  "N4",  "N42", "N50", "N53", "N7",  "N24", "N25",
                                        "N26", "N27", "N29", "N30", "N33", "N55", "N49", "N48"};
    a->setObjectName(QLatin1String(names[int(item)]));
    connect(a, &QAction::triggered, this, [this, action] { Guarded(action, this); });
    items_.insert(int(item), a);
    return a;
}

void CalendarPanel::buildMenu()
{
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu2"));
    using I = CalendarMenuItem;
    addItem(I::N5, QStringLiteral("カレント行に日付を挿入(&C)"),
            [this] { emit dateToCaret(view_->GetDate()); });
    addItem(I::N4, QStringLiteral("最下行に日付を挿入(&E)"),
            [this] { emit dateToEnd(view_->GetDate()); });
    menu_->addSeparator();
    addItem(I::N42, QStringLiteral("クリップボードへ日付をコピー"),
            [this] { emit dateToClipboard(view_->GetDate()); });
    menu_->addSeparator();
    addItem(I::N50, QStringLiteral("カレンダー表示切替"), [this] { toggleList(); });
    addItem(I::N53, QStringLiteral("カレンダー背景色変更"), [this] { chooseColour(true); });
    menu_->addSeparator();
    addItem(I::N7, QStringLiteral("１月に移動(&K)"),
            [this] { moveCalendar(CalendarMove::January); });
    addItem(I::N24, QStringLiteral("先月に移動(&P)"),
            [this] { moveCalendar(CalendarMove::PrevMonth); });
    addItem(I::N25, QStringLiteral("今日に移動(&T)"),
            [this] { moveCalendar(CalendarMove::Today); });
    addItem(I::N26, QStringLiteral("翌月に移動(&N)"),
            [this] { moveCalendar(CalendarMove::NextMonth); });
    addItem(I::N27, QStringLiteral("翌年の１月に移動(&R)"),
            [this] { moveCalendar(CalendarMove::NextYearJanuary); });
    menu_->addSeparator();
    addItem(I::N29, QStringLiteral("予定一覧の表示(&S)..."), [this] { openScheduleList(); });
    // The menu item does what the toolbar button "休" does.
    addItem(I::N30, QStringLiteral("休日一覧の表示(&H)..."), [this] { openHolidayList(); });
    menu_->addSeparator();
    // The menu items switch the panes as the buttons do, without saving it.
    QAction* n33 = addItem(I::N33, QStringLiteral("選択日付の詳細情報を表示／非表示(&I)"), [this] {
        details_->setChecked(!details_->isChecked());
        emit detailsSwitched(details_->isChecked(), false);
    });
    menu_->addSeparator();
    QAction* n55 = addItem(I::N55, QStringLiteral("日記の表示／非表示"), [this] {
        diary_->setChecked(!diary_->isChecked());
        emit diarySwitched(diary_->isChecked(), false);
    });
    menu_->addSeparator();
    addItem(I::N49, QStringLiteral("過去日の×マーク色"), [this] { chooseColour(false); });
    QAction* n48 = addItem(I::N48, QStringLiteral("過去日に×マークを付ける"), [this] {
        const bool on = menuItem(CalendarMenuItem::N48)->isChecked();
        view_->SetFlag(CalFlag::MarkPastDay, on);
        WriteSettingInt(REG_CalendarMarkPastDay, on ? 1 : 0);
    });
    n33->setCheckable(true);
    n55->setCheckable(true);
    n48->setCheckable(true);
    n33->setChecked(details_->isChecked());
    n55->setChecked(diary_->isChecked());
    connect(details_, &QToolButton::toggled, n33, &QAction::setChecked);
    connect(diary_, &QToolButton::toggled, n55, &QAction::setChecked);
    connect(menu_, &QMenu::aboutToShow, this,
            [n48] { n48->setChecked(ReadSettingInt(REG_CalendarMarkPastDay) == 1); });
}

void CalendarPanel::setDiaryHeight(int height)
{
    const int total = std::max(splitter_->height(), height + 150);
    splitter_->setSizes({total - height, height});
}

int CalendarPanel::diaryHeight() const
{
    return splitter_->sizes().value(1);
}

void CalendarPanel::ApplyCalendarSettings()
{
    CalendarView& v = *view_;
    const QList<int> ids = {
        REG_CalendarColorMonth,
        REG_CalendarColorFillMonth,
        REG_CalendarBackManthShow,
        REG_CalendarColorFillWeek,
        REG_CalendarColorFramWeek,
        REG_CalendarColorSunday,
        REG_CalendarColorSaturday,
        REG_CalendarColorSchedule,
        REG_CalendarColorWeekday,
        REG_CalendarColorHoliday,
        REG_CalendarColorToday,
        REG_CalendarBrushCurrentColor,
        REG_CalendarColorMarkPastDay,
        REG_CalendarMarkPastDay,
        REG_CalendarColorFramDay,
        REG_CalendarFramDay,
        REG_CalendarFram3D,
        REG_CalendarColorTrailingText,
        REG_CalendarColorWeekNo,
        REG_CalendarShowFormat,
        REG_CalendarBrushColor,
        REG_CalendarGradationType,
        REG_CalendarMonthNameShow,
        REG_CalendarMonthName,
        REG_CalendarShowRoku,
        REG_CalendarRokuyou,
        REG_CalendarWeekName,
        REG_WeekNoEx,
        REG_ShowWeekNo,
        REG_WeekNo,
        REG_WeekNoMonth,
        REG_WeekNoDay,
        REG_CalendarOffsetX,
        REG_CalendarOffsetY,
        REG_CalendarHintShow,
        REG_CalendarTextShadow,
    };
    const QList<int> values = ReadSettingInts(ids);
    QHash<int, int> s;
    for (qsizetype i = 0; i < ids.size(); ++i)
        s.insert(ids[i], values.value(i));
    auto color = [&](CalColor c, int id) { v.SetColor(c, quint32(s.value(id))); };
    auto flag = [&](CalFlag f, int id) { v.SetFlag(f, s.value(id) == 1); };
    color(CalColor::Month, REG_CalendarColorMonth);
    color(CalColor::FillMonth, REG_CalendarColorFillMonth);
    v.SetFlag(CalFlag::FrameMonth, s.value(REG_CalendarBackManthShow) != 0);
    color(CalColor::FillWeek, REG_CalendarColorFillWeek);
    color(CalColor::FrameWeek, REG_CalendarColorFramWeek);
    color(CalColor::Sunday, REG_CalendarColorSunday);
    color(CalColor::Saturday, REG_CalendarColorSaturday);
    color(CalColor::Schedule, REG_CalendarColorSchedule);
    color(CalColor::Weekday, REG_CalendarColorWeekday);
    color(CalColor::Holiday, REG_CalendarColorHoliday);
    color(CalColor::Today, REG_CalendarColorToday);
    color(CalColor::Current, REG_CalendarBrushCurrentColor);
    color(CalColor::MarkPastDay, REG_CalendarColorMarkPastDay);
    flag(CalFlag::MarkPastDay, REG_CalendarMarkPastDay);
    color(CalColor::FrameDay, REG_CalendarColorFramDay);
    flag(CalFlag::FrameDay, REG_CalendarFramDay);
    flag(CalFlag::Frame3D, REG_CalendarFram3D);
    color(CalColor::TrailingText, REG_CalendarColorTrailingText);
    color(CalColor::WeekNo, REG_CalendarColorWeekNo);
    // The month colour goes first, so a colour stored with the month font wins.
    quint32 monthColor = v.Color(CalColor::Month);
    const QFont month = readFont(REG_CalendarFontMonth, v.FontMonth(), &monthColor);
    v.SetFontMonth(month, monthColor);
    v.SetFont(readFont(REG_CalendarFont, v.Font(), nullptr));
    v.SetMonthFormat(ReadSettingStr(REG_CalendarMonthFormat));
    flag(CalFlag::List, REG_CalendarShowFormat);
    color(CalColor::Brush, REG_CalendarBrushColor);
    v.SetGradationDirection(GradationFromSetting(s.value(REG_CalendarGradationType)));
    flag(CalFlag::MonthNameShow, REG_CalendarMonthNameShow);
    flag(CalFlag::MonthName, REG_CalendarMonthName);
    flag(CalFlag::ShowRoku, REG_CalendarShowRoku);
    flag(CalFlag::Rokuyou, REG_CalendarRokuyou);
    flag(CalFlag::WeekName, REG_CalendarWeekName);
    flag(CalFlag::WeekNoEx, REG_WeekNoEx);
    flag(CalFlag::ShowWeekNo, REG_ShowWeekNo);
    v.SetWeekNoMin(s.value(REG_WeekNo));
    v.SetWeekNoMonth(s.value(REG_WeekNoMonth));
    v.SetWeekNoDay(s.value(REG_WeekNoDay));
    v.SetOffsetX(s.value(REG_CalendarOffsetX));
    v.SetOffsetY(s.value(REG_CalendarOffsetY));
    flag(CalFlag::HintShowPop, REG_CalendarHintShow);
    flag(CalFlag::Shadow, REG_CalendarTextShadow);
}

void CalendarPanel::ReloadSchedules()
{
    ShowLoadReport(view_->LoadSchedules(SchedulePath()), this);
}

void CalendarPanel::ReloadHolidays()
{
    view_->LoadHolidays(HolidayPath());
    // Month-end repetitions step off holidays: once schedules are loaded,
    // they follow the new holidays too.
    if (!view_->schedules().scheduleFilePath().isEmpty())
        ReloadSchedules();
}

bool CalendarPanel::SaveDiary()
{
    return view_->SaveDiary();
}

bool CalendarPanel::SaveDiaryForClose()
{
    closing_ = true; // the error box comes from the close itself
    const bool saved = view_->SaveDiary();
    closing_ = false;
    return saved;
}

bool CalendarPanel::takeInDiaryChange()
{
    const bool taken = view_->core().diary().takeInOutsideChange();
    if (taken)
        view_->update(); // the day's mark
    return taken;
}

void CalendarPanel::takeInDiaryDays()
{
    cal::DiaryStore& diary = view_->core().diary();
    diary.ScanDiaryFolder(diary.GetDiaryFolder());
    diary.takeInOutsideChange();
    view_->update();
}

QString CalendarPanel::diaryFailure() const
{
    return view_->core().diary().lastFailure();
}

QString CalendarPanel::diaryDayName() const
{
    return RenderDateTime(view_->DiaryFormat(), view_->DiaryDate());
}

bool CalendarPanel::acceptHeldDiary()
{
    cal::DiaryStore& diary = view_->core().diary();
    if (!diary.held() || !diary.rewriteOffered())
        return false;
    const QString copy = diary.heldCopyPath();
    const QString what = QStringLiteral("%1 の日記ファイル").arg(diaryDayName());
    if (Ask(BoxKind::Confirmation, HeldRewritePrompt(what, diary.heldReason(), copy),
            BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;
    if (!Guarded([&] { diary.acceptRewrite(copy); }, this))
        return false;
    memoDiary_->setFocus();
    return true;
}

void CalendarPanel::moveCalendar(CalendarMove m)
{
    switch (m) {
    case CalendarMove::January: view_->MoveToJanuary(); break;
    case CalendarMove::PrevMonth: view_->MovePrevMonth(); break;
    case CalendarMove::Today: view_->MoveToToday(); break;
    case CalendarMove::NextMonth: view_->MoveNextMonth(); break;
    case CalendarMove::NextYearJanuary: view_->MoveToNextYearJanuary(); break;
    }
    emit selectedDayChanged();
}

bool CalendarPanel::handleKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp: moveCalendar(CalendarMove::PrevMonth); return true;
    case Qt::Key_PageDown: moveCalendar(CalendarMove::NextMonth); return true;
    case Qt::Key_Home: moveCalendar(CalendarMove::Today); return true;
    default: return false;
    }
}

void CalendarPanel::toggleList()
{
    const bool list = !view_->Flag(CalFlag::List);
    view_->SetFlag(CalFlag::List, list);
    WriteSettingInt(REG_CalendarShowFormat, list ? 1 : 0);
}

void CalendarPanel::setListOpeners(std::function<void()> scheduleList,
                                   std::function<void()> holidayList)
{
    openScheduleList_ = std::move(scheduleList);
    openHolidayList_ = std::move(holidayList);
}

void CalendarPanel::setScheduleEditorOpener(std::function<void(DateTime)> open)
{
    openScheduleEditor_ = std::move(open);
}

void CalendarPanel::openScheduleList()
{
    if (openScheduleList_)
        openScheduleList_();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Guarded([this] { ReloadSchedules(); }, this);
    emit selectedDayChanged();
    QApplication::restoreOverrideCursor();
}

void CalendarPanel::openHolidayList()
{
    if (openHolidayList_)
        openHolidayList_();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Guarded([this] { ReloadHolidays(); }, this);
    emit selectedDayChanged();
    QApplication::restoreOverrideCursor();
}

void CalendarPanel::chooseColour(bool background)
{
    const CalColor which = background ? CalColor::Brush : CalColor::MarkPastDay;
    const std::optional<QColor> c = Prompts().chooseColour(ToQColor(int(view_->Color(which))));
    if (!c)
        return;
    const int ref = ToColorRef(*c);
    view_->SetColor(which, quint32(ref));
    WriteSettingInt(background ? REG_CalendarBrushColor : REG_CalendarColorMarkPastDay, ref);
}

} // namespace vn
