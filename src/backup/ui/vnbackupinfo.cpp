#include "vnbackupinfo.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmBackUpInfo::TfrmBackUpInfo(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmBackUpInfo", QStringLiteral("データ・バックアップの補足説明"),
                         {480, 320});
}

} // namespace vn
