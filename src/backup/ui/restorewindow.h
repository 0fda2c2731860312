#pragma once
#include <QDialog>

namespace vn {

// "バックアップされたメモ情報からの復元"
class RestoreWindow : public QDialog {
    Q_OBJECT
public:
    explicit RestoreWindow(QWidget* parent = nullptr);
};

} // namespace vn
