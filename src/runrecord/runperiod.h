#pragma once
// The period the run-record window lists: first and last day number,
// inclusive; the first is -1 while no period is set.
#include "foundation/datetime.h"

#include <QString>

namespace vn {

struct RunPeriod {
    int first = -1;
    int last = -1;
    bool isSet() const { return first != -1; }
    int length() const { return last - first + 1; }
    friend bool operator==(const RunPeriod&, const RunPeriod&) = default;
};

// The stored period (both -1 when never set).
RunPeriod ReadRunPeriod();
// Stores the last day, then the first.
void WriteRunPeriod(const RunPeriod& period);

// A count with thousands separators ("#,##0").
QString GroupedNumber(qint64 n);

// "表示期間は、365日間です"
QString PeriodStatusText(const RunPeriod& period);
// "表示日数=365日間"
QString ShownDaysText(int days);

// Why a period chosen in the dialog cannot be set, or empty when it can.
QString PeriodError(const RunPeriod& period, int today);

} // namespace vn
