#include "choosers.h"

#include "widgets/colorref.h"
#include "widgets/uiprompts.h"

#include <QFontInfo>
#include <QPainter>
#include <QPixmap>

namespace vn {

std::optional<int> ChooseColourRef(int colorRef)
{
    const std::optional<QColor> c = Prompts().chooseColour(ToQColor(colorRef));
    if (!c || !c->isValid())
        return std::nullopt;
    return ToColorRef(*c);
}

QString InstalledFace(const QString& face)
{
    return QFontInfo(QFont(face)).family();
}

std::optional<FontSpec> ChooseFontKeepingFace(const FontSpec& font)
{
    QFont shown = ToQFont(font);
    const QString installed = InstalledFace(font.name);
    shown.setFamily(installed);
    const std::optional<QFont> chosen = Prompts().chooseFont(shown);
    if (!chosen)
        return std::nullopt;
    FontSpec out = ToFontSpec(*chosen, font.color);
    if (chosen->family() == installed)
        out.name = font.name; // the same face: the stored name stays as written
    return out;
}

QIcon ColourSwatch(int colorRef)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(96, 96, 96));
    p.setBrush(ToQColor(colorRef));
    p.drawRect(0, 0, 13, 13);
    p.end();
    return QIcon(pm);
}

} // namespace vn
