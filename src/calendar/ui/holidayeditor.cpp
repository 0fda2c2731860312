#include "holidayeditor.h"

#include "widgets/shelldialog.h"

namespace vn {

HolidayEditor::HolidayEditor(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmHoliday", QStringLiteral("休日"), {360, 200});
}

} // namespace vn
