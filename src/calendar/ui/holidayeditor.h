#pragma once
#include <QDialog>

namespace vn {

// "休日"
class HolidayEditor : public QDialog {
    Q_OBJECT
public:
    explicit HolidayEditor(QWidget* parent = nullptr);
};

} // namespace vn
