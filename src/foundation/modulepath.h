#pragma once
// Where the program's own modules (sound, sync, printing, iCalendar) are:
// next to the program file (the build folder, a portable copy), else in the
// program's library folder beside its bin folder (lib/velnote).
#include <QString>

namespace vn {

class Clock;

// The module's file name without its suffix, as QLibrary takes it.
QString ModulePath(const QString& moduleName);

// A module carries its own copy of the program's core code, with its own
// data folder and clock: the program hands over its own at the module's
// entry point.
struct ModuleHost {
    QString dataFolder;
    QString baseName;
    Clock& (*clock)() = nullptr; // the program's current clock
};

// The program's side: what to hand over.
ModuleHost ThisProgramHost();
// The module's side: the program's data folder, and the time read from the
// program's clock (also a clock a test installs in the program).
void AdoptHost(const ModuleHost& host);

} // namespace vn
