#pragma once
// The jobs that run from program start to its end, whether or not any window
// is open: the run-record capture every ten seconds, and every quarter minute
// the uptime text (tray tip and main window caption) and the scheduled
// backup. The timers do nothing while the program starts or ends.
#include "backup/backupscheduler.h"
#include "foundation/uptime.h"
#include "runrecord/runrecordcapture.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace vn {

class BackgroundJobs : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<QString(int page)> pageText; // the page as its editor holds it
        std::function<void(const QString& text)> showUptime;
        std::function<void(const QString& message)> report; // failures, once each
        std::function<qint64()> msecsSinceBoot;
    };
    explicit BackgroundJobs(Hooks hooks, QObject* parent = nullptr);
    ~BackgroundJobs() override;

    // Wait after start-up before the catch-up backup, so the window comes up
    // first.
    static constexpr int kCatchUpDelayMSecs = 3000;

    // The start capture and the uptime text; the catch-up backup follows
    // once the event loop runs.
    void start();
    bool started() const { return started_; }
    // The exact last moment of the run record; the timers stop.
    void finish();

    // What the timers run.
    void captureTick();
    void quarterTick();
    void catchUpBackUp();
    void refreshUptime();

    RunRecordCapture& capture() { return capture_; }
    // How long the PC has been running, now.
    UptimeTexts uptimeTexts() const;

    // The timers that run the jobs, for tests that fire them by hand.
    enum class Timer { Capture, Quarter, CatchUp };
    QTimer* timer(Timer which);

signals:
    // A generation was made: lists of generations are out of date.
    void generationMade();
    // The uptime texts were refreshed (the settings dialog shows them).
    void uptimeRefreshed(const vn::UptimeTexts& uptime);

private:
    Hooks hooks_;
    std::unique_ptr<BackUpSource> source_;
    RunRecordCapture capture_;
    BackUpScheduler backUps_;
    QTimer captureTimer_;
    QTimer quarterTimer_;
    QTimer catchUpTimer_;
    bool started_ = false;
    bool uptimeShown_ = false;
};

} // namespace vn
