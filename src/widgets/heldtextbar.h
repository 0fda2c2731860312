#pragma once
// The line above an editor whose file cannot be shown as it is: why, and,
// where the user may choose it, a button to make the text editable.
#include <QFrame>

class QLabel;
class QPushButton;

namespace vn {

class HeldTextBar : public QFrame {
    Q_OBJECT
public:
    explicit HeldTextBar(QWidget* parent = nullptr);
    // Shown with the text, or hidden when it is empty.
    void showNotice(const QString& text, bool offerEdit);
    QString notice() const;
    QPushButton* editButton() const { return edit_; }

signals:
    void editRequested();

private:
    QLabel* label_;
    QPushButton* edit_;
};

} // namespace vn
