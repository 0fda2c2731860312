#pragma once
// "表示期間": the first and last day the run-record window lists.
#include "runrecord/runperiod.h"

#include <QDialog>
#include <array>
#include <memory>

class QDateEdit;

namespace Ui {
class PeriodDialog;
}

namespace vn {

class CalendarDays;
class DatePopup;

class PeriodDialog : public QDialog {
    Q_OBJECT
public:
    explicit PeriodDialog(QWidget* parent = nullptr);
    ~PeriodDialog() override;

    // The period shown when the dialog opens and, after "設定", the one chosen
    // (also stored in the settings).
    void setPeriod(const RunPeriod& period) { period_ = period; }
    const RunPeriod& period() const { return period_; }
    // The holidays and colours the pickers' drop-down calendars mark.
    void setCalendarDays(const CalendarDays* days);

    QDateEdit* startPicker() const;
    QDateEdit* endPicker() const;
    QString statusText() const;

    void cmdOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    RunPeriod chosen() const;
    void updateStatus();

    std::unique_ptr<Ui::PeriodDialog> ui;
    RunPeriod period_;
    std::array<DatePopup*, 2> datePopups_{};
};

} // namespace vn
