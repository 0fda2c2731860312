#pragma once
// The main toolbar: every button with its hint, in order.
#include <QHash>
#include <QString>
#include <QToolBar>

class QToolButton;

namespace vn {

class MainToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit MainToolBar(QWidget* parent = nullptr);
    // "ToolButton1" ... "ToolButton31"
    QToolButton* button(const QString& name) const { return buttons_.value(name); }
    // Shows or hides a button: a toolbar shows its buttons through their
    // actions (hiding the button itself lasts only until the next layout).
    void setButtonVisible(const QString& name, bool visible);

private:
    QToolButton* add(const char* name, const QString& hint, bool checkable = false,
                     bool pressed = false);
    QHash<QString, QToolButton*> buttons_;
    QHash<QString, QAction*> actions_;
};

} // namespace vn
