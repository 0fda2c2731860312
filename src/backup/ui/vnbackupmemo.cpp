#include "vnbackupmemo.h"

#include "workspace/shelldialog.h"

namespace vn {

TfrmBackUpMemo::TfrmBackUpMemo(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmBackUpMemo",
                         QStringLiteral("バックアップされたメモ情報からの復元"), {640, 440});
}

} // namespace vn
