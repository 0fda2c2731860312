#include "settingsdialog.h"

#include "widgets/shelldialog.h"

namespace vn {

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmEnv", QStringLiteral("環境設定"), {560, 440});
}

} // namespace vn
