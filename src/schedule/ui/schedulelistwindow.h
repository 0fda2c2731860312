#pragma once
#include <QDialog>

namespace vn {

// "予定一覧"
class ScheduleListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ScheduleListWindow(QWidget* parent = nullptr);
};

} // namespace vn
