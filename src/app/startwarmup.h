#pragma once
// Work of the start that needs no display and no window, done on other
// threads while the program connects to the display and builds its window:
// the font configuration, the Shift-JIS tables and the settings file. Each
// part is waited for right before its first use, so nothing reads anything
// half made; an object that goes away waits for what it started.
#include <QString>

#include <future>
#include <memory>

namespace vn {

struct IniReadAhead;

class StartWarmUp {
public:
    // Starts the font configuration and the Shift-JIS tables.
    StartWarmUp();
    ~StartWarmUp();
    StartWarmUp(const StartWarmUp&) = delete;
    StartWarmUp& operator=(const StartWarmUp&) = delete;

    // Reads and parses the settings file, once its place is known.
    void readSettingsAhead(const QString& path);
    // Before the first font is looked up.
    void waitForFonts();
    // Before the first setting is read: hands the file read ahead to the reads.
    void adoptSettings();

private:
    std::future<void> fonts_;
    std::future<std::shared_ptr<IniReadAhead>> settings_;
};

} // namespace vn
