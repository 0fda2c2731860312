#include "restorewindow.h"

#include "widgets/shelldialog.h"

namespace vn {

RestoreWindow::RestoreWindow(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmBackUpMemo",
                         QStringLiteral("バックアップされたメモ情報からの復元"), {640, 440});
}

} // namespace vn
