#include "runrecordwindow.h"

#include "widgets/shelldialog.h"

namespace vn {

RunRecordWindow::RunRecordWindow(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmDateTime", QStringLiteral("PC起動実績"), {640, 420});
}

} // namespace vn
