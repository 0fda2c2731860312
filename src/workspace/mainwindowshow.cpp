// The main window coming and going: showing, hiding (also when the window
// manager minimises it), always on top, and the saved window layout. The
// boxes and list windows open over it (modal) come and go with it.
#include "calendarpanel.h"
#include "foundation/appstate.h"
#include "foundation/settings.h"
#include "mainwindow.h"
#include "memopagesview.h"
#include "referencearea.h"
#include "widgets/composition.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QShowEvent>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace vn {

// The window fades in over 300 ms and out over 500 ms where the desktop
// can show translucent windows; elsewhere it simply appears and goes.
static bool animated()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen") &&
           !qEnvironmentVariableIsSet("VELNOTE_NO_ANIMATION");
}

// The modal windows open over the main window, the one taking input last.
static QList<QWidget*> openModalWindows(const QWidget* main)
{
    QList<QWidget*> windows;
    QWidget* active = QApplication::activeModalWidget();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != main && w != active && w->isModal() && w->isVisible())
            windows << w;
    if (active && active != main && active->isVisible())
        windows << active;
    return windows;
}

static bool modalWindowMinimised(const QWidget* main)
{
    for (QWidget* w : openModalWindows(main))
        if (w->isMinimized())
            return true;
    return false;
}

void MainWindow::ShowMainWindow()
{
    fade_->stop();
    // A window the window manager minimised comes back as it was.
    if (windowState() & Qt::WindowMinimized)
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (animated() && !isVisible()) {
        setWindowOpacity(0.0);
        fade_->setDuration(300);
        fade_->setStartValue(0.0);
        fade_->setEndValue(1.0);
        fade_->start();
    } else {
        setWindowOpacity(1.0);
    }
    show();
    raise();
    activateWindow();
    // The main window waits on them: they come back on top of it, as they
    // were, wherever they were minimised.
    for (QWidget* w : openModalWindows(this)) {
        if (w->isMinimized())
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void MainWindow::HideMainWindow()
{
    shown_ = false;
    fade_->stop();
    // A modal window goes away with the main window, minimised rather than
    // hidden: it still waits for its answer, which hiding would end.
    for (QWidget* w : openModalWindows(this))
        w->setWindowState(w->windowState() | Qt::WindowMinimized);
    if (!animated() || !isVisible()) {
        hide();
        return;
    }
    fade_->setDuration(500);
    fade_->setStartValue(windowOpacity());
    fade_->setEndValue(0.0);
    fade_->start();
}

// Every way of hiding the window comes here (the key, the tray, the close
// box, minimising, the end of the fade, the end of the program).
void MainWindow::setVisible(bool visible)
{
    if (!visible && isVisible())
        CommitComposition();
    QMainWindow::setVisible(visible);
}

void MainWindow::ToggleMainWindow()
{
    if (shown_ && !isMinimized() && !modalWindowMinimised(this))
        HideMainWindow();
    else
        ShowMainWindow();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Minimising puts the window away into the tray, like the close box:
    // every way of showing it (tray, tray menu, key gesture) brings it back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized())
                return;
            shown_ = false;
            fade_->stop();
            hide(); // at once: a minimised window has nothing to fade
            setWindowOpacity(1.0);
            // It stays minimised while hidden (un-minimising would map it);
            // ShowMainWindow brings it back to normal.
        });
}

void MainWindow::applyStayOnTop(bool on)
{
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    const Qt::WindowFlags flags =
        on ? windowFlags() | Qt::WindowStaysOnTopHint : windowFlags() & ~Qt::WindowStaysOnTopHint;
    if (QWindow* w = windowHandle(); w && isVisible()) {
        // Told to the window as it is: re-creating it would place it anew,
        // shifted by its frame.
        overrideWindowFlags(flags);
        w->setFlags(flags);
        return;
    }
    setWindowFlags(flags);
}

void MainWindow::RestoreWindowLayout()
{
    const int top = ReadSettingInt(REG_MainFrameTop);
    const int left = ReadSettingInt(REG_MainFrameLeft);
    if (top > 0 && left > 0) {
        move(left, top); // the frame's position
        resize(std::max(ReadSettingInt(REG_MainFrameWidth), 200),
               std::max(ReadSettingInt(REG_MainFrameHeight), 150));
    }
    const int calendarWidth = std::max(ReadSettingInt(REG_MainCalendarWidth), 100);
    const int total = std::max(body_->width(), width());
    body_->setSizes({std::max(total - calendarWidth, 100), calendarWidth});
    calendar_->setDiaryHeight(std::max(ReadSettingInt(REG_DiaryHeight), 100));
    refHeight_ = std::max(ReadSettingInt(REG_MainRefHeight), 0);
    QList<int> sizes = memoArea_->sizes();
    const int sum = std::max(sizes.value(0) + sizes.value(1), refHeight_ + 100);
    memoArea_->setSizes({sum - refHeight_, refHeight_, sizes.value(2)});
    startHidden_ = ReadSettingInt(REG_VnoteHide) == 1;
}

int MainWindow::referenceHeight()
{
    // A hidden reference area has no height of its own: the last one counts.
    if (reference_->isVisible())
        refHeight_ = memoArea_->sizes().value(1);
    return refHeight_;
}

void MainWindow::SaveWindowLayout()
{
    const QRect frame = frameGeometry();
    QList<QPair<int, int>> values = {
        {REG_MainFrameTop, frame.top()},
        {REG_MainFrameLeft, frame.left()},
        {REG_MainFrameHeight, height()},
        {REG_MainFrameWidth, width()},
        {REG_MainCalendarWidth, body_->sizes().value(1)},
        {REG_DiaryHeight, calendar_->diaryHeight()},
        {REG_MainRefHeight, referenceHeight()},
    };
    for (const auto& [id, v] : values)
        WriteSettingInt(id, v);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    shown_ = true;
    // The clock was paced for a hidden window: right again at once.
    if (timer1_->interval() != kClockTickMSecs) {
        if (!App().timersQuiet)
            Guarded([this] { tickClock(); }, this);
        armClock();
    }
    // Panes toggled without being saved return to their saved state.
    QToolButton* details = calendar_->detailsButton();
    QToolButton* diary = calendar_->diaryButton();
    details->setChecked(ReadSettingInt(REG_ShowScheduleDetailMain) == 1);
    diary->setChecked(ReadSettingInt(REG_ShowDiary) == 1);
    applyDetailPane(details->isChecked());
    applyDiaryPane(diary->isChecked());
    pages_->focusCurrentPage();
    emit pages_->pageStatusChanged(pages_->pageStatusText());
}

} // namespace vn
