#include "toolicons.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QResource>

namespace vn {

namespace {
constexpr QRgb kBlue = 0xFF3C6EC8;
constexpr QRgb kGreen = 0xFF329650;
constexpr QRgb kOrange = 0xFFDC821E;
constexpr QRgb kGrey = 0xFF787882;
constexpr QRgb kRed = 0xFFC83C3C;

const ToolIcon kIcons[] = {
    {"ToolButton1", u"設", kGrey},    {"ToolButton26", u"上", kBlue},
    {"ToolButton29", u"印", kGrey},   {"ToolButton30", u"検", kBlue},
    {"ToolButton3", u"暦", kGreen},   {"ToolButton2", u"電", kGrey},
    {"ToolButton28", u"吹", kOrange}, {"ToolButton31", u"削", kRed},
    {"restore", u"復", kGreen},       {"ToolButton4", u"参", kGreen},
    {"ToolButton6", u"①", kBlue},     {"ToolButton7", u"②", kBlue},
    {"ToolButton8", u"③", kBlue},     {"ToolButton9", u"④", kBlue},
    {"ToolButton10", u"⑤", kBlue},    {"ToolButton11", u"⑥", kBlue},
    {"ToolButton12", u"⑦", kBlue},    {"ToolButton13", u"⑧", kBlue},
    {"ToolButton14", u"⑨", kBlue},    {"ToolButton15", u"⑩", kBlue},
    {"ToolButton18", u"実", kOrange}, {"ToolButton17", u"?", kGrey},
};
} // namespace

const ToolIcon* ToolIcons(int* count)
{
    *count = int(std::size(kIcons));
    return kIcons;
}

QImage PaintToolIcon(const ToolIcon& icon, int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    const QColor tint = QColor::fromRgb(icon.tint);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(tint.darker(140));
    p.setBrush(tint.lighter(185));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
    QFont f(QStringLiteral("IPAPGothic"));
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(size * 3 / 4);
    f.setBold(true);
    p.setFont(f);
    p.setPen(tint.darker(170));
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::fromUtf16(icon.glyph));
    p.end();
    return img;
}

namespace {
// A compiled-in tile: its pixels used where they lie, without a copy or a
// decoder. Null when missing or not as the build step wrote it.
QImage StoredTile(const char* name, int size)
{
    const QResource tile(QStringLiteral(":/icons/%1_%2.argb").arg(QLatin1String(name)).arg(size));
    if (!tile.isValid() || tile.compressionAlgorithm() != QResource::NoCompression ||
        tile.size() != qint64(size) * size * 4)
        return {};
    return QImage(tile.data(), size, size, QImage::Format_ARGB32_Premultiplied);
}
} // namespace

QIcon ToolIconNamed(const char* name)
{
    QIcon icon;
    for (int size : {16, 32}) {
        const QImage tile = StoredTile(name, size);
        if (!tile.isNull())
            icon.addPixmap(QPixmap::fromImage(tile));
    }
    return icon;
}

} // namespace vn
