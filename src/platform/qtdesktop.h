#pragma once
// Web addresses and documents through the desktop's default handlers, and
// the desktop's calculator.
#include "desktop.h"

#include <QStringList>

namespace vn {

// The calculators looked for, in order of preference: the one of the current
// desktop (XDG_CURRENT_DESKTOP) first.
QStringList CalculatorPrograms(const QString& currentDesktop);
QStringList CalculatorPrograms();

class QtDesktop final : public Desktop {
public:
    void openUrl(const QString& url) override;
    bool openDocument(const QString& path) override;
    // Starts the first calculator of CalculatorPrograms() in PATH that starts.
    bool startCalculator() override;
};

} // namespace vn
