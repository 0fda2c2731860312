#include "balloonhinteditor.h"

#include "widgets/shelldialog.h"

namespace vn {

BalloonHintEditor::BalloonHintEditor(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmBalloonHint", QStringLiteral("バルーンヒント"), {400, 220});
}

} // namespace vn
