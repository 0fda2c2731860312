#pragma once
#include <QColor>
#include <QIcon>
#include <QString>

namespace vn {

// A small tool-button icon: one or two characters on a tinted tile.
QIcon GlyphIcon(const QString& glyph, const QColor& tint);

} // namespace vn
