#include "textsearch.h"

#include "foundation/textcodec.h"

#include <QList>

#include <algorithm>

namespace vn {

namespace {

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

inline bool IsAsciiLetter(char16_t c)
{
    return (c | 0x20) >= u'a' && (c | 0x20) <= u'z';
}

// How useful a needle character is for finding candidates quickly: rare
// characters first; a letter under folding needs two scans.
int AnchorScore(char16_t c, bool fold)
{
    if (c >= 0x80)
        return 4;
    if (IsAsciiLetter(c))
        return fold ? 1 : 2;
    if (c == u' ' || c == u'\r' || c == u'\n' || c == u'\t')
        return 0;
    return 3;
}

// Next occurrences of one character, or of both ASCII cases of a letter;
// each scan uses the library's vectorised character search.
class AnchorScan {
public:
    AnchorScan(QStringView text, char16_t c, bool fold) : text_(text), a_(c), b_(c)
    {
        if (fold && IsAsciiLetter(c)) {
            a_ = char16_t(c | 0x20);
            b_ = char16_t(c & ~0x20);
        }
    }
    // The first position at or after `from`, or the text's size.
    qsizetype next(qsizetype from)
    {
        if (nextA_ < from)
            nextA_ = find(a_, from);
        if (b_ == a_)
            return nextA_;
        if (nextB_ < from)
            nextB_ = find(b_, from);
        return std::min(nextA_, nextB_);
    }

private:
    qsizetype find(char16_t c, qsizetype from) const
    {
        const qsizetype i = text_.indexOf(QChar(c), from);
        return i < 0 ? text_.size() : i;
    }
    QStringView text_;
    char16_t a_, b_;
    qsizetype nextA_ = -1, nextB_ = -1;
};

// The first match at a character start from character index `from`, or -1.
qsizetype IndexOf(QStringView text, QStringView needle, qsizetype from, bool fold)
{
    const qsizetype n = text.size();
    const qsizetype m = needle.size();
    if (m == 0 || from < 0 || m > n - from)
        return -1;
    qsizetype anchor = 0;
    for (qsizetype k = 1; k < m; ++k)
        if (AnchorScore(needle[k].unicode(), fold) > AnchorScore(needle[anchor].unicode(), fold))
            anchor = k;

    auto matchesAt = [&](qsizetype start) {
        const char16_t* t = reinterpret_cast<const char16_t*>(text.data()) + start;
        const char16_t* p = reinterpret_cast<const char16_t*>(needle.data());
        if (!fold)
            return std::equal(p, p + m, t);
        for (qsizetype k = 0; k < m; ++k)
            if (FoldAscii(t[k]) != FoldAscii(p[k]))
                return false;
        return true;
    };

    AnchorScan scan(text, needle[anchor].unicode(), fold);
    const qsizetype lastStart = n - m;
    for (qsizetype at = scan.next(from + anchor); at < n; at = scan.next(at + 1)) {
        const qsizetype start = at - anchor;
        if (start > lastStart)
            break;
        if (matchesAt(start) && IsCharStart(text, start))
            return start;
    }
    return -1;
}

Hit FindHit(QStringView text, QStringView needle, qint64 fromPos, bool caseSensitive)
{
    if (needle.isEmpty())
        return {};
    qsizetype start = 0;
    qint64 startByte = 0;
    if (fromPos > 1)
        SeekByte(text, fromPos - 1, start, startByte);
    const qsizetype at = IndexOf(text, needle, start, !caseSensitive);
    if (at < 0)
        return {};
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
    if (!state.AllPages)
        return false;

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
    if (p != state.SearchPos)
        state.SearchPos = p;
    state.SearchPage = page;
    if (FindFromText(state, pages, text))
        return true;
    if (state.AllPages)
        return false;
    state.SearchPos = 1;
    return FindFromText(state, pages, text);
}

QString NotFoundMessage(const QString& searchText)
{
    return QStringLiteral("未検出") + QStringLiteral("\n\r") + QStringLiteral("検索文字列 = ") +
           u'"' + searchText + u'"';
}

} // namespace vn
