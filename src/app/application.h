#pragma once
// The program: one instance per session, its thirteen windows, the event
// loop, and the real close at the end of the session or on a stop signal.
#include <QApplication>

namespace vn {

class VelnoteApplication : public QApplication {
    Q_OBJECT
public:
    VelnoteApplication(int& argc, char** argv);
    // Errors escaping an event handler reach the error box here.
    bool notify(QObject* receiver, QEvent* event) override;
};

int RunVelnote(int argc, char** argv);

} // namespace vn
