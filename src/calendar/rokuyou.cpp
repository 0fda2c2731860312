#include "rokuyou.h"

#include "calendar/lunisolar.h"

#include <array>

namespace vn::cal {

int RokuyouIndex(DateTime d)
{
    const LunarDate l = ToLunarDate(d);
    if (!l.valid)
        return kRokuyouNone;
    return (l.month - 1 + l.day - 1) % 6;
}

QString RokuyouName(int index, bool kanji)
{
    static const std::array<const char16_t*, 6> k = {u"先勝", u"友引", u"先負",
                                                     u"仏滅", u"大安", u"赤口"};
    static const std::array<const char16_t*, 6> h = {u"せんしょう", u"ともびき", u"さきまけ",
                                                     u"ぶつめつ",   u"たいあん", u"じゃっこう"};
    if (index < 0 || index > 5)
        return QStringLiteral("----");
    return QString::fromUtf16(kanji ? k[size_t(index)] : h[size_t(index)]);
}

QString RokuyouText(DateTime d, bool showRoku, bool kanji)
{
    if (!showRoku)
        return {};
    return RokuyouName(RokuyouIndex(d), kanji);
}

} // namespace vn::cal
