#pragma once
#include <QDialog>

namespace vn {

// "データ・バックアップの補足説明"
class TfrmBackUpInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackUpInfo(QWidget* parent = nullptr);
};

} // namespace vn
