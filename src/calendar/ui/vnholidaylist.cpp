#include "vnholidaylist.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmHolidayList::TfrmHolidayList(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmHolidayList", QStringLiteral("休日一覧"), {480, 360});
}

} // namespace vn
