#pragma once
#include <QDialog>

namespace vn {

// "環境設定"
class TfrmEnv : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEnv(QWidget* parent = nullptr);
};

} // namespace vn
