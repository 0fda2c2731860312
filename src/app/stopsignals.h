#pragma once
// SIGTERM, SIGHUP and SIGINT end the program like the end of the desktop
// session: everything is saved, then the process exits with 0.
#include <QObject>

namespace vn {

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);

signals:
    void stopRequested();
};

} // namespace vn
