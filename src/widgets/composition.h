#pragma once
// A word an input method is still composing (Japanese typed but not yet
// confirmed) when its window goes away or the program ends.
//
// Qt 6.4 inserts the composed word itself when its window hides or its
// editor loses the focus, and then tells the input method to reset, which
// with IBus commits the same word a second time (into whatever has the focus
// by then: the same page, or the editor clicked). Asked to reset first, the
// input method commits the word once; it arrives a moment later over the
// input method's own connection, so CommitComposition waits for it while the
// editor still has the focus.
namespace vn {

// Application-wide: follows whether some editor holds a composed word, and
// commits it before a click (which may move the focus) and before a window
// closes. Installing it again is harmless.
void InstallCompositionWatch();

// Has the input method hand the word being composed (if any) to its editor
// and waits until it is there (at most a second). A window that hides without
// being closed calls it first, the end of the session before it saves.
void CommitComposition();

} // namespace vn
