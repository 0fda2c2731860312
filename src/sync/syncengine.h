#pragma once
// One two-way sync of the data folder's schedules (and, when chosen, its
// diary) with a calendar on a server, through a CalendarTransport.
//
// Every schedule line is one event, every diary day one journal. What each
// side held as of the last sync is kept in VnoteSync.dat, so each item is
// decided three ways (here now, there now, then): pushed, pulled, deleted on
// the other side, or, when both sides changed it differently, kept twice
// (the other side's schedule as a further line; a diary day with the other
// side's text appended under a dated separator). Writes to the server carry
// ETags, so a change made there meanwhile is never overwritten; writes here
// are atomic and left for the next sync when the file changed meanwhile. The
// state is saved as the sync goes, and new items have UIDs made from their
// content, so a sync broken off at any point is finished by the next one
// without doubling anything.
#include "calendartransport.h"

#include "schedule/repetition.h"

#include <QString>
#include <QStringList>

namespace vn::sync {

struct SyncOptions {
    bool diary = false;    // diary days too
    QString calendar;      // names the calendar (its address): another one starts afresh
    QByteArray timeZone;   // IANA name of the zone schedules are in; empty: the system's
    HolidayTest isHoliday; // empty: the data folder's Holiday.dat
};

struct SyncResult {
    enum class Failure {
        None,
        Offline,      // no connection, server down: retried quietly later
        Unauthorized, // wrong user or password
        NotFound,     // the calendar is gone
        Certificate,  // the server's certificate is not trusted
        Server,       // the server answered with something else
        LocalFile,    // a file of the data folder could not be read or written
    };
    int pushed = 0;    // created or changed on the server
    int pulled = 0;    // created or changed here
    int deleted = 0;   // deleted on either side
    int conflicts = 0; // changed on both sides: kept both
    // Everything agreed when the sync ended; false: something waits for the
    // next sync (a file changed meanwhile, a change on the server meanwhile).
    bool complete = false;
    // What was written here, for the program to read again.
    bool schedulesChanged = false; // Schedule.dat
    QStringList diaryDaysChanged;  // "yyyymmdd", written or removed
    Failure failure = Failure::None;
    QString message; // Japanese, for the user; empty without a failure
    QString detail;  // the server's or system's own words, for a log

    bool ok() const { return failure == Failure::None; }
    // A failure the user must act on (told once), not one retried quietly.
    bool tellUser() const
    {
        return failure != Failure::None && failure != Failure::Offline &&
               failure != Failure::Server;
    }
};

// Syncs the data folder `dataDir` once. Blocks while the transport does.
SyncResult RunSync(const QString& dataDir, CalendarTransport& transport,
                   const SyncOptions& options);

// The state file of a data folder.
QString SyncStatePath(const QString& dataDir);

} // namespace vn::sync
