#include "vndatetime.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmDateTime::TfrmDateTime(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmDateTime", QStringLiteral("PC起動実績"), {640, 420});
}

} // namespace vn
