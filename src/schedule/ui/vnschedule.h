#pragma once
#include <QDialog>

namespace vn {

// "予定"
class TfrmSchedule : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSchedule(QWidget* parent = nullptr);
};

} // namespace vn
