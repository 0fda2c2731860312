#pragma once
// Work of the start that needs no display and no window, done on other
// threads while the program connects to the display and builds its window:
// the font configuration, the Shift-JIS tables, the settings file, the run
// record (the first thing written after the first paint) and the days that
// have a diary. Each
// part is waited for right before its first use, so nothing reads anything
// half made; an object that goes away waits for what it started.
#include <QStringList>

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

    // Reads and parses these ini files and finds the days of the diary
    // folder, once their place is known.
    void readAhead(const QStringList& iniFiles, const QString& diaryFolder);
    // Before the first font is looked up.
    void waitForFonts();
    // Before the first setting is read: hands the files read ahead to the reads.
    void adoptFilesReadAhead();

private:
    std::future<void> fonts_;
    struct ReadAhead;
    std::future<std::shared_ptr<ReadAhead>> files_;
};

} // namespace vn
