#pragma once
// The secondary windows as pieces of work, one window each, to be made one
// per turn of the event loop after the first paint (StagedWork): a key typed
// meanwhile waits for one window at most. Each window is made in full, so
// what its creation does for the rest of the program (the settings read and
// normalised, the show/hide key registered, the sound pattern the alarms
// ask, the quiet start ended) still happens right after the start.
#include "stagedwork.h"

namespace vn {

class BackgroundJobs;
class SyncJob;
class TrayController;
struct Windows;

// The twelve windows in their fixed order, then their wiring to each other
// and to the main window.
std::vector<StagedWork::Piece> SecondaryWindowPieces(Windows& windows);
// Those, then the wiring the running program adds: the search commands, the
// jobs' windows and the settings dialog (which registers the show/hide key
// again, as stored; its page "同期" works through the sync job).
std::vector<StagedWork::Piece> ProgramWindowPieces(Windows& windows, TrayController* tray,
                                                   BackgroundJobs* jobs, SyncJob* sync = nullptr);

} // namespace vn
