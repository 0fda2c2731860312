#pragma once
// The top-level error handler: an error that escapes an operation is shown
// in a box titled "Velnote" and the program goes on.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vn {

// While the session ends (the desktop's end, a stop signal) nobody may be
// there to answer a box: the text then goes to the error output only.
void ShowErrorBox(const QString& message, QWidget* parent = nullptr);
// Tells the error without a box: the error output (and a test's sink). For
// the moments a box could keep the program from ending.
void ReportError(const QString& message);

// Runs an operation; an error escaping it is shown. False when it failed.
bool Guarded(const std::function<void()>& operation, QWidget* parent = nullptr);

// Where error boxes go; tests record them instead of showing a dialog.
// While one lives, error boxes are gathered instead of shown; when the
// outermost one ends (or showNow is called on it), the gathered texts are
// shown together in one box, each distinct text once. Start-up runs under
// one, so a folder it cannot read or write is reported once, not per file.
class GatheredErrors {
public:
    GatheredErrors();
    ~GatheredErrors();
    GatheredErrors(const GatheredErrors&) = delete;
    GatheredErrors& operator=(const GatheredErrors&) = delete;
    // Shows what was gathered so far (only the outermost one shows).
    void showNow(QWidget* parent = nullptr);
    // Takes what was gathered so far, to be shown some other way.
    QStringList take();
};

using ErrorSink = std::function<void(const QString& text)>;
void SetErrorSink(ErrorSink sink);

} // namespace vn
