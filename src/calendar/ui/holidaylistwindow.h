#pragma once
#include <QDialog>

namespace vn {

// "休日一覧"
class HolidayListWindow : public QDialog {
    Q_OBJECT
public:
    explicit HolidayListWindow(QWidget* parent = nullptr);
};

} // namespace vn
