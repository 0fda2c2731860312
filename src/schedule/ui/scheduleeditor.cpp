#include "scheduleeditor.h"

#include "foundation/appstate.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "platform/platform.h"
#include "schedule/schedulestore.h"
#include "ui_scheduleeditor.h"
#include "widgets/datepopup.h"
#include "widgets/errorbox.h"
#include "widgets/inputfields.h"
#include "widgets/loadreportbox.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"

#include <QTimer>

namespace vn {

namespace {

constexpr int kTextBytes = 255; // schedule texts and addresses in Schedule.dat
const QString kHttp = QStringLiteral("http://");

} // namespace

ScheduleEditor::ScheduleEditor(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ScheduleEditor>()), timer1_(new QTimer(this))
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmSchedule", QStringLiteral("新規予定の登録"), {520, 460});
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(520, 0)));
    datePopups_ = {new DatePopup(ui->dtDate), new DatePopup(ui->dtEnd)};
    for (QDateEdit* d : {ui->dtDate, ui->dtEnd}) {
        d->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        d->setMinimumDate(QDate(100, 1, 1));
        d->setMaximumDate(QDate(9999, 12, 31));
    }
    ui->spinHH->setEmptyValue(0);
    ui->spinNN->setEmptyValue(0);
    ui->spinAlarm->setEmptyValue(0);
    ui->spinDaySpan->setEmptyValue(1);
    LimitSjisBytes(ui->txtName, kTextBytes);
    LimitSjisBytes(ui->txtURL, kTextBytes);

    auto guarded = [this](auto fn) { return [this, fn] { Guarded(fn, this); }; };
    auto startDay = [this](int days, bool today) {
        const QDate base = today ? ToQDate(Today()) : ui->dtDate->date();
        ui->dtDate->setDate(base.addDays(days));
        if (!ui->chkLoop->isChecked())
            resetRepetition();
    };
    connect(ui->Button8, &QPushButton::clicked, this, [startDay] { startDay(0, true); });
    connect(ui->Button6, &QPushButton::clicked, this, [startDay] { startDay(1, false); });
    connect(ui->Button7, &QPushButton::clicked, this, [startDay] { startDay(7, false); });
    connect(ui->Button10, &QPushButton::clicked, this,
            [this] { ui->dtEnd->setDate(ToQDate(Today())); });
    connect(ui->Button11, &QPushButton::clicked, this,
            [this] { ui->dtEnd->setDate(ui->dtEnd->date().addDays(1)); });
    connect(ui->Button12, &QPushButton::clicked, this,
            [this] { ui->dtEnd->setDate(ui->dtEnd->date().addDays(7)); });
    connect(ui->chkLoop, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            resetRepetition();
        applyLoopEnabling();
        updateLoopText();
    });
    for (QRadioButton* r :
         {ui->rdoDay, ui->rdoWeek, ui->rdoTwoWeeks, ui->rdoMonth, ui->rdoYear, ui->rdoDaySpan})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (!on)
                return;
            applyLoopEnabling();
            updateLoopText();
        });
    connect(ui->spinDaySpan, &QSpinBox::valueChanged, this, [this] { updateLoopText(); });
    connect(ui->dtDate, &QDateEdit::dateChanged, this, [this] {
        updateLoopText();
        updateAlarmText();
    });
    connect(ui->dtEnd, &QDateEdit::dateChanged, this, [this] { updateLoopText(); });
    connect(ui->chkAllDay, &QCheckBox::toggled, this, [this] { applyAllDayEnabling(); });
    for (QSpinBox* s : {ui->spinHH, ui->spinNN, ui->spinAlarm})
        connect(s, &QSpinBox::valueChanged, this, [this] { updateAlarmText(); });
    connect(ui->Button9, &QPushButton::clicked, this, [this] {
        const HMS now = DecodeTime(Now());
        ui->spinHH->setValue(now.hour);
        ui->spinNN->setValue(now.minute);
    });
    const std::array<QPushButton*, 4> later{ui->Button1, ui->Button2, ui->Button3, ui->Button4};
    for (int i = 0; i < 4; ++i)
        connect(later[size_t(i)], &QPushButton::clicked, this, [this, i] {
            ui->spinHH->commitText();
            ui->spinHH->setValue((ui->spinHH->value() + i + 1) % 24);
        });
    connect(ui->Button5, &QPushButton::clicked, this, [this] { ui->spinNN->setValue(0); });
    connect(ui->cmdURL, &QPushButton::clicked, this, guarded([this] { cmdURLClick(); }));
    connect(ui->cmdAdd, &QPushButton::clicked, this, guarded([this] { cmdAddClick(); }));
    connect(ui->cmdNew, &QPushButton::clicked, this, guarded([this] { cmdNewClick(); }));
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

ScheduleEditor::~ScheduleEditor() = default;

void ScheduleEditor::setCalendarStore(ScheduleStore* store, std::function<void()> changed)
{
    calendarStore_ = store;
    calendarChanged_ = std::move(changed);
}

void ScheduleEditor::setCalendarDays(const CalendarDays* days)
{
    for (DatePopup* popup : datePopups_)
        popup->setDays(days);
}

int ScheduleEditor::NewScheduleFromCalendar(DateTime day)
{
    mode_ = Mode::Calendar;
    position_ = -1;
    defaultDay_ = DateOnly(day);
    listStore_ = nullptr;
    return exec();
}

int ScheduleEditor::NewScheduleFromList(ListStore store)
{
    mode_ = Mode::List;
    position_ = -1;
    defaultDay_ = Today();
    listStore_ = std::move(store);
    return exec();
}

int ScheduleEditor::EditScheduleFromList(int row, const ScheduleFields& fields, ListStore store)
{
    mode_ = Mode::List;
    position_ = row;
    fields_ = fields;
    listStore_ = std::move(store);
    return exec();
}

void ScheduleEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    CentreOnScreen(this);
    timer1_->start();
}

void ScheduleEditor::hideEvent(QHideEvent* event)
{
    timer1_->stop();
    QDialog::hideEvent(event);
}

void ScheduleEditor::FormShow()
{
    const bool adding = position_ < 0;
    baseCaption_ = adding ? QStringLiteral("新規予定の登録") : QStringLiteral("予定の修正");
    setWindowTitle(baseCaption_);
    ui->cmdAdd->setText(adding ? QStringLiteral("新規登録") : QStringLiteral("修正"));
    if (adding) {
        const HMS now = DecodeTime(Now());
        ScheduleFields f;
        const YMD day = DecodeDate(defaultDay_);
        const YMD today = DecodeDate(Today());
        f.year = day.year, f.month = day.month, f.day = day.day;
        f.hour = now.hour, f.minute = now.minute;
        f.alarm = qBound(0, ReadSettingInt(REG_AlarmTime), 360);
        f.lastYear = today.year, f.lastMonth = today.month, f.lastDay = today.day;
        f.url = kHttp;
        showFields(f);
        ui->spinDaySpan->setValue(1);
    } else {
        showFields(fields_);
    }
    ui->cmdNew->setVisible(!adding);
    applyLoopEnabling();
    applyAllDayEnabling();
    updateLoopText();
    updateAlarmText();
    Timer1Timer();
    // A user double-clicks a day, types and presses Enter.
    ui->txtName->setFocus();
}

void ScheduleEditor::showFields(const ScheduleFields& f)
{
    ui->dtDate->setDate(QDate(f.year, f.month, f.day));
    ui->spinHH->setValue(f.hour);
    ui->spinNN->setValue(f.minute);
    ui->spinAlarm->setValue(f.alarm);
    // The repetition before the flag: turning the flag off resets it.
    QRadioButton* kind = ui->rdoDay;
    int monthKind = -1;
    if (f.kind == kKindWeekly)
        kind = ui->rdoWeek;
    else if (f.kind == kKindFortnightly)
        kind = ui->rdoTwoWeeks;
    else if (f.kind == kKindYearly)
        kind = ui->rdoYear;
    else if (f.kind == kKindMonthly)
        kind = ui->rdoMonth;
    else if (IsMonthEndKind(f.kind)) {
        kind = ui->rdoMonth;
        monthKind = f.kind - kKindMonthEnd;
    } else if (f.kind >= kKindDaySpanUnit) {
        kind = ui->rdoDaySpan;
        ui->spinDaySpan->setValue(f.kind / kKindDaySpanUnit);
    }
    kind->setChecked(true);
    ui->chkMonthKind->setChecked(monthKind >= 0);
    ui->cmbMonthKind->setCurrentIndex(qMax(monthKind, 0));
    ui->dtEnd->setDate(QDate(f.lastYear, f.lastMonth, f.lastDay));
    {
        const QSignalBlocker quiet(ui->chkLoop); // showing is no reset
        ui->chkLoop->setChecked(f.repeat == 1);
    }
    ui->txtName->setText(f.text);
    ui->chkURL->setChecked(f.urlFlag == 1);
    ui->txtURL->setText(f.url);
    ui->chkAllDay->setChecked(f.allDay);
}

void ScheduleEditor::applyLoopEnabling()
{
    const bool on = ui->chkLoop->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->rdoDay, ui->rdoWeek, ui->rdoTwoWeeks, ui->rdoMonth, ui->rdoYear, ui->rdoDaySpan,
             ui->Button10, ui->Button11, ui->Button12, ui->Label9, ui->dtEnd, ui->lblLoop})
        w->setEnabled(on);
    const bool month = on && ui->rdoMonth->isChecked();
    ui->chkMonthKind->setEnabled(month);
    ui->cmbMonthKind->setEnabled(month);
    const bool span = on && ui->rdoDaySpan->isChecked();
    ui->spinDaySpan->setEnabled(span);
    ui->Label12->setEnabled(span);
}

void ScheduleEditor::applyAllDayEnabling()
{
    const bool timed = !ui->chkAllDay->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->lblTime,      ui->spinHH,  ui->lblHour,  ui->spinNN,    ui->lblMinute,
             ui->lblArrow,     ui->Button9, ui->Button1,  ui->Button2,   ui->Button3,
             ui->Button4,      ui->Button5, ui->lblAlarm, ui->spinAlarm, ui->lblAlarmText,
             ui->lblAlarmTime, ui->chkURL,  ui->lblURL,   ui->txtURL,    ui->cmdURL})
        w->setEnabled(timed);
}

void ScheduleEditor::resetRepetition()
{
    ui->rdoDay->setChecked(true);
    ui->dtEnd->setDate(ui->dtDate->date());
    ui->chkMonthKind->setChecked(false);
    ui->cmbMonthKind->setCurrentIndex(0);
}

Repetition ScheduleEditor::repetition() const
{
    if (ui->rdoWeek->isChecked())
        return Repetition::Weekly;
    if (ui->rdoTwoWeeks->isChecked())
        return Repetition::Fortnightly;
    if (ui->rdoMonth->isChecked())
        return Repetition::Monthly;
    if (ui->rdoYear->isChecked())
        return Repetition::Yearly;
    if (ui->rdoDaySpan->isChecked())
        return Repetition::DaySpan;
    return Repetition::Daily;
}

void ScheduleEditor::updateLoopText()
{
    if (!ui->chkLoop->isChecked())
        return; // keeps its last text
    ui->lblLoop->setText(RepeatCountText(FromQDate(ui->dtDate->date()),
                                         FromQDate(ui->dtEnd->date()), repetition(),
                                         ui->spinDaySpan->value()));
}

void ScheduleEditor::updateAlarmText()
{
    const int alarm = ui->spinAlarm->value();
    if (alarm == 0) {
        ui->lblAlarmTime->clear();
        return;
    }
    DateTime day = FromQDate(ui->dtDate->date());
    int minutes = ui->spinHH->value() * 60 + ui->spinNN->value() - alarm;
    while (minutes < 0) { // on the day before
        minutes += 1440;
        day -= 1;
    }
    const DateTime moment = day + EncodeTime(minutes / 60, minutes % 60);
    ui->lblAlarmTime->setText(QStringLiteral("→ ") +
                              RenderDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), moment) +
                              QStringLiteral(" に警告表示"));
}

void ScheduleEditor::Timer1Timer()
{
    if (App().timersQuiet)
        return;
    setWindowTitle(baseCaption_ + QStringLiteral(" [現在：") +
                   RenderDateTime(QStringLiteral("yyyy/mm/dd(aaa) hh:nn:ss"), Now()) +
                   QStringLiteral("]"));
}

ScheduleFields ScheduleEditor::values() const
{
    ScheduleFields f;
    const QDate start = ui->dtDate->date();
    f.year = start.year(), f.month = start.month(), f.day = start.day();
    f.hour = ui->spinHH->value();
    f.minute = ui->spinNN->value();
    f.alarm = ui->spinAlarm->value();
    f.repeat = ui->chkLoop->isChecked() ? 1 : 0;
    const QDate last = f.repeat ? ui->dtEnd->date() : start;
    f.lastYear = last.year(), f.lastMonth = last.month(), f.lastDay = last.day();
    switch (repetition()) {
    case Repetition::Daily: f.kind = kKindDaily; break;
    case Repetition::Weekly: f.kind = kKindWeekly; break;
    case Repetition::Fortnightly: f.kind = kKindFortnightly; break;
    case Repetition::Yearly: f.kind = kKindYearly; break;
    case Repetition::DaySpan: f.kind = ui->spinDaySpan->value() * kKindDaySpanUnit; break;
    case Repetition::Monthly:
        if (!ui->chkMonthKind->isChecked())
            f.kind = kKindMonthly;
        else
            f.kind = kKindMonthEnd + qBound(0, ui->cmbMonthKind->currentIndex(), 2);
        break;
    }
    f.allDay = ui->chkAllDay->isChecked();
    f.text = ui->txtName->text().trimmed();
    f.urlFlag = ui->chkURL->isChecked() ? 1 : 0;
    f.url = ui->txtURL->text().trimmed();
    return f;
}

void ScheduleEditor::commitNumbers()
{
    for (NumberBox* s : {ui->spinHH, ui->spinNN, ui->spinAlarm, ui->spinDaySpan})
        s->commitText();
}

void ScheduleEditor::cmdAddClick()
{
    commitNumbers();
    if (ui->chkAllDay->isChecked()) {
        ui->spinHH->setValue(0);
        ui->spinNN->setValue(0);
        ui->spinAlarm->setValue(0);
        ui->chkURL->setChecked(false);
    }
    if (ui->txtName->text().trimmed().isEmpty()) {
        Ask(BoxKind::Plain, QStringLiteral("内容を入力してください。"), BoxButtons::Ok);
        ui->txtName->setFocus();
        return;
    }
    const QString url = ui->txtURL->text().trimmed();
    if (ui->chkURL->isChecked() && (url.isEmpty() || url == kHttp)) {
        Ask(BoxKind::Plain, QStringLiteral("URLを入力してください。"), BoxButtons::Ok);
        ui->txtURL->setFocus();
        return;
    }
    // An all-day schedule opens no address (the box is off and disabled),
    // so it is not asked about one.
    if (!ui->chkAllDay->isChecked() && !ui->chkURL->isChecked() && url.size() > kHttp.size() &&
        url.startsWith(kHttp) &&
        Ask(BoxKind::Confirmation, QStringLiteral("指定時刻にブラウザ起動をしますか？"),
            BoxButtons::YesNo) == BoxAnswer::Yes)
        ui->chkURL->setChecked(true);
    if (url == kHttp)
        ui->txtURL->clear();

    const ScheduleFields f = values();
    if (mode_ == Mode::List) {
        if (listStore_)
            listStore_(true, position_, f);
    } else if (calendarStore_) {
        calendarStore_->SetScheduleFile(SchedulePath());
        const QString path = SchedulePath();
        const LoadReport report = calendarStore_->AppendSchedule(
            f, [&path](const QString& target) { return AskWriteThroughLink(path, target); });
        if (calendarChanged_)
            calendarChanged_();
        ShowLoadReport(report, this);
    }
    accept();
}

void ScheduleEditor::cmdNewClick()
{
    position_ = -1; // a further schedule; the edited one stays as it was
    cmdAddClick();
}

void ScheduleEditor::cmdURLClick()
{
    const QString url = ui->txtURL->text().trimmed();
    if (!url.isEmpty())
        CurrentPlatform().desktop->openUrl(url);
}

} // namespace vn
