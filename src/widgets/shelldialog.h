#pragma once
// Common set-up of the secondary windows: object name, caption, modality.
#include <QDialog>

namespace vn {

void SetUpSecondaryWindow(QDialog* dialog, const char* objectName, const QString& caption,
                          QSize designSize);

} // namespace vn
