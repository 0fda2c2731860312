#pragma once
#include <QDialog>

namespace vn {

// "予定一覧"
class TfrmScheduleList : public QDialog {
    Q_OBJECT
public:
    explicit TfrmScheduleList(QWidget* parent = nullptr);
};

} // namespace vn
