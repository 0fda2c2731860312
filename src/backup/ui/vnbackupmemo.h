#pragma once
#include <QDialog>

namespace vn {

// "バックアップされたメモ情報からの復元"
class TfrmBackUpMemo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackUpMemo(QWidget* parent = nullptr);
};

} // namespace vn
