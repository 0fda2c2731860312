#pragma once
// Common set-up of the secondary windows: object name, caption, modality.
#include <QDialog>

namespace vn {

// The secondary windows' font. Set before the window's children are made, it
// is theirs from the start instead of being handed down to each afterwards.
void SetSecondaryWindowFont(QWidget* window);

void SetUpSecondaryWindow(QDialog* dialog, const char* objectName, const QString& caption,
                          QSize designSize);

// Moves the window to the middle of the screen it is on (or the main screen).
void CentreOnScreen(QWidget* window);

} // namespace vn
