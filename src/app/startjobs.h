#pragma once
// The background jobs of the running program, wired to the main window (its
// pages, its caption), the tray tip and the error box.
namespace vn {

class BackgroundJobs;
class MainWindow;
class SyncJob;

// The jobs, owned by the main window, with the uptime in its caption; they
// run from start() and end with the application.
BackgroundJobs* CreateBackgroundJobs(MainWindow* main);
// Creates and starts them.
BackgroundJobs* StartBackgroundJobs(MainWindow* main);

// The background sync, owned by the main window: it follows the schedules
// and diary files the program writes, tells what the user must act on in a
// box that does not wait, shows the last sync in the tray tip, and syncs
// once more when the application ends.
SyncJob* CreateSyncJob(MainWindow* main);

} // namespace vn
