#pragma once
// Web addresses and documents through the desktop's default handlers, and
// the desktop's calculator.
#include "desktop.h"

#include <QStringList>

namespace vn {

// The calculators looked for, in order of preference.
QStringList CalculatorPrograms();

class QtDesktop final : public Desktop {
public:
    void openUrl(const QString& url) override;
    void openDocument(const QString& path) override;
    // Starts the first calculator of CalculatorPrograms() found in PATH.
    bool startCalculator() override;
};

} // namespace vn
