#pragma once
// The data folder and the names of the files in it.
//
// The data folder is, in this order: the folder named by the environment
// variable VELNOTE_DATA_DIR; the executable's own folder when the program may
// write there (a portable copy, run from where it was unpacked or built); or,
// for an installed program, $XDG_DATA_HOME/velnote (normally
// ~/.local/share/velnote), created readable by its owner only. The file names
// stay "Vnote.ini", "Vnote.vnm" ... whatever the command is called, so a
// folder carried over from another machine can be dropped in as it is.
#include <QString>
#include <QStringList>

namespace vn {

QString AppFolder();   // without a trailing separator
QString AppBaseName(); // "Vnote"
// Tests and tools point the program at another folder and base name.
void SetAppLocation(const QString& folder, const QString& baseName);

// What decides the data folder; CurrentDataFolderInputs reads it from the
// environment and the file system.
struct DataFolderInputs {
    QString overrideDir; // VELNOTE_DATA_DIR, empty when unset
    QString programDir;  // the executable's folder
    bool programDirWritable = false;
    bool programDirIsSystem = false; // /usr/bin and the like, writable or not
    QString xdgDataHome;             // XDG_DATA_HOME, empty when unset
    QString home;                    // the home folder
};
enum class DataFolderKind { Override, Portable, UserData };
struct DataFolderChoice {
    QString folder; // absolute, without a trailing separator
    DataFolderKind kind = DataFolderKind::Portable;
};
DataFolderChoice ChooseDataFolder(const DataFolderInputs& in);
DataFolderInputs CurrentDataFolderInputs();
// Creates the folder and any missing parents, each new one with mode 0700.
// True when the folder exists afterwards.
bool MakePrivateFolder(const QString& path);
// Makes the data folder as MakePrivateFolder does; empty when it is a folder
// afterwards, otherwise the Japanese reason the program cannot start.
QString PrepareDataFolder(const QString& path);

// Where text that could not be saved in the data folder is kept, in this
// order: $XDG_STATE_HOME/velnote/rescued (normally
// ~/.local/state/velnote/rescued), $XDG_RUNTIME_DIR/velnote-rescued, and a
// folder of the user's own in the system temporary folder. A relative or
// empty variable is passed over.
struct RescueInputs {
    QString xdgStateHome; // XDG_STATE_HOME, empty when unset
    QString home;
    QString runtimeDir; // XDG_RUNTIME_DIR, empty when unset
    QString tempDir;    // the system temporary folder
    uint uid = 0;
};
QStringList RescueFolders(const RescueInputs& in);
RescueInputs CurrentRescueInputs();

// The executable path within the data folder with another extension (".ini").
QString AppPathWithExtension(const QString& extension);
QString SettingsFilePath(); // ".ini"
QString PageFilePath(int index);
QString SchedulePath(); // creates an empty file when missing
QString HolidayPath();  // creates an empty file when missing
QString BalloonHintPath();
QString DiaryFolder();
QString BackUpFolder();
// The help document (HTML) of a program in programFolder; empty when it
// has none. Without a folder: of this program.
QString HelpFilePath(const QString& programFolder);
QString HelpFilePath();

// When path is a symbolic link (or a chain of them) to a file outside the
// data folder, the file a rewrite of path would replace; empty otherwise.
// Such a rewrite is made only after asking.
QString LinkTargetOutsideDataFolder(const QString& path);

} // namespace vn
