#pragma once
#include <QDialog>

namespace vn {

// "バルーンヒント"
class TfrmBalloonHint : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBalloonHint(QWidget* parent = nullptr);
};

} // namespace vn
