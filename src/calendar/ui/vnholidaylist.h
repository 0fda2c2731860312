#pragma once
#include <QDialog>

namespace vn {

// "休日一覧"
class TfrmHolidayList : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHolidayList(QWidget* parent = nullptr);
};

} // namespace vn
