#include "vnenv.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmEnv::TfrmEnv(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmEnv", QStringLiteral("環境設定"), {560, 440});
}

} // namespace vn
