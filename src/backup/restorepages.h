#pragma once
// What the restore window needs of the memo pages. The program's page store
// stands behind it: a page stored from the restore window is written the
// same way as every page (a temporary file, flushed and renamed into place).
#include <QString>

namespace vn {

class RestorePages {
public:
    virtual ~RestorePages() = default;
    // The page as it stands now (CR LF line breaks), saved or not.
    virtual QString pageText(int page) const = 0;
    // True when the page's text is exactly this, or the index is no page.
    virtual bool pageTextEquals(int page, const QString& text) const = 0;
    // The page becomes this text and its file is written at once; a failing
    // write throws AppError and leaves the file as it was.
    virtual void replacePageText(int page, const QString& text) = 0;
};

// The stamp of a generation name ("yyyymmdd_hhnnss..."); throws AppError for
// a name that does not begin with a valid stamp.
double GenerationStamp(const QString& name);
// "3日前のBackUp [2009/01/05(月) 12:00:00]", "24時間以内のBackUp [...]"
QString GenerationAgeText(const QString& name, double now);

} // namespace vn
