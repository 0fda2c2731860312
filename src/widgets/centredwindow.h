#pragma once
// Windows shown in the middle of the desktop.
class QWidget;

namespace vn {

// Moves a window (frame included) to the centre of its screen's free area.
void CentreOnScreen(QWidget* window);

} // namespace vn
