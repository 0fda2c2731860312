#include "vnholiday.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmHoliday::TfrmHoliday(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmHoliday", QStringLiteral("休日"), {360, 200});
}

} // namespace vn
