#pragma once
#include <QDialog>

namespace vn {

// "バルーンヒント一覧　(毎日、決まった時間にメッセージ？を表示）"
class BalloonHintListWindow : public QDialog {
    Q_OBJECT
public:
    explicit BalloonHintListWindow(QWidget* parent = nullptr);
};

} // namespace vn
