#pragma once
// Common set-up of the secondary windows: object name, caption, modality.
#include <QDialog>
#include <QFont>
#include <QList>

namespace vn {

// The secondary windows' font. Set before the window's children are made, it
// is theirs from the start instead of being handed down to each afterwards.
void SetSecondaryWindowFont(QWidget* window);

// The fonts the secondary windows draw and measure with. Loading a font is
// most of a window's first use; the program loads them while it is idle.
QList<QFont> SecondaryWindowFonts();
// Loads each font (its faces for Japanese and Latin text) in an event-loop
// turn of its own, so that no turn grows long.
void LoadFontsInTurns(QList<QFont> fonts);

void SetUpSecondaryWindow(QDialog* dialog, const char* objectName, const QString& caption,
                          QSize designSize);

// Moves the window to the middle of the screen it is on (or the main screen).
void CentreOnScreen(QWidget* window);

} // namespace vn
