#include "privatebus.h"

namespace vn::test {

PrivateBus::PrivateBus()
{
    if (!dir_.isValid())
        return;
    daemon_.start(QStringLiteral("sh"), {QStringLiteral(VN_PRIVATE_BUS_SCRIPT), dir_.path()});
    if (!daemon_.waitForStarted(5000))
        return;
    for (int i = 0; i < 50 && !daemon_.canReadLine(); ++i)
        daemon_.waitForReadyRead(100);
    address_ = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(3000))
            daemon_.kill();
        daemon_.waitForFinished(1000);
    }
}

} // namespace vn::test
