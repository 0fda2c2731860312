#include "vnschedule.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmSchedule::TfrmSchedule(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmSchedule", QStringLiteral("予定"), {420, 360});
}

} // namespace vn
