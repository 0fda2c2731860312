#pragma once
// Start-up measurement: with VELNOTE_EXIT_AFTER_FIRST_PAINT set, the program
// prints the monotonic clock at the main window's first paint and ends.
class QWidget;

namespace vn {

void InstallFirstPaintProbe(QWidget* window);

} // namespace vn
