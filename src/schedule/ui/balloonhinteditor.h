#pragma once
#include <QDialog>

namespace vn {

// "バルーンヒント"
class BalloonHintEditor : public QDialog {
    Q_OBJECT
public:
    explicit BalloonHintEditor(QWidget* parent = nullptr);
};

} // namespace vn
