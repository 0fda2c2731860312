#pragma once
// Desktop services: sounds, web addresses, documents, the calculator, and the
// one-instance-per-session lock.
#include <QString>

namespace vn {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing a WAVE file without waiting; a sound still playing stops.
    virtual void play(const QString& path) = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a web address (http, https) in the browser; anything else is
    // refused (see WebAddress).
    virtual void openUrl(const QString& url) = 0;
    // False when the desktop has nothing to open it with.
    virtual bool openDocument(const QString& path) = 0;
    // Starts the desktop's calculator; false when none is installed.
    virtual bool startCalculator() = 0;
};

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // True when this process is now the only instance of the session. The
    // lock dies with the process, so a crash never blocks the next start.
    virtual bool acquire() = 0;
};

} // namespace vn
