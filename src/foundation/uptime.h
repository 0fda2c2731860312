#pragma once
// How long the PC has been running, as the tray tip, the main window's
// caption and the settings dialog show it.
#include "datetime.h"

#include <QString>

namespace vn {

struct UptimeTexts {
    QString elapsed; // "49時間3分" (hours not limited to 24)
    QString started; // "08時15分", or "05月01日(木) 08時15分" for an earlier day
    QString text;    // "PC起動から 2時間5分 経過  [08時15分 起動]"
};

// The texts for the moment now, the system having started msecsSinceBoot
// milliseconds before it.
UptimeTexts ComputeUptimeTexts(DateTime now, qint64 msecsSinceBoot);

// The main window's caption with the uptime text ("Velnote [読み取り専用]" for a
// data folder opened read-only).
QString CaptionWithUptime(const QString& uptimeText);

// Milliseconds since the operating system started, time asleep included.
qint64 SystemMSecsSinceBoot();

} // namespace vn
