#pragma once
// Text search over the memo pages and stepping from match to match (F3).
//
// Positions are 1-based byte positions of the page's Shift-JIS text: a
// double-byte character occupies two positions, and a match only ever starts
// at the first byte of a character. Without case sensitivity only the
// single-byte letters a..z and A..Z are folded; double-byte characters
// (full-width letters included) are compared as they are.
#include "pageaccess.h"

#include <QString>
#include <QStringView>

namespace vn {

struct SearchState {
    QString SearchText;
    bool CaseSensitive = false;
    bool AllPages = false;
    int SearchPage = 0;   // the page the search is in
    qint64 SearchPos = 1; // where the next search in SearchPage begins
};

// 1-based byte position of the first occurrence of `needle` in `text` that
// begins at or after byte position `fromPos`, or 0 when there is none. An
// empty needle is never found.
qint64 FindInText(QStringView text, QStringView needle, qint64 fromPos, bool caseSensitive);

// The same on a page, from state.SearchPos.
qint64 FindInPage(const SearchState& state, const PageAccess& pages, int page);

// Searches from SearchPos in SearchPage and, with AllPages, on through the
// other shown pages and back to the top of SearchPage. Selects the match
// (making its page current) and moves SearchPos just past the match's first
// character. False when nothing was found.
bool FindFrom(SearchState& state, PageAccess& pages);

// Continues the search from just after the caret of the current page (or
// from after the last match's first character when the caret has not
// moved); without AllPages it wraps to the top of the page once. False when
// nothing was found; the caller reports it with NotFoundMessage.
bool FindNext(SearchState& state, PageAccess& pages);

// "未検出", LF CR, "検索文字列 = " and the quoted search text.
QString NotFoundMessage(const QString& searchText);

} // namespace vn
