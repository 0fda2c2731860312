#pragma once
// The toolbar icons: one or two characters on a tinted tile. They are drawn
// once, when the program is built, and compiled in as resources, so start-up
// does not render text for them.
#include <QIcon>
#include <QRgb>

class QImage;

namespace vn {

struct ToolIcon {
    const char* name; // resource name, ":/icons/<name>_<size>.argb"
    const char16_t* glyph;
    QRgb tint;
};

// Every icon, in no particular order.
const ToolIcon* ToolIcons(int* count);

// The tile of one icon at a size (used by the build step).
QImage PaintToolIcon(const ToolIcon& icon, int size);

// The compiled-in icon of a name; a blank icon when there is none.
QIcon ToolIconNamed(const char* name);

} // namespace vn
