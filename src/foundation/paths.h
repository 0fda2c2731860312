#pragma once
// The data folder and the names of the files in it.
//
// The data folder is the executable's folder, or the folder named by the
// environment variable VELNOTE_DATA_DIR. Names derived from the executable
// use its base name ("Vnote" gives Vnote.ini, Vnote.vnm, Vnote1.vnm ...).
#include <QString>

namespace vn {

QString AppFolder();   // without a trailing separator
QString AppBaseName(); // "Vnote"
// Tests and tools point the program at another folder and base name.
void SetAppLocation(const QString& folder, const QString& baseName);

// The executable path within the data folder with another extension (".ini").
QString AppPathWithExtension(const QString& extension);
QString SettingsFilePath(); // ".ini"
QString PageFilePath(int index);
QString SchedulePath(); // creates an empty file when missing
QString HolidayPath();  // creates an empty file when missing
QString BalloonHintPath();
QString DiaryFolder();
QString BackUpFolder();
QString HelpFilePath(); // "Vnote.chm"

} // namespace vn
