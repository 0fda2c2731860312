#pragma once
#include <QDialog>

namespace vn {

// "表示期間"
class TfrmTerm : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTerm(QWidget* parent = nullptr);
};

} // namespace vn
