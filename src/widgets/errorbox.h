#pragma once
// The top-level error handler: an error that escapes an operation is shown
// in a box titled "Velnote" and the program goes on.
#include <QString>
#include <functional>

class QWidget;

namespace vn {

void ShowErrorBox(const QString& message, QWidget* parent = nullptr);

// Runs an operation; an error escaping it is shown. False when it failed.
bool Guarded(const std::function<void()>& operation, QWidget* parent = nullptr);

// Where error boxes go; tests record them instead of showing a dialog.
using ErrorSink = std::function<void(const QString& text)>;
void SetErrorSink(ErrorSink sink);

} // namespace vn
