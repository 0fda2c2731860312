#include "vnballoonhint.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmBalloonHint::TfrmBalloonHint(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmBalloonHint", QStringLiteral("バルーンヒント"), {400, 220});
}

} // namespace vn
