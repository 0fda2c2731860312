#pragma once
#include <QDialog>

namespace vn {

// "データ・バックアップの補足説明"
class BackUpInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit BackUpInfoDialog(QWidget* parent = nullptr);
};

} // namespace vn
