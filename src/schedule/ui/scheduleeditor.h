#pragma once
#include <QDialog>

namespace vn {

// "予定"
class ScheduleEditor : public QDialog {
    Q_OBJECT
public:
    explicit ScheduleEditor(QWidget* parent = nullptr);
};

} // namespace vn
