#pragma once
// The calendar panel `Panel6`: its toolbar, the calendar and the diary pane.
#include <QFrame>
#include <QHash>

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QToolButton;

namespace vn {

class CalendarPanel : public QFrame {
    Q_OBJECT
public:
    explicit CalendarPanel(QWidget* parent = nullptr);
    QToolButton* button(const QString& name) const { return buttons_.value(name); }
    QSplitter* diarySplitter() const { return splitter_; }
    QPlainTextEdit* diaryMemo() const { return memoDiary_; }
    QWidget* diaryPane() const { return diary_; }
    void setDiaryHeight(int height);
    int diaryHeight() const;

private:
    QHash<QString, QToolButton*> buttons_;
    QSplitter* splitter_;
    QLabel* diaryTitle_;
    QWidget* diary_;
    QPlainTextEdit* memoDiary_;
};

} // namespace vn
