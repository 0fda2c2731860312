#include "perioddialog.h"

#include "widgets/shelldialog.h"

namespace vn {

PeriodDialog::PeriodDialog(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmTerm", QStringLiteral("表示期間"), {300, 160});
}

} // namespace vn
