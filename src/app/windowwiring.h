#pragma once
// What the subsystem windows are given of the main window: they see it only
// through small interfaces, never the main window itself.
namespace vn {

struct Windows;

void ConnectSubsystemWindows(Windows& windows);

} // namespace vn
