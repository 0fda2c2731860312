#pragma once
// The notification-area icon.
#include <QObject>
#include <QString>

class QMenu;

namespace vn {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void show() = 0;
    virtual void setToolTip(const QString& text) = 0;
    virtual void setContextMenu(QMenu* menu) = 0;
    // Icon kind: 0 none, 1 information, 2 warning, 3 error. The title and
    // text arrive already cut to their byte limits. False when refused.
    virtual bool showBalloon(const QString& title, const QString& text, int iconKind,
                             int seconds) = 0;
    virtual void hideBalloon() = 0;

signals:
    void clicked();
    void doubleClicked();
};

} // namespace vn
