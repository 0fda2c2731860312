#pragma once
// The command-line jobs, which run without a window:
//   velnote --export-ics FILE   write the schedules as iCalendar ("-": standard output)
//   velnote --import-ics FILE   add the schedules of an iCalendar file
//   velnote --help | --version
// Each exits with 0, or with a non-zero code and one line on standard error.
#include <optional>

namespace vn {

// The exit code when the arguments ask for a command-line job; nothing when
// the program is to start as usual.
std::optional<int> RunCommandLine(int argc, char** argv);

} // namespace vn
