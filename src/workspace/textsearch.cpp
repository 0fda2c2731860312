#include "textsearch.h"

#include "foundation/textcodec.h"

#include <QList>
#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace vn
{

namespace
{

// The search works on the UTF-16 text and counts Shift-JIS bytes only up to
// the places it needs; this gives the positions of a byte-wise search
// restricted to character starts without converting whole pages.

bool IsCharStart(QStringView text, qsizetype i)
{
    return !(i > 0 && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate());
}

struct Hit {
    qint64 pos = 0;       // 1-based byte position, 0 = none
    qsizetype index = -1; // character index of the match
};

// The first character start at or after the 0-based byte offset `byte`,
// with its own byte offset.
void SeekByte(QStringView text, qint64 byte, qsizetype& index, qint64& offset)
{
    qsizetype i = 0;
    qint64 pos = 0;
    const qsizetype n = text.size();
    while (i < n && pos < byte) {
        pos += SjisCharBytes(text[i]);
        ++i;
    }
    while (i < n && !IsCharStart(text, i)) {
        pos += SjisCharBytes(text[i]);
        ++i;
    }
    index = i;
    offset = pos;
}

inline char16_t FoldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
}

template <bool Fold> inline char16_t Key(char16_t c)
{
    if constexpr (Fold)
        return FoldAscii(c);
    else
        return c;
}

// Horspool search from character index `from`; only matches at character
// starts count.
template <bool Fold> qsizetype IndexOf(QStringView text, QStringView needle, qsizetype from)
{
    const qsizetype n = text.size();
    const qsizetype m = needle.size();
    if (m == 0 || from < 0 || m > n - from) return -1;
    QVarLengthArray<char16_t, 64> pat(m);
    for (qsizetype k = 0; k < m; ++k)
        pat[k] = Key<Fold>(needle[k].unicode());
    // Shifts by the low byte of the character under the window's end;
    // characters sharing a low byte share the smallest shift.
    std::array<qsizetype, 256> shift;
    shift.fill(m);
    for (qsizetype k = 0; k + 1 < m; ++k)
        shift[pat[k] & 0xFF] = m - 1 - k;

    const char16_t* t = reinterpret_cast<const char16_t*>(text.data());
    const char16_t last = pat[m - 1];
    qsizetype i = from;
    while (i <= n - m) {
        const char16_t c = Key<Fold>(t[i + m - 1]);
        if (c == last) {
            qsizetype j = m - 2;
            while (j >= 0 && Key<Fold>(t[i + j]) == pat[j])
                --j;
            if (j < 0) {
                if (IsCharStart(text, i)) return i;
                ++i;
                continue;
            }
        }
        i += shift[c & 0xFF];
    }
    return -1;
}

Hit FindHit(QStringView text, QStringView needle, qint64 fromPos, bool caseSensitive)
{
    if (needle.isEmpty()) return {};
    qsizetype start = 0;
    qint64 startByte = 0;
    if (fromPos > 1) SeekByte(text, fromPos - 1, start, startByte);
    const qsizetype at =
        caseSensitive ? IndexOf<false>(text, needle, start) : IndexOf<true>(text, needle, start);
    if (at < 0) return {};
    qint64 byte = startByte;
    for (qsizetype i = start; i < at; ++i)
        byte += SjisCharBytes(text[i]);
    return {byte + 1, at};
}

void SelectHit(SearchState& state, PageAccess& pages, QStringView text, const Hit& hit)
{
    pages.select(hit.pos - 1, SjisLength(state.SearchText));
    state.SearchPos = hit.pos + SjisCharBytes(text[hit.index]);
}

// FindFrom with the text of SearchPage already at hand.
bool FindFromText(SearchState& state, PageAccess& pages, const QString& startText)
{
    const Hit hit = FindHit(startText, state.SearchText, state.SearchPos, state.CaseSensitive);
    if (hit.pos >= 1) {
        SelectHit(state, pages, startText, hit);
        return true;
    }
    if (!state.AllPages) return false;

    const int shown = pages.shownPageCount();
    const int from = state.SearchPage;
    QList<int> order;
    for (int p = from + 1; p < shown; ++p)
        order.append(p);
    for (int p = 0; p <= from && p < shown; ++p)
        order.append(p);
    for (int p : order) {
        state.SearchPos = 1;
        const QString text = (p == from) ? startText : pages.pageText(p);
        const Hit h = FindHit(text, state.SearchText, 1, state.CaseSensitive);
        if (h.pos >= 1) {
            pages.selectPage(p);
            state.SearchPage = p;
            SelectHit(state, pages, text, h);
            return true;
        }
    }
    return false;
}

} // namespace

qint64 FindInText(QStringView text, QStringView needle, qint64 fromPos, bool caseSensitive)
{
    return FindHit(text, needle, fromPos, caseSensitive).pos;
}

qint64 FindInPage(const SearchState& state, const PageAccess& pages, int page)
{
    return FindInText(pages.pageText(page), state.SearchText, state.SearchPos, state.CaseSensitive);
}

bool FindFrom(SearchState& state, PageAccess& pages)
{
    return FindFromText(state, pages, pages.pageText(state.SearchPage));
}

bool FindNext(SearchState& state, PageAccess& pages)
{
    const int page = pages.currentPage();
    const QString text = pages.pageText(page);
    const qint64 caret = pages.selectionStart();
    const qsizetype index = SjisOffsetToIndex(text, caret);
    const int width = index < text.size() ? SjisCharBytes(text[index]) : 1;
    const qint64 p = caret + 1 + width;
    if (p != state.SearchPos) state.SearchPos = p;
    state.SearchPage = page;
    if (FindFromText(state, pages, text)) return true;
    if (state.AllPages) return false;
    state.SearchPos = 1;
    return FindFromText(state, pages, text);
}

QString NotFoundMessage(const QString& searchText)
{
    return QStringLiteral("未検出") + QStringLiteral("\n\r") + QStringLiteral("検索文字列 = ") +
           u'"' + searchText + u'"';
}

} // namespace vn
