#pragma once
// What the subsystem windows are given of the main window: they see it only
// through small interfaces, never the main window itself.
#include <functional>

namespace vn {

struct Windows;
class BackgroundJobs;
class MainWindow;
class RestorePages;
class RestoreWindow;
class RunRecordCalendarData;
class RunRecordWindow;
class SearchDialog;

// The restore window's view of the memo pages: the main window's page store.
RestorePages* MainWindowPagesFor(MainWindow* main);
// The run-record window's view of the holidays and schedules: the main
// window's calendar, as it is at each look.
RunRecordCalendarData* MainWindowCalendarFor(MainWindow* main);

// Search and find-next of the main window, through the search dialog
// (asked for, and so made, at the first search).
void ConnectSearchDialog(MainWindow* main, std::function<SearchDialog*()> search);
// The windows that show what the background jobs record: the run record
// reads every moment the capture has seen, the open restore window shows a
// new generation.
void ConnectRunRecordToJobs(RunRecordWindow* runRecord, BackgroundJobs* jobs);
void ConnectRestoreToJobs(RestoreWindow* restore, BackgroundJobs* jobs);
// Both, for those of the two windows made so far.
void ConnectJobWindows(Windows& windows, BackgroundJobs* jobs);

} // namespace vn
