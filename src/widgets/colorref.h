#pragma once
// Colours and fonts as the settings file holds them, and their Qt forms.
// Colours are 0x00BBGGRR, or 0xFF0000nn for a desktop colour number nn.
#include "foundation/settings.h"

#include <QColor>
#include <QFont>

namespace vn {

QColor ToQColor(int colorRef);
int ToColorRef(const QColor& color);

QFont ToQFont(const FontSpec& stored);
FontSpec ToFontSpec(const QFont& font, int colorRef);
// The same, for a font that may be drawn in the installed family of a stored
// face name: while it still draws that face, the stored name is kept.
FontSpec ToFontSpec(const QFont& font, int colorRef, const QString& storedFace);

// The face the windows are drawn in, by the name the settings file uses.
QString UiFace();

// The installed family a face name is drawn with here: the face itself when
// installed, else its first installed stand-in ("ＭＳ Ｐゴシック" → IPAPGothic),
// else the name unchanged. Asking for the installed family spares Qt a
// fallback search for each name it does not have, at every first use.
QString DrawnFace(const QString& face);
// A stored font as it is shown: the face resolved by DrawnFace. For fonts
// only drawn; a font whose face is read back into the settings comes from
// ToQFont, which keeps the stored name.
QFont ToDrawnFont(const FontSpec& stored);

// The font dialog lists the installed families only: it starts at the
// family a stored face name resolves to on this machine ("ＭＳ ゴシック" →
// IPAGothic), in the stored size and style.
QFont FontDialogStart(const FontSpec& stored);
// What the dialog's answer stores: the face the user chose, or the stored
// face name unchanged when the user kept the family the dialog started at.
FontSpec ChosenFont(const QFont& chosen, const FontSpec& start, int colorRef);

// Maps the face names of Japanese Windows fonts to the installed Japanese
// fonts; stored names stay as written.
void InstallFontSubstitutions();

} // namespace vn
