#include "runrecordwindow.h"

#include "calendar/ui/calendarview.h"
#include "foundation/clock.h"
#include "foundation/settings.h"
#include "perioddialog.h"
#include "runrecord/runrecordtable.h"
#include "ui_runrecordwindow.h"
#include "widgets/errorbox.h"
#include "widgets/listgrid.h"
#include "widgets/shelldialog.h"
#include "widgets/statuspanels.h"
#include "widgets/uiprompts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

namespace vn {

namespace {

// The calendar as this window was designed: the main window's design with
// fonts, colours and switches of its own. Only the week settings reach it.
CalendarStyle RunRecordCalendarDesign()
{
    CalendarStyle s = CalendarStyle::MainWindowDesign();
    s.font = QFont(QStringLiteral("ＭＳ Ｐ明朝"));
    s.font.setPixelSize(12);
    s.fontMonth = QFont(QStringLiteral("ＭＳ Ｐ明朝"));
    s.fontMonth.setPixelSize(13);
    s.fontMonth.setBold(true);
    s.monthFormat = QStringLiteral("gee/mm");
    s.gradation = Gradation::Left;
    const auto flag = [&](CalFlag f, bool v) { s.flags[size_t(f)] = v; };
    flag(CalFlag::MarkPastDay, false);
    flag(CalFlag::FrameDay, false);
    flag(CalFlag::Frame3D, true);
    flag(CalFlag::WeekName, true);
    flag(CalFlag::MonthName, false);
    flag(CalFlag::Shadow, false);
    const auto colour = [&](CalColor c, quint32 v) { s.colors[size_t(c)] = v; };
    colour(CalColor::Month, 0x800000);
    colour(CalColor::Saturday, 0x0000FF);
    colour(CalColor::WeekNo, 0xF0CAA6);
    colour(CalColor::Today, 0xFFFF00);
    colour(CalColor::FrameWeek, 0xC0C0C0);
    colour(CalColor::FillWeekE, 0xC0C0C0);
    colour(CalColor::FillMonth, 0x00FF00);
    s.offsetMonthX = 0;
    return s;
}

// The settings of the widths of columns 1, 5, 6, 7, 8, 9 and 10.
constexpr std::array<std::pair<int, int>, 7> kWidthSettings = {{
    {kRunDate, REG_PCItem00Width},
    {kRunMemo, REG_PCItem01Width},
    {kRunStart, REG_PCItem02Width},
    {kRunEnd, REG_PCItem03Width},
    {kRunDuration, REG_PCItem04Width},
    {kRunHoliday, REG_PCItem05Width},
    {kRunDay, REG_PCItem06Width},
}};

// A memo is one line of the record.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// The wait cursor over a window on screen; a window being shown is not yet
// there, and its first refresh is over before it is.
class WaitCursor {
public:
    explicit WaitCursor(const QWidget* window)
        : shown_(window->windowHandle() && window->windowHandle()->isExposed())
    {
        if (shown_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (shown_)
            QApplication::restoreOverrideCursor();
    }

private:
    const bool shown_;
};

} // namespace

RunRecordWindow::RunRecordWindow(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::RunRecordWindow>())
{
    SetSecondaryWindowFont(this);
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmDateTime", QStringLiteral("PC起動実績"), {780, 480});
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
    ui->mainLayout->setStretch(1, 1);
    ui->calLayout->setStretch(1, 1);

    CalendarView* view = ui->CalendarView1;
    view->SetStyle(RunRecordCalendarDesign());
    view->SetOffsetX(3);
    view->SetOffsetY(1);
    view->SetPastDayImage(CheckMarkImage());

    // In a narrow window the panels give way, the date last.
    const int panelWidths[] = {110, 60, 50, 90, 80, 60};
    const int ranks[] = {5, 4, 0, 3, 1, 2};
    auto* panels = new StatusPanels(this);
    for (int i = 0; i < 6; ++i)
        status_[size_t(i)] = panels->addPanel(QStringLiteral("StatusPanel%1").arg(i),
                                              panelWidths[i], Qt::AlignLeft, ranks[i], i == 5);
    ui->StatusBar1->addWidget(panels, 1);
    buildGrid();
    buildMenu();

    connect(ui->ToolButton1, &QToolButton::clicked, this, [this] { run(Command::Refresh); });
    connect(ui->ToolButton2, &QToolButton::clicked, this, [this] { run(Command::ChangePeriod); });
    const std::pair<QToolButton*, CalendarMove> moves[] = {
        {ui->tbJanuary, CalendarMove::January},
        {ui->tbPrevMonth, CalendarMove::PrevMonth},
        {ui->tbToday, CalendarMove::Today},
        {ui->tbNextMonth, CalendarMove::NextMonth},
        {ui->tbNextJanuary, CalendarMove::NextJanuary}};
    for (const auto& [button, move] : moves)
        connect(button, &QToolButton::clicked, this, [this, m = move] { moveCalendar(m); });
    connect(ui->tbDetail, &QToolButton::clicked, this, &RunRecordWindow::setDetailShown);
    connect(view, &CalendarView::daySelected, this, &RunRecordWindow::calendarDayChosen);
    connect(ui->GridView1, &ListGrid::currentRowChanged, this, &RunRecordWindow::gridRowChosen);

    period_ = {};
    view->SetDate(Today());
    restoreLayout();
    // The status line is filled when the main window's holidays arrive
    // (setCalendarData) or at the latest when the window is shown.
}

RunRecordWindow::~RunRecordWindow() = default;

ListGrid* RunRecordWindow::grid() const
{
    return ui->GridView1;
}

CalendarView* RunRecordWindow::calendar() const
{
    return ui->CalendarView1;
}

QString RunRecordWindow::statusPanel(int i) const
{
    return status_[size_t(i)]->text();
}

bool RunRecordWindow::detailShown() const
{
    return ui->tbDetail->isChecked();
}

void RunRecordWindow::setCalendarData(const RunRecordCalendarData* data)
{
    data_ = data;
    CalendarView* view = ui->CalendarView1;
    view->core().ShareHolidays(data ? &data->holidays() : nullptr);
    view->ShareSchedules(data ? &data->schedules() : nullptr);
    UpdateRunRecordStatus();
}

void RunRecordWindow::buildGrid()
{
    ListGrid* g = ui->GridView1;
    const auto width = [](int id) { return ReadSettingInt(id); };
    const Qt::Alignment centre = Qt::AlignHCenter;
    g->setColumns({
        GridColumn(QStringLiteral("No"), 30, Qt::AlignRight, CellKind::Number),
        GridColumn(QStringLiteral("日付"), width(REG_PCItem00Width), centre),
        GridColumn(QStringLiteral("六曜"), 38),
        GridColumn(QStringLiteral("休日名称"), 64),
        GridColumn(QStringLiteral("予定"), 60),
        GridColumn(QStringLiteral("メモ"), width(REG_PCItem01Width)),
        GridColumn(QStringLiteral("起動時刻"), width(REG_PCItem02Width), centre),
        GridColumn(QStringLiteral("終了時刻"), width(REG_PCItem03Width), centre),
        GridColumn(QStringLiteral("所要時間"), width(REG_PCItem04Width), centre),
        GridColumn(QStringLiteral("休日"), width(REG_PCItem05Width), Qt::AlignLeft,
                   CellKind::Hidden),
        GridColumn(QStringLiteral("nDate"), width(REG_PCItem06Width), Qt::AlignLeft,
                   CellKind::Hidden),
    });
    // Weekends and holidays in red.
    g->setRowColour(
        [g](int row) { return g->number(row, kRunHoliday) == 1 ? QColor(Qt::red) : QColor(); });
    for (int c : {kRunRokuyou, kRunHolidayName, kRunSchedules})
        g->setColumnHidden(c, true);
    g->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(g, &QWidget::customContextMenuRequested, this,
            [this, g](const QPoint& pos) { popup_->popup(g->viewport()->mapToGlobal(pos)); });
}

void RunRecordWindow::buildMenu()
{
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* input = popup_->addAction(QStringLiteral("メモ入力(&M)..."));
    input->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    input->setShortcutContext(Qt::WindowShortcut);
    addAction(input); // Ctrl+M works without the menu
    connect(input, &QAction::triggered, this, [this] { run(Command::MemoInput); });
    connect(popup_->addAction(QStringLiteral("メモ削除(&D)")), &QAction::triggered, this,
            [this] { run(Command::MemoDelete); });
    popup_->addAction(QStringLiteral("PC起動時刻修正(&S)..."))->setEnabled(false);
    popup_->addAction(QStringLiteral("PC終了時刻修正(&E)..."))->setEnabled(false);
    popup_->addSeparator();
    connect(popup_->addAction(QStringLiteral("最新情報の再読込み(&R)")), &QAction::triggered, this,
            [this] { run(Command::Refresh); });
    connect(popup_->addAction(QStringLiteral("表示期間変更(&C)...")), &QAction::triggered, this,
            [this] { run(Command::ChangePeriod); });
}

void RunRecordWindow::restoreLayout()
{
    const int top = ReadSettingInt(REG_PCFrameTop);
    const int left = ReadSettingInt(REG_PCFrameLeft);
    if (top > 0 && left > 0) {
        move(left, top);
        resize(std::max(ReadSettingInt(REG_PCFrameWidth), 320),
               std::max(ReadSettingInt(REG_PCFrameHeight), 200));
    }
    const int calendarWidth = std::max(ReadSettingInt(REG_PCCalendarWidth), 100);
    ui->Splitter1->setSizes({calendarWidth, std::max(width() - calendarWidth, 100)});
}

void RunRecordWindow::saveLayout()
{
    const QRect frame = frameGeometry();
    QList<QPair<int, int>> values = {
        {REG_PCFrameTop, frame.top()},
        {REG_PCFrameLeft, frame.left()},
        {REG_PCFrameHeight, height()},
        {REG_PCFrameWidth, width()},
        {REG_PCCalendarWidth, ui->Splitter1->sizes().value(0)},
    };
    // The widths as stored or dragged, not as widened to the rows.
    for (const auto& [column, id] : kWidthSettings)
        values.append({id, ui->GridView1->chosenWidth(column)});
    WriteSettingIntsIfChanged(values);
}

void RunRecordWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (ReadSettingInt(REG_PCFrameTop) <= 0 || ReadSettingInt(REG_PCFrameLeft) <= 0 ||
        !QGuiApplication::screenAt(frameGeometry().center()))
        CentreOnScreen(this);
    Guarded([this] { FormShow(); }, this);
}

void RunRecordWindow::FormShow()
{
    if (!period_.isSet())
        period_ = ReadRunPeriod();
    const int today = DayNumber(Today());
    if (period_.last < today) {
        period_.last = today;
        WriteSettingInt(REG_PCTimeEndDate, today);
    }
    CalendarView* view = ui->CalendarView1;
    view->SetFlag(CalFlag::WeekNoEx, ReadSettingInt(REG_WeekNoEx) == 1);
    view->SetWeekNoMin(ReadSettingInt(REG_WeekNo));
    view->SetWeekNoMonth(ReadSettingInt(REG_WeekNoMonth));
    view->SetWeekNoDay(ReadSettingInt(REG_WeekNoDay));
    RefreshRunRecord();
    setDetailShown(ReadSettingInt(REG_ShowScheduleDetailDateTime) == 1);
}

void RunRecordWindow::RefreshRunRecord()
{
    WaitCursor wait(this);
    if (beforeRead_)
        beforeRead_();
    const std::vector<RecordedDay> record = ReadRunRecord(RunRecordPath());
    if (!period_.isSet()) {
        period_ = RecordedPeriod(record);
        if (!period_.isSet()) // nothing recorded yet
            period_ = {DayNumber(Today()), DayNumber(Today())};
    }
    const CalendarView* view = ui->CalendarView1;
    const cal::HolidayTable& holidays = view->core().holidays();
    RunDayInfo info;
    info.rokuyou = [view](DateTime d) { return view->RokuyouText(d); };
    info.isHoliday = [&holidays](DateTime d) { return holidays.IsHoliday(d); };
    info.holidayName = [&holidays](DateTime d) { return holidays.HolidayName(d); };
    info.schedules = [view](DateTime d) {
        const YMD ymd = DecodeDate(d);
        return view->ScheduleTextOn(ymd.year, ymd.month, ymd.day);
    };
    std::vector<QVariantList> rows =
        BuildRunRecordRows(period_, record, info, ReadSettingStr(REG_EnvFormatDate));
    const int count = int(rows.size());
    selecting_ = true;
    ui->GridView1->setRows(std::move(rows));
    ui->GridView1->widenColumnsToContents();
    status_[5]->setText(ShownDaysText(period_.isSet() ? period_.length() : 0));
    if (count > 0)
        ui->GridView1->setCurrentRow(0);
    selecting_ = false;
    UpdateRunRecordStatus();
}

void RunRecordWindow::UpdateRunRecordStatus()
{
    const CalendarView* view = ui->CalendarView1;
    const cal::DateSummary summary = view->DateSummary();
    const YMD d = DecodeDate(view->GetDate());
    status_[0]->setText(summary.dateText);
    status_[1]->setText(summary.relativeText);
    status_[2]->setText(view->RokuyouText(view->GetDate()));
    status_[3]->setText(view->SelectedHolidayName());
    status_[4]->setText(QStringLiteral("予定数=") +
                        QString::number(view->ScheduleCountOn(d.year, d.month, d.day)));
}

void RunRecordWindow::SelectRunRecordDay(int dayNumber)
{
    const int rows = ui->GridView1->rowCount();
    if (rows > 0) {
        const int row = std::clamp(dayNumber - period_.first, 0, rows - 1);
        selecting_ = true;
        ui->GridView1->setCurrentRow(row);
        selecting_ = false;
    }
    UpdateRunRecordStatus();
}

void RunRecordWindow::gridRowChosen(int row)
{
    if (selecting_ || row < 0)
        return;
    ui->CalendarView1->SetDate(FromDayNumber(period_.first + row));
    UpdateRunRecordStatus();
}

void RunRecordWindow::calendarDayChosen(double date)
{
    SelectRunRecordDay(DayNumber(date));
}

void RunRecordWindow::moveCalendar(CalendarMove move)
{
    CalendarView* view = ui->CalendarView1;
    switch (move) {
    case CalendarMove::January: view->MoveToJanuary(); break;
    case CalendarMove::PrevMonth: view->MovePrevMonth(); break;
    case CalendarMove::Today: view->MoveToToday(); break;
    case CalendarMove::NextMonth: view->MoveNextMonth(); break;
    case CalendarMove::NextJanuary: view->MoveToNextYearJanuary(); break;
    }
    UpdateRunRecordStatus();
}

void RunRecordWindow::setDetailShown(bool shown)
{
    ui->tbDetail->setChecked(shown);
    for (int c : {kRunRokuyou, kRunHolidayName, kRunSchedules})
        ui->GridView1->setColumnHidden(c, !shown);
    if (shown)
        ui->GridView1->widenColumnsToContents();
    WriteSettingIntsIfChanged({{REG_ShowScheduleDetailDateTime, shown ? 1 : 0}});
}

void RunRecordWindow::run(Command command)
{
    Guarded(
        [&] {
            switch (command) {
            case Command::Refresh: RefreshRunRecord(); break;
            case Command::ChangePeriod: changePeriod(); break;
            case Command::MemoInput: memoInput(); break;
            case Command::MemoDelete: memoDelete(); break;
            }
        },
        this);
}

int RunRecordWindow::currentRowOrFirst() const
{
    const int row = ui->GridView1->currentRow();
    return row >= 0 ? row : (ui->GridView1->rowCount() > 0 ? 0 : -1);
}

void RunRecordWindow::memoInput()
{
    const int row = currentRowOrFirst();
    if (row < 0)
        return;
    ListGrid* g = ui->GridView1;
    const QString memo = g->text(row, kRunMemo);
    const QString text = oneLine(Prompts().input(
        QStringLiteral("メモ入力"), g->text(row, kRunDate) + QStringLiteral("のメモ"), memo));
    if (text == memo)
        return; // unchanged or cancelled: the record stays as it is
    WriteRunMemo(int(g->number(row, kRunDay)), text);
    g->setCell(row, kRunMemo, text);
}

void RunRecordWindow::memoDelete()
{
    const int row = currentRowOrFirst();
    if (row < 0)
        return;
    ListGrid* g = ui->GridView1;
    const QString memo = g->text(row, kRunMemo);
    const QString question = g->text(row, kRunDate) + QStringLiteral("のメモを削除しますか？") +
                             QStringLiteral("\r\n") + QStringLiteral("メモ内容[") + memo + u']';
    if (Ask(BoxKind::Information, question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    if (!memo.isEmpty())
        WriteRunMemo(int(g->number(row, kRunDay)), QString());
    g->setCell(row, kRunMemo, QString());
}

void RunRecordWindow::changePeriod()
{
    PeriodDialog* dialog = periodDialog_ ? periodDialog_() : nullptr;
    if (!dialog)
        return;
    const RunPeriod before = period_;
    dialog->setPeriod(period_);
    dialog->exec();
    if (dialog->period() == before)
        return;
    period_ = dialog->period();
    RefreshRunRecord();
    ui->CalendarView1->SetDate(FromDayNumber(period_.first));
    UpdateRunRecordStatus();
}

void RunRecordWindow::done(int result)
{
    Guarded([this] { saveLayout(); }, this);
    QDialog::done(result);
}

} // namespace vn
