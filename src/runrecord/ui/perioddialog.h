#pragma once
#include <QDialog>

namespace vn {

// "表示期間"
class PeriodDialog : public QDialog {
    Q_OBJECT
public:
    explicit PeriodDialog(QWidget* parent = nullptr);
};

} // namespace vn
