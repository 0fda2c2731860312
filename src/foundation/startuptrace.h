#pragma once
// Start-up phases for the start-up benchmark: with VELNOTE_EXIT_AFTER_FIRST_PAINT
// or VELNOTE_REPORT_FIRST_PAINT set, each mark keeps the monotonic clock, and
// the first paint prints them. Without either, a mark costs one test.

namespace vn {

bool StartupTraceEnabled();
// The phase that ends now; name must be a string literal.
void MarkStartupPhase(const char* name);
// Prints "phase <name> <ns>" for every mark so far to stdout and forgets them.
void PrintStartupPhases();
long long MonotonicNs();

} // namespace vn
