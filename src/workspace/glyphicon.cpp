#include "glyphicon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace vn {

QIcon GlyphIcon(const QString& glyph, const QColor& tint)
{
    QIcon icon;
    for (int size : {16}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(tint.darker(140));
        p.setBrush(tint.lighter(185));
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
        f.setPixelSize(glyph.size() > 1 ? size * 9 / 20 : size * 3 / 4);
        f.setBold(true);
        p.setFont(f);
        p.setPen(tint.darker(170));
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace vn
