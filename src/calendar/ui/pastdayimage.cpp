#include "pastdayimage.h"

namespace vn {

namespace {
constexpr int kSize = 16;
}

void PastDayImage::set(const QImage& image)
{
    if (image.isNull()) {
        clear();
        return;
    }
    pristine_ = QImage(kSize, kSize, QImage::Format_RGB32);
    pristine_.fill(Qt::white);
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < kSize && y < src.height(); ++y)
        for (int x = 0; x < kSize && x < src.width(); ++x)
            pristine_.setPixel(x, y, src.pixel(x, y));
    working_ = pristine_.copy();
}

void PastDayImage::clear()
{
    pristine_ = QImage();
    working_ = QImage();
}

void PastDayImage::recolour(const QColor& color)
{
    if (isNull())
        return;
    const QRgb target = color.rgb();
    if (working_.pixel(12, 1) == target)
        return;
    const QRgb mark = pristine_.pixel(12, 1);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (pristine_.pixel(x, y) == mark)
                working_.setPixel(x, y, target);
}

QImage CheckMarkImage()
{
    static const char* const rows[kSize] = {
        "...........XXX..", ".........XXXXXX.", "........XXXXXXX.", "........XXXX....",
        ".......XXXX.....", "......XXXX......", ".X....XXX.......", "XXX..XXXX.......",
        "XXXX.XXX........", "XXXXXXXX........", "..XXXXXX........", "..XXXXX.........",
        "...XXXX.........", "...XXXX.........", "...XXXX.........", "....XX..........",
    };
    QImage img(kSize, kSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (rows[y][x] == 'X')
                img.setPixel(x, y, qRgb(0xFF, 0, 0));
    return img;
}

} // namespace vn
