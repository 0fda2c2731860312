#include "vnschedulelist.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmScheduleList::TfrmScheduleList(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmScheduleList", QStringLiteral("予定一覧"), {640, 400});
}

} // namespace vn
