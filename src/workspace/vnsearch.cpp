#include "vnsearch.h"

#include "appstate.h"
#include "shelldialog.h"

namespace vn {

TfrmSearch::TfrmSearch(QWidget* parent) : QDialog(parent)
{
    SetUpSecondaryWindow(this, "TfrmSearch", QStringLiteral("文字列検索"), {380, 120});
    App().timersQuiet = false;
}

} // namespace vn
