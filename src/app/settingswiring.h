#pragma once
// The settings dialog wired to the running program: the main window (pages,
// reference area, formats, calendar), the show/hide key of the tray, the
// balloon hints, the restore windows and the background jobs.
namespace vn {

struct Windows;
class BackgroundJobs;
class TrayController;
class SyncJob;

// Connects the dialog and makes its creation steps (the show/hide key is
// registered there); the schedule notifier then asks it for the sound
// pattern, and the jobs' uptime and new generations show in it. Its page
// "同期" works through the sync job (null: no sync).
void ConnectSettingsDialog(Windows& windows, TrayController* tray, BackgroundJobs* jobs,
                           SyncJob* sync = nullptr);

} // namespace vn
