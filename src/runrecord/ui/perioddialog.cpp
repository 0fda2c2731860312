#include "perioddialog.h"

#include "foundation/clock.h"
#include "ui_perioddialog.h"
#include "widgets/datepopup.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"

namespace vn {

namespace {

QDate dateOfDay(int dayNumber)
{
    return ToQDate(FromDayNumber(dayNumber));
}

int dayOfDate(const QDate& date)
{
    return DayNumber(FromQDate(date));
}

} // namespace

PeriodDialog::PeriodDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::PeriodDialog>())
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmTerm", QStringLiteral("表示期間"), {300, 160});
    setFixedSize(300, 160);
    // A fixed-size dialog: a title and a close button, nothing to maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // The drop-down calendars in Japanese, weeks from Sunday, holidays marked.
    datePopups_ = {new DatePopup(ui->DateTimePicker1), new DatePopup(ui->DateTimePicker2)};
    for (QDateEdit* picker : {ui->DateTimePicker1, ui->DateTimePicker2}) {
        picker->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        picker->setMinimumDate(QDate(1753, 1, 1));
        connect(picker, &QDateEdit::dateChanged, this, &PeriodDialog::updateStatus);
    }
    connect(ui->cmdOK, &QPushButton::clicked, this, &PeriodDialog::cmdOKClick);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

PeriodDialog::~PeriodDialog() = default;

void PeriodDialog::setCalendarDays(const CalendarDays* days)
{
    for (DatePopup* popup : datePopups_)
        popup->setDays(days);
}

QDateEdit* PeriodDialog::startPicker() const
{
    return ui->DateTimePicker1;
}

QDateEdit* PeriodDialog::endPicker() const
{
    return ui->DateTimePicker2;
}

QString PeriodDialog::statusText() const
{
    return ui->lblTerm->text();
}

void PeriodDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
    FormShow();
}

void PeriodDialog::FormShow()
{
    const QDate today = ToQDate(Today());
    ui->DateTimePicker1->setDate(period_.isSet() ? dateOfDay(period_.first) : today);
    ui->DateTimePicker2->setDate(period_.isSet() ? dateOfDay(period_.last) : today);
    updateStatus();
    ui->DateTimePicker1->setFocus();
}

RunPeriod PeriodDialog::chosen() const
{
    return {dayOfDate(ui->DateTimePicker1->date()), dayOfDate(ui->DateTimePicker2->date())};
}

void PeriodDialog::updateStatus()
{
    ui->lblTerm->setText(PeriodStatusText(chosen()));
}

void PeriodDialog::cmdOKClick()
{
    const RunPeriod p = chosen();
    const QString error = PeriodError(p, DayNumber(Today()));
    if (!error.isEmpty()) {
        Ask(BoxKind::Error, error, BoxButtons::Ok);
        return;
    }
    period_ = p;
    WriteRunPeriod(p);
    accept();
}

} // namespace vn
