#include "memopadglyph.h"

#include <QPainter>
#include <QPolygonF>

namespace vn {

void PaintMemoPad(QPainter& p, double size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);

    // The sheet, with its lower right corner turned over.
    const QPolygonF sheet{{2.5, 2.5}, {13.5, 2.5}, {13.5, 10.5}, {10.5, 13.5}, {2.5, 13.5}};
    p.setPen(QPen(QColor(0x80, 0x60, 0x10), 1.0));
    p.setBrush(QColor(0xff, 0xe8, 0x6a));
    p.drawPolygon(sheet);
    p.setBrush(QColor(0xe0, 0xc0, 0x40));
    p.drawPolygon(QPolygonF{{13.5, 10.5}, {10.5, 10.5}, {10.5, 13.5}});

    // The glued top edge and the ruled lines.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd0, 0x40, 0x30));
    p.drawRect(QRectF(2.5, 2.5, 11.0, 2.0));
    p.setPen(QPen(QColor(0x70, 0x70, 0x90), 0.8));
    for (double y : {7.0, 9.0, 11.0})
        p.drawLine(QPointF(4.0, y), QPointF(y < 10.0 ? 12.0 : 9.5, y));
    p.restore();
}

} // namespace vn
