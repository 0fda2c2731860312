#pragma once
// The main toolbar: every button with its hint, in order.
//
// Each button is the toolbar's own button for a command action, so a window
// too narrow for the bar lists the buttons that do not fit in the bar's »
// menu, and the same actions make up the command menu that F10 opens (every
// command with a mnemonic, for the keyboard). The actions hold the state
// (pressed, hint, icon, shown); the buttons and menu items follow them.
#include <QToolBar>

#include <array>

class QAction;
class QMenu;
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
    // The command's action: connect to its triggered(), change its state.
    QAction* action(Command c) const { return actions_[size_t(c)]; }
    // The command's button on the bar (also while it is in the » menu).
    QToolButton* button(Command c) const;
    QAction* referenceAction(int i) const { return action(referenceCommand(i)); }
    // The button of reference file i (0 to 9).
    QToolButton* referenceButton(int i) const { return button(referenceCommand(i)); }
    // Shows or hides a reference file's button and menu item.
    void setReferenceButtonVisible(int i, bool visible);

    // Every command, for the keyboard: the reference files in a submenu.
    QMenu* commandMenu() const { return commandMenu_; }
    // Opens the command menu below the bar's left end, its first item
    // selected; the call returns at once.
    void popupCommandMenu();
    // The » button, shown while some buttons do not fit.
    QToolButton* overflowButton() const;

private:
    static Command referenceCommand(int i) { return Command(int(Command::Reference1) + i); }
    void add(Command c, const char* name, const QString& label, const QString& hint,
             bool checkable = false, bool pressed = false);
    void buildCommandMenu();
    std::array<QAction*, size_t(Command::Count)> actions_{};
    QMenu* commandMenu_ = nullptr;
    QMenu* referenceMenu_ = nullptr;
};

} // namespace vn
