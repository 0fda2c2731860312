#pragma once
// A private D-Bus session bus for one test (tests/support/private-bus.sh, a
// bus without service folders), started by the test itself, ended with it.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace vn::test {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    bool started() const { return !address_.isEmpty(); }
    QString address() const { return address_; }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

} // namespace vn::test
