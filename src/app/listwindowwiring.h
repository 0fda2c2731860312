#pragma once
// The list windows and their editors: which editor each list opens, the
// balloon hints the program keeps (one set, shared with the minute check),
// and the past-schedule colour they share with the main window.
namespace vn {

struct Windows;

void ConnectListWindows(Windows& windows);

} // namespace vn
