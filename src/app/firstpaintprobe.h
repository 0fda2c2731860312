#pragma once
// Start-up measurement: with VELNOTE_EXIT_AFTER_FIRST_PAINT set, the program
// prints the start-up phases and the monotonic clock at the main window's
// first paint and ends; with VELNOTE_REPORT_FIRST_PAINT it prints them and
// runs on. With VELNOTE_SETTLING_MSECS as well, it runs that long after the
// first paint, then prints the longest event-loop turn of that time (ns) and
// its resident memory (kB) and ends.
#include <functional>

class QWidget;

namespace vn {

void InstallFirstPaintProbe(QWidget* window);

// Runs work once, in the event loop's turn after the window's first paint:
// at once when the window is not to be shown, and after fallbackMSecs when
// it is shown but never painted (minimised, covered by a full-screen window).
void AfterFirstPaint(QWidget* window, bool shown, std::function<void()> work,
                     int fallbackMSecs = 1000);

} // namespace vn
