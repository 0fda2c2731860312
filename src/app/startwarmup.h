#pragma once
// Work of the start that needs no display and no window, done on other
// threads (at idle priority: IdleThread) while the program connects to the
// display and builds its window:
// the font configuration, the Shift-JIS tables, the settings file, the run
// record (the first thing written after the first paint) and the days that
// have a diary. Each
// part is waited for right before its first use, so nothing reads anything
// half made; an object that goes away waits for what it started.
#include <QStringList>

#include <memory>

namespace vn {

class IdleThread;
struct IniReadAhead;

class StartWarmUp {
public:
    // Starts the font configuration and the Shift-JIS tables.
    StartWarmUp();
    ~StartWarmUp();
    StartWarmUp(const StartWarmUp&) = delete;
    StartWarmUp& operator=(const StartWarmUp&) = delete;

    // Reads and parses these ini files and finds the days of the diary
    // folder, once their place is known: what the window reads.
    void readAhead(const QStringList& iniFiles, const QString& diaryFolder);
    // The same for what is read right after the first paint.
    void readAheadForLater(const QStringList& iniFiles);
    // Before the first font is looked up.
    void waitForFonts();
    // Before the window is made: hands the files read ahead to the reads.
    void adoptFilesReadAhead();
    // Right after the first paint: the same for those read for later.
    void adoptLaterFiles();

private:
    struct ReadAhead;
    struct Batch {
        std::shared_ptr<ReadAhead> read; // written by the thread's work
        std::unique_ptr<IdleThread> thread;
    };
    static void start(Batch& batch, const QStringList& iniFiles, const QString& diaryFolder);
    static void adopt(Batch& batch);
    std::unique_ptr<IdleThread> fonts_;
    Batch files_;
    Batch later_;
};

} // namespace vn
