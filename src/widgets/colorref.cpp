#include "widgets/colorref.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPalette>

namespace vn {

QColor ToQColor(int colorRef)
{
    const quint32 v = quint32(colorRef);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFF) {
        case 2: return pal.color(QPalette::Highlight);        // active title bar
        case 5: return pal.color(QPalette::Base);             // window background
        case 8: return pal.color(QPalette::Text);             // window text
        case 13: return pal.color(QPalette::Highlight);       // selection
        case 19: return pal.color(QPalette::PlaceholderText); // inactive title text
        default: return pal.color(QPalette::WindowText);
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int ToColorRef(const QColor& c)
{
    return int(quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16));
}

QFont ToQFont(const FontSpec& stored)
{
    QFont f(stored.name);
    if (stored.size > 0)
        f.setPointSize(stored.size);
    f.setBold(stored.style & kFontBold);
    f.setItalic(stored.style & kFontItalic);
    f.setUnderline(stored.style & kFontUnderline);
    f.setStrikeOut(stored.style & kFontStrikeOut);
    return f;
}

QString DrawnFace(const QString& face)
{
    // Installed families by their lower-case names, as substitutions are
    // kept; read once (the substitutions are looked up each time).
    static const QHash<QString, QString> installed = [] {
        QHash<QString, QString> byKey;
        for (const QString& family : QFontDatabase::families())
            byKey.insert(family.toLower(), family);
        return byKey;
    }();
    QString drawn = installed.value(face.toLower());
    if (drawn.isEmpty()) {
        const QStringList standIns = QFont::substitutes(face);
        const auto found = std::find_if(standIns.begin(), standIns.end(),
                                        [](const QString& s) { return installed.contains(s); });
        drawn = found != standIns.end() ? installed.value(*found) : face;
    }
    return drawn;
}

QFont ToDrawnFont(const FontSpec& stored)
{
    QFont f = ToQFont(stored);
    f.setFamily(DrawnFace(stored.name));
    return f;
}

FontSpec ToFontSpec(const QFont& font, int colorRef)
{
    FontSpec s;
    s.color = colorRef;
    s.name = font.family();
    s.size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pixelSize() * 0.75);
    s.style = (font.bold() ? kFontBold : 0) | (font.italic() ? kFontItalic : 0) |
              (font.underline() ? kFontUnderline : 0) | (font.strikeOut() ? kFontStrikeOut : 0);
    return s;
}

FontSpec ToFontSpec(const QFont& font, int colorRef, const QString& storedFace)
{
    FontSpec s = ToFontSpec(font, colorRef);
    if (!storedFace.isEmpty() && DrawnFace(storedFace) == DrawnFace(s.name))
        s.name = storedFace;
    return s;
}

QString UiFace()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

QFont FontDialogStart(const FontSpec& stored)
{
    QFont f = ToQFont(stored);
    f.setFamilies({QFontInfo(f).family()});
    return f;
}

FontSpec ChosenFont(const QFont& chosen, const FontSpec& start, int colorRef)
{
    FontSpec s = ToFontSpec(chosen, colorRef);
    if (chosen.family() == FontDialogStart(start).family())
        s.name = start.name;
    return s;
}

void InstallFontSubstitutions()
{
    const QStringList gothic = {QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("Noto Sans CJK JP")};
    const QStringList pgothic = {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList mincho = {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")};
    const QStringList pmincho = {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pmincho);
}

} // namespace vn
