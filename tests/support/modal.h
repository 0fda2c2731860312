#pragma once
// Acting inside modal dialogs: a test arranges what to do once a dialog is
// showing, then calls the operation that opens it.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vn::test {

// Runs act once the window is visible and the active modal window, from
// inside its event loop, once it is active. Gives up after ten seconds. A dialog that act left
// open (a check in it failed) is cancelled, so the test goes on.
inline void WhenShown(QWidget* window, std::function<void()> act)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<int>(0);
    QPointer<QWidget> target(window);
    QObject::connect(timer, &QTimer::timeout, [timer, target, act, started] {
        if (++*started > 2000 || !target) {
            timer->deleteLater();
            timer->stop();
            return;
        }
        if (target->isVisible() && QApplication::activeModalWidget() == target) {
            timer->stop();
            timer->deleteLater();
            QTest::qWaitForWindowActive(target); // focus moves only in the active window
            act();
            if (auto* dialog = qobject_cast<QDialog*>(target.data()); dialog && dialog->isVisible())
                dialog->reject();
        }
    });
    timer->start(5);
}

// Leaves a field as a Tab press does: its focus-out handling runs. Sent
// straight to the field, so it does not hang on the window being active (a
// loaded machine can be slow to activate it, and focus moves only there).
inline void LeaveField(QWidget* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

// Types text as key presses, also characters that have no key of their own
// (QTest's key clicks take ASCII only).
inline void TypeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace vn::test
