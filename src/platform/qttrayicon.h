#pragma once
// The notification-area icon over QSystemTrayIcon.
#include "trayicon.h"

#include <QSystemTrayIcon>
#include <memory>

namespace vn {

// The balloon icon for an icon kind: 0 none, 1 information, 2 warning,
// 3 error; other kinds show no icon.
QSystemTrayIcon::MessageIcon BalloonIconForKind(int iconKind);

class QtTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject* parent = nullptr);
    ~QtTrayIcon() override;

    void show() override;
    void setToolTip(const QString& text) override;
    void setContextMenu(QMenu* menu) override;
    bool showBalloon(const QString& title, const QString& text, int iconKind, int seconds) override;
    void hideBalloon() override;

    QSystemTrayIcon* systemTrayIcon() const { return icon_.get(); }

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    bool balloonShown_ = false;
};

} // namespace vn
