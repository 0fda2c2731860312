#pragma once
// The 16 x 16 mark drawn on past days: a pristine copy and a working copy
// recoloured to the current mark colour before each use.
#include <QImage>

namespace vn {

class PastDayImage {
public:
    bool isNull() const { return pristine_.isNull(); }
    // Fills both copies from the top-left 16 x 16 pixels of an image.
    void set(const QImage& image);
    void clear();
    // Pixels of the pristine mark colour (the pristine pixel (12, 1)) take
    // the given colour, unless the working copy already shows it.
    void recolour(const QColor& color);
    const QImage& image() const { return working_; }
    const QImage& pristine() const { return pristine_; }

private:
    QImage pristine_, working_;
};

// The main window's check mark: red (0x0000FF) on white, white standing for
// transparent, since the mark is combined with the canvas by a bitwise AND.
QImage CheckMarkImage();

} // namespace vn
