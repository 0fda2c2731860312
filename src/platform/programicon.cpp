#include "programicon.h"

#include "memopadglyph.h"

#include <QPainter>

namespace vn {

QPixmap DrawMemoPadGlyph(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintMemoPad(p, size);
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(DrawMemoPadGlyph(size));
    return icon;
}

} // namespace vn
