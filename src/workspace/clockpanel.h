#pragma once
// The clock panel `pnlTime` with its two stamp buttons and its menu.
#include <QFrame>

class QLabel;
class QMenu;
class QToolButton;

namespace vn {

class ClockPanel : public QFrame {
    Q_OBJECT
public:
    explicit ClockPanel(QWidget* parent = nullptr);
    void setTimeText(const QString& text);
    QString timeText() const;

signals:
    void stampAtCaret(); // "|" and "カーソル位置に現在の日時を挿入"
    void stampAtEnd();   // "＿" and "最下行に現在の日時を挿入"
    void copyDateTime(); // "クリップボードへ日時をコピー"

private:
    QLabel* caption_;
    QMenu* menu_;
};

} // namespace vn
