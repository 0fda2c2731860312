#include "widgets/shelldialog.h"

#include "widgets/colorref.h"

#include <QGuiApplication>
#include <QScreen>

namespace vn {

void SetSecondaryWindowFont(QWidget* window)
{
    // The installed face "ＭＳ Ｐゴシック" stands for, as the main window
    // names it: the font the main window loaded serves the windows too.
    QFont f(DrawnFace(UiFace()));
    f.setPixelSize(12);
    window->setFont(f);
}

void SetUpSecondaryWindow(QDialog* dialog, const char* objectName, const QString& caption,
                          QSize designSize)
{
    dialog->setObjectName(QLatin1String(objectName));
    dialog->setWindowTitle(caption);
    dialog->setModal(true);
    dialog->resize(designSize);
    SetSecondaryWindowFont(dialog); // nothing to do when it was set before the children
}

} // namespace vn

namespace vn {

void CentreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2) +
                 (window->pos() - frame.topLeft()));
}

} // namespace vn
