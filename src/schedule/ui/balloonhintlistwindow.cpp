#include "balloonhintlistwindow.h"

#include "widgets/shelldialog.h"

namespace vn {

BalloonHintListWindow::BalloonHintListWindow(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(
        this, "TfrmBalloonHintList",
        QStringLiteral("バルーンヒント一覧　(毎日、決まった時間にメッセージ？を表示）"),
        {560, 360});
}

} // namespace vn
