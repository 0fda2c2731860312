#include "centredwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vn {

void CentreOnScreen(QWidget* window)
{
    const QScreen* s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect frame = window->frameGeometry();
    window->move(s->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

} // namespace vn
