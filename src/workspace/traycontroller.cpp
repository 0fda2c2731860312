#include "traycontroller.h"

#include "foundation/appstate.h"
#include "foundation/clock.h"
#include "foundation/textcodec.h"
#include "mainwindow.h"
#include "platform/platform.h"
#include "widgets/uiprompts.h"

#include <QCoreApplication>
#include <QMenu>

namespace vn {

TrayController::TrayController(MainWindow* main) : QObject(main), main_(main)
{
    menu_ = new QMenu(main);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    showHide_ = menu_->addAction(gesture_.menuCaption(false));
    showHide_->setObjectName(QStringLiteral("N1"));
    menu_->addSeparator();
    QAction* exit = menu_->addAction(QStringLiteral("終了(&X)"));
    exit->setObjectName(QStringLiteral("N3"));
    connect(menu_, &QMenu::aboutToShow, this,
            [this] { showHide_->setText(gesture_.menuCaption(main_->isVisible())); });
    connect(showHide_, &QAction::triggered, main_, &MainWindow::ToggleMainWindow);
    connect(exit, &QAction::triggered, this, &TrayController::exitProgram);

    Platform& p = CurrentPlatform();
    p.tray->setContextMenu(menu_);
    p.tray->setToolTip(QStringLiteral("Velnote"));
    connect(p.tray.get(), &TrayIcon::clicked, main_, &MainWindow::ShowMainWindow);
    connect(p.tray.get(), &TrayIcon::doubleClicked, main_, &MainWindow::ShowMainWindow);
    connect(p.hotKey.get(), &HotKeySource::pressed, this, &TrayController::onKeyPressed);
    p.tray->show();
}

void TrayController::registerGesture(int kind, int intervalSeconds)
{
    gesture_.setKind(kind);
    gesture_.setIntervalSeconds(intervalSeconds);
    gesture_.reset();
    HotKeySource& hk = *CurrentPlatform().hotKey;
    hk.unregisterKey();
    hk.registerKey(HotKeyForKind(gesture_.kind()));
}

void TrayController::onKeyPressed()
{
    if (gesture_.press(Now()))
        main_->ToggleMainWindow();
}

void TrayController::exitProgram()
{
    App().exitRequested = true;
    if (main_->close())
        return;
    // A save failed and was told: the user is asked once and may end all
    // the same.
    if (Ask(BoxKind::Confirmation,
            QStringLiteral("保存できなかった内容があります。保存せずに終了しますか？\r\n"
                           "（「いいえ」では終了せずに戻ります）"),
            BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    App().timersQuiet = true;
    QCoreApplication::exit(0); // not quit(): the window would be asked to close again
}

bool ShowBalloonTip(const QString& title, const QString& text, int iconKind, int seconds)
{
    TrayIcon& tray = *CurrentPlatform().tray;
    tray.hideBalloon();
    return tray.showBalloon(SjisLeft(title, 63), SjisLeft(text, 255), iconKind, seconds);
}

void SetTrayTip(const QString& text)
{
    CurrentPlatform().tray->setToolTip(SjisLeft(text, 127));
}

} // namespace vn
