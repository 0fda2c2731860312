#pragma once
// The running capture of the run record: the start capture at program start,
// a tick every ten seconds while the program runs, and the exact last moment
// at every orderly end.
//
// Rewriting the whole record every ten seconds would write gigabytes a day
// with years of history, so the ticks only move the end in memory. The
// newest moments go into a small companion file, "Vnote.vdt.last", at least
// every 50 seconds (so a power cut loses less than a minute), and into the
// record itself once an hour, when a day opens, when the record is about to
// be read and at the end. The next start folds a companion file left by a
// power cut into the record. The record keeps its format throughout.
#include "runrecord.h"

#include <QMap>
#include <functional>

namespace vn {

class RunRecordCapture {
public:
    // Write failures are reported once until a write succeeds again.
    using Report = std::function<void(const QString& message)>;

    explicit RunRecordCapture(QString recordPath = RunRecordPath(), Report report = {});

    static constexpr qint64 kTickMSecs = 10'000;
    static constexpr qint64 kJournalMSecs = 50'000;
    static constexpr qint64 kRecordMSecs = 3'600'000;

    // Folds what a power cut left behind, then the start capture.
    void start();
    // The ten-second capture.
    void tick();
    // The exact last moment into the record (close, end of session, stop
    // signal). Later ticks and ends do nothing.
    void finish();
    // Every moment seen so far into the record, for a reader of the file.
    void flush();

    const QString& recordPath() const { return path_; }
    QString journalPath() const { return JournalPathFor(path_); }
    static QString JournalPathFor(const QString& recordPath);

    // What the capture has written, for the write budget.
    struct Stats {
        qint64 bytes = 0; // bytes of the files written
        int flushes = 0;  // file and folder flushes
        int recordWrites = 0;
        int journalWrites = 0;
    };
    const Stats& stats() const { return stats_; }

private:
    struct Seen {
        qint64 start = 0; // the first moment seen that day (written when S is missing)
        qint64 end = 0;
    };
    void see(const RunMoment& now);
    bool writeRecord();
    void writeJournal();
    void recoverJournal();
    void removeJournal();
    bool guarded(const std::function<void()>& write);

    QString path_;
    Report report_;
    QMap<int, Seen> pending_; // days seen since the last write of the record
    int openDay_ = -1;
    qint64 lastRecord_ = 0; // tick counts of the last writes
    qint64 lastDurable_ = 0;
    bool failing_ = false;
    bool finished_ = false;
    Stats stats_;
};

} // namespace vn
