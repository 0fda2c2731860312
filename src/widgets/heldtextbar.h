#pragma once
// The line above an editor whose file cannot be shown as it is: why, and,
// where the user may choose it, a button to make the text editable. In a
// narrow pane it shows a summary, the whole notice a click away.
#include <QFrame>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace vn {

class HeldTextBar : public QFrame {
    Q_OBJECT
public:
    explicit HeldTextBar(QWidget* parent = nullptr);
    // Summary under the notice, the button below it.
    void setCompact(bool compact);
    // Shown with the notice, or hidden when it is empty. A compact bar
    // shows the summary and a link to the whole notice.
    void showNotice(const QString& notice, bool offerEdit, const QString& summary = QString());
    QString notice() const { return isHidden() ? QString() : notice_; }
    QPushButton* editButton() const { return edit_; }

signals:
    void editRequested();

private:
    QBoxLayout* layout_;
    QLabel* label_;
    QPushButton* edit_;
    QString notice_;
    bool compact_ = false;
};

} // namespace vn
