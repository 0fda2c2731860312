#include "vnterm.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmTerm::TfrmTerm(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmTerm", QStringLiteral("表示期間"), {300, 160});
}

} // namespace vn
