#include "backupinfodialog.h"

#include "widgets/shelldialog.h"

namespace vn {

BackUpInfoDialog::BackUpInfoDialog(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmBackUpInfo", QStringLiteral("データ・バックアップの補足説明"),
                         {480, 320});
}

} // namespace vn
