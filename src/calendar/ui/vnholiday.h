#pragma once
#include <QDialog>

namespace vn {

// "休日"
class TfrmHoliday : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHoliday(QWidget* parent = nullptr);
};

} // namespace vn
