#pragma once
// Where the program's own modules (sound, sync) are: next to the program
// file (the build folder, a portable copy), else in the program's library
// folder beside its bin folder (lib/velnote).
#include <QString>

namespace vn {

// The module's file name without its suffix, as QLibrary takes it.
QString ModulePath(const QString& moduleName);

} // namespace vn
