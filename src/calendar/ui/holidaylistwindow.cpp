#include "holidaylistwindow.h"

#include "widgets/shelldialog.h"

namespace vn {

HolidayListWindow::HolidayListWindow(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmHolidayList", QStringLiteral("休日一覧"), {480, 360});
}

} // namespace vn
