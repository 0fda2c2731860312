#pragma once
// The tray icon with its menu, and the show/hide key.
#include "showhidegesture.h"

#include <QObject>

class QMenu;
class QAction;

namespace vn {

class MainWindow;

class TrayController : public QObject {
    Q_OBJECT
public:
    explicit TrayController(MainWindow* main);

    // Registers the key of a show/hide kind (again when the kind changes).
    void registerGesture(int kind, int intervalSeconds);
    ShowHideGesture& gesture() { return gesture_; }
    void onKeyPressed();
    void exitProgram(); // "終了(&X)"
    QMenu* menu() const { return menu_; }

private:
    MainWindow* main_;
    ShowHideGesture gesture_;
    QMenu* menu_;
    QAction* showHide_;
};

// Balloon tips at the tray icon: the title is cut to 63 and the text to 255
// Shift-JIS bytes, never in the middle of a character.
bool ShowBalloonTip(const QString& title, const QString& text, int iconKind, int seconds);
void SetTrayTip(const QString& text);

} // namespace vn
