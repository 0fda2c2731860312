#pragma once
// Pasting into text editors without crashing on an empty clipboard.
//
// Qt 6.4's text editors read the first format of the clipboard's data
// without looking whether there is one: pasting an empty clipboard (nothing
// copied since the X session started, or its owner gone) kills the program.
// Every paste must look first: the guard does it for the keys and the
// middle click of every text editor of the program, PasteInto for commands.
#include <QClipboard>

class QMimeData;
class QPlainTextEdit;
class QTextEdit;

namespace vn {

// True when the data holds something a text editor can take.
bool CanPasteFrom(const QMimeData* data);

// Pastes the clipboard's text over the editor's selection; nothing when the
// clipboard is empty.
void PasteInto(QPlainTextEdit* editor);
void PasteInto(QTextEdit* editor);

// Application-wide: Ctrl+V, Shift+Insert and the middle click do nothing in
// a text editor while their clipboard is empty. Installing it again is
// harmless.
void InstallPasteGuard();

} // namespace vn
