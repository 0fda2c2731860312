#pragma once
// The program's icon: a small yellow memo pad, drawn at 16 to 64 pixels.
#include <QIcon>
#include <QPixmap>

namespace vn {

QPixmap DrawMemoPadGlyph(int size);
QIcon ProgramIcon();

} // namespace vn
