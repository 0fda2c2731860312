#pragma once
// The background jobs of the running program, wired to the main window (its
// pages, its caption), the tray tip and the error box.
namespace vn {

class BackgroundJobs;
class MainWindow;

// The jobs, owned by the main window, with the uptime in its caption; they
// run from start() and end with the application.
BackgroundJobs* CreateBackgroundJobs(MainWindow* main);
// Creates and starts them.
BackgroundJobs* StartBackgroundJobs(MainWindow* main);

} // namespace vn
