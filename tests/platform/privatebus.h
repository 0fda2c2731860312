#pragma once
// A private D-Bus session bus for one test: `dbus-daemon --session` started
// by the test itself, ended with it.
#include <QProcess>
#include <QString>

namespace vn::test {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    bool started() const { return !address_.isEmpty(); }
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace vn::test
