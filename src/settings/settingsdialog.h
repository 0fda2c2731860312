#pragma once
#include <QDialog>

namespace vn {

// "環境設定"
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent = nullptr);
};

} // namespace vn
