#pragma once
// The program: one instance per session, its thirteen windows, the event
// loop, and the real close at the end of the session or on a stop signal.
#include "schedule/balloonhints.h"
#include "workspace/mainwindow.h"

#include <QApplication>
#include <QDialog>
#include <memory>

namespace vn {

class VelnoteApplication : public QApplication {
    Q_OBJECT
public:
    VelnoteApplication(int& argc, char** argv);
    // Errors escaping an event handler reach the error box here.
    bool notify(QObject* receiver, QEvent* event) override;
};

class SecondaryWindows;

// The thirteen windows: the main window first, each other one made on its
// first use (SecondaryWindows), or all at once in their fixed order. The
// secondary windows are children of the main window, which deletes them;
// a slot stays null until its window is made.
struct Windows {
    // The program's balloon hints: the list window edits them, the minute
    // check asks them. Declared first, it outlives the windows.
    std::unique_ptr<BalloonHintStore> balloonHints;
    std::unique_ptr<MainWindow> memo;
    QDialog *dateTime = nullptr, *term = nullptr, *scheduleList = nullptr, *schedule = nullptr,
            *holidayList = nullptr, *holiday = nullptr, *balloonHint = nullptr,
            *balloonHintList = nullptr, *search = nullptr, *backUpMemo = nullptr, *env = nullptr,
            *backUpInfo = nullptr;
    SecondaryWindows* secondary = nullptr; // makes the others, a child of memo
};
void CreateMainWindow(Windows& windows);
// All the secondary windows at once and wired to each other and the main
// window, the quiet start ended.
void CreateSecondaryWindows(Windows& windows);
void CreateWindows(Windows& windows); // both at once

// Once the instance is ours, before anything is read or written: a write
// past the file-size limit fails like a full disk instead of killing the
// process (SIGXFSZ ignored), and the temporary files that killed processes
// left in the data folder before startedAt (seconds since the epoch) go.
void StartUpHousekeeping(qint64 startedAt);

// The end of the desktop session or a stop signal: the open lists and the
// main window save what they can and the program ends. A save that fails is
// told (on the error output: nobody may be there to answer a box) but never
// keeps the program running.
void EndSession(MainWindow* main);

int RunVelnote(int argc, char** argv);

} // namespace vn
