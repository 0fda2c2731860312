#pragma once
// The background jobs of the running program, wired to the main window (its
// pages, its caption), the tray tip and the error box.
namespace vn {

class BackgroundJobs;
class MainWindow;

// Starts the jobs, owned by the main window; they end with the application.
BackgroundJobs* StartBackgroundJobs(MainWindow* main);

} // namespace vn
