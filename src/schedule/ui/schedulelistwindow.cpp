#include "schedulelistwindow.h"

#include "widgets/shelldialog.h"

namespace vn {

ScheduleListWindow::ScheduleListWindow(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmScheduleList", QStringLiteral("予定一覧"), {640, 400});
}

} // namespace vn
