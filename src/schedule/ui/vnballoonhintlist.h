#pragma once
#include <QDialog>

namespace vn {

// "バルーンヒント一覧　(毎日、決まった時間にメッセージ？を表示）"
class TfrmBalloonHintList : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBalloonHintList(QWidget* parent = nullptr);
};

} // namespace vn
