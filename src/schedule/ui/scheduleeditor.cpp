#include "scheduleeditor.h"

#include "widgets/shelldialog.h"

namespace vn {

ScheduleEditor::ScheduleEditor(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmSchedule", QStringLiteral("予定"), {420, 360});
}

} // namespace vn
