#pragma once
// The colour and font choosers of the settings dialog, in the settings'
// forms, and the colour swatch its colour buttons carry.
#include "foundation/settings.h"

#include <QIcon>

#include <optional>

namespace vn {

// The chooser preset with a colour (0x00BBGGRR, or a desktop colour); the
// chosen colour, none when cancelled.
std::optional<int> ChooseColourRef(int colorRef);

// The chooser preset with a font. It offers the installed fonts: a stored
// face that is not installed (ＭＳ Ｐゴシック) shows as the installed face
// standing in for it, and when the user keeps that face the stored name
// comes back unchanged. The colour is kept.
std::optional<FontSpec> ChooseFontKeepingFace(const FontSpec& font);

// The installed face a face name is drawn with.
QString InstalledFace(const QString& face);

QIcon ColourSwatch(int colorRef);

} // namespace vn
