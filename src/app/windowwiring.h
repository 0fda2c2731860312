#pragma once
// What the subsystem windows are given of the main window: they see it only
// through small interfaces, never the main window itself.
namespace vn {

struct Windows;
class BackgroundJobs;

void ConnectSubsystemWindows(Windows& windows);
// Search and find-next of the main window, through the search dialog.
void ConnectSearchDialog(Windows& windows);
// The windows that show what the background jobs record.
void ConnectJobWindows(Windows& windows, BackgroundJobs* jobs);

} // namespace vn
