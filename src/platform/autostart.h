#pragma once
// Starting at login through XDG autostart: the desktop entry
// $XDG_CONFIG_HOME/autostart/velnote.desktop (normally
// ~/.config/autostart/velnote.desktop). Whether the program starts at login
// is read from that file, so a change made with the desktop's own tools
// shows as it is.
#include <QString>

namespace vn {

// The file of the user's session.
QString AutostartFilePath();

// True when the file is a desktop entry of an application that is not
// switched off (Hidden=true, X-GNOME-Autostart-enabled=false).
bool AutostartEnabled(const QString& path = AutostartFilePath());

// The entry that starts the given program (an absolute path) at login; with
// a data folder, the program is started with VELNOTE_DATA_DIR set to it.
QString AutostartEntry(const QString& program, const QString& dataFolder = QString());

// Writes the entry (creating the folder) or removes the file; the file is
// rewritten only when its text changes. Throws AppError when it cannot.
void SetAutostart(bool on, const QString& program, const QString& path = AutostartFilePath(),
                  const QString& dataFolder = QString());

} // namespace vn
