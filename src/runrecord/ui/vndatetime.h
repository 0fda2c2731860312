#pragma once
#include <QDialog>

namespace vn {

// "PC起動実績"
class TfrmDateTime : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDateTime(QWidget* parent = nullptr);
};

} // namespace vn
