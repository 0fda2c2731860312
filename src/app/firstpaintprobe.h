#pragma once
// Start-up measurement: with VELNOTE_EXIT_AFTER_FIRST_PAINT set, the program
// prints the start-up phases and the monotonic clock at the main window's
// first paint and ends; with VELNOTE_REPORT_FIRST_PAINT it prints them and
// runs on.
class QWidget;

namespace vn {

void InstallFirstPaintProbe(QWidget* window);

} // namespace vn
