#pragma once
// What search and printing need of the memo pages. Positions count bytes of
// the Shift-JIS text, line breaks as CR LF (two bytes).
#include <QString>

namespace vn {

class PageAccess {
public:
    virtual ~PageAccess() = default;
    virtual int shownPageCount() const = 0;
    virtual int currentPage() const = 0;
    virtual QString pageText(int page) const = 0; // CR LF line breaks
    virtual QString tabName(int page) const = 0;
    virtual QString pageFontName(int page) const = 0;
    virtual qint64 selectionStart() const = 0; // of the current page
    virtual qint64 selectionLength() const = 0;
    virtual QString selectedText() const = 0; // CR LF line breaks
    virtual void selectPage(int page) = 0;
    // Selects a byte range of the current page and shows it.
    virtual void select(qint64 start, qint64 length) = 0;
};

} // namespace vn
