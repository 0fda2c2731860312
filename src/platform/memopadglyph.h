#pragma once
// The program's picture, a small yellow memo pad, painted on a 16-unit grid
// scaled to the given size. The tray icon, the window icon and the icons of
// the installed program (hicolor PNG sizes and the scalable SVG) all come
// from this one drawing.
class QPainter;

namespace vn {

void PaintMemoPad(QPainter& painter, double size);

} // namespace vn
