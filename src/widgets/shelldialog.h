#pragma once
// Common set-up of the secondary windows: object name, caption, modality.
#include <QDialog>

namespace vn {

void SetUpSecondaryWindow(QDialog* dialog, const char* objectName, const QString& caption,
                          QSize designSize);

// Moves the window to the middle of the screen it is on (or the main screen).
void CentreOnScreen(QWidget* window);

} // namespace vn
