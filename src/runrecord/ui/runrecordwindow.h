#pragma once
#include <QDialog>

namespace vn {

// "PC起動実績"
class RunRecordWindow : public QDialog {
    Q_OBJECT
public:
    explicit RunRecordWindow(QWidget* parent = nullptr);
};

} // namespace vn
