#pragma once
// The font configuration read ahead. Reading it (its XML files and its
// cache) is the longest single piece of a start, and the first text drawn
// waits for it; it needs no display, so it can run on another thread while
// the program connects to the display. The font database asks for the
// same configuration later and finds it ready.

namespace vn {

// Loads the process's font configuration; safe on any thread, harmless when
// it is loaded already.
void WarmFontConfiguration();

} // namespace vn
