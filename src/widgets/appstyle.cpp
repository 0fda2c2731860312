#include "appstyle.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>
#include <QWidget>

namespace vn {

namespace {

// The tool bar's overflow button: a double chevron pointing along the bar.
QIcon ExtensionIcon(bool horizontal, const QColor& ink)
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink, size / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (!horizontal) { // pointing down
            p.translate(size, 0);
            p.rotate(90);
        }
        const double s = size / 16.0;
        for (double x : {4.0, 8.5})
            p.drawPolyline(QPolygonF(
                {QPointF(x * s, 4 * s), QPointF((x + 3) * s, 8 * s), QPointF(x * s, 12 * s)}));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

AppStyle::AppStyle() : QProxyStyle(QApplication::style()->name()) {}

QIcon AppStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                             const QWidget* widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton ||
        which == SP_ToolBarVerticalExtensionButton) {
        const QPalette pal = option   ? option->palette
                             : widget ? widget->palette()
                                      : standardPalette();
        return ExtensionIcon(which == SP_ToolBarHorizontalExtensionButton,
                             pal.color(QPalette::ButtonText));
    }
    return QProxyStyle::standardIcon(which, option, widget);
}

} // namespace vn
