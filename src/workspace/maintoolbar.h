#pragma once
// The main toolbar: every button with its hint, in order.
#include <QToolBar>

#include <array>

class QAction;
class QToolButton;

namespace vn {

class MainToolBar : public QToolBar {
    Q_OBJECT
public:
    // The buttons, in their order on the bar (the object names follow).
    enum class Command {
        Settings,     // ToolButton1 "環境設定..."
        AlwaysOnTop,  // ToolButton26
        Print,        // ToolButton29
        Search,       // ToolButton30
        Calendar,     // ToolButton3, pressed while the calendar shows
        Calculator,   // ToolButton2
        BalloonHints, // ToolButton28
        DeletePage,   // ToolButton31 (restores a deleted page)
        Reference,    // ToolButton4, pressed while the reference area shows
        Reference1,   // ToolButton6 ... ToolButton15: the ten reference files
        Reference10 = Reference1 + 9,
        RunRecord, // ToolButton18 "PC起動実績..."
        Help,      // ToolButton17
        Count
    };
    static constexpr int kReferenceButtons =
        int(Command::Reference10) - int(Command::Reference1) + 1;

    explicit MainToolBar(QWidget* parent = nullptr);
    QToolButton* button(Command c) const { return buttons_[size_t(c)]; }
    // The button of reference file i (0 to 9).
    QToolButton* referenceButton(int i) const { return button(referenceCommand(i)); }
    // Shows or hides a reference file's button: a toolbar shows its buttons
    // through their actions (hiding the button itself lasts only until the
    // next layout).
    void setReferenceButtonVisible(int i, bool visible);

private:
    static Command referenceCommand(int i) { return Command(int(Command::Reference1) + i); }
    void add(Command c, const char* name, const QString& hint, bool checkable = false,
             bool pressed = false);
    std::array<QToolButton*, size_t(Command::Count)> buttons_{};
    std::array<QAction*, size_t(Command::Count)> actions_{};
};

} // namespace vn
