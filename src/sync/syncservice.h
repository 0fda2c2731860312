#pragma once
// The sync as the program's windows and command line see it: set up an
// account, list its calendars, sync now. The work (network, keyring,
// iCalendar, the data folder's files) runs on a thread of the service's own;
// every answer comes back later, on the thread that made the service, through
// the function given with the request. Answers still due when the service
// ends are dropped.
//
// The service lives in the sync module (velnote-sync, next to the program or
// in the program's library folder), loaded at its first use, so the network
// and keyring libraries cost nothing at start-up: see LoadSyncService.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace vn::sync {

// How a request ended.
struct SyncReport {
    enum class Outcome {
        Done,
        Offline,     // no connection: tried again later, quietly
        UserMustAct, // wrong password, calendar gone, certificate, no account
        Failed,      // anything else (the server refused, a file could not be written)
    };
    Outcome outcome = Outcome::Done;
    QString message;     // Japanese, for the user; empty when done without remark
    QString certificate; // a refused certificate's fingerprint, for the user to accept
    bool plainHttp = false; // refused: plain http to another machine needs consent
    int pushed = 0, pulled = 0, deleted = 0, conflicts = 0;
    bool complete = true; // false: something waits for the next sync
    bool schedulesChanged = false; // Schedule.dat was written: read it again
    QStringList diaryDaysChanged;  // diary days written ("yyyymmdd")
    QDateTime finished;   // when the request ended (local time)

    bool ok() const { return outcome == Outcome::Done; }
};

// What the user types on the sync page or the command line.
struct AccountForm {
    QString server; // an address; "dav.example.com" means https://dav.example.com/
    QString user;
    QString password;
    QString acceptedCertificate; // a fingerprint the user has just accepted
    bool plainHttpAccepted = false;
};

struct CalendarEntry {
    QString url;
    QString name;
};

class SyncService {
public:
    virtual ~SyncService() = default;

    using CalendarsDone = std::function<void(const QList<CalendarEntry>&, const SyncReport&)>;
    using Done = std::function<void(const SyncReport&)>;

    // Connects and lists the calendars the account can write events to.
    virtual void listCalendars(const AccountForm& form, CalendarsDone done) = 0;
    // Keeps the account: the password in the desktop's keyring (or for this
    // run only where there is none: the report says so), the rest in the
    // data folder. An empty calendarUrl makes a new calendar of that name.
    virtual void setUp(const AccountForm& form, const QString& calendarUrl,
                       const QString& calendarName, bool diary, Done done) = 0;
    // Whether diary days are synced too.
    virtual void setDiary(bool on, Done done) = 0;
    // One sync of the account kept. Requests made while one runs are
    // folded into one more sync after it.
    virtual void syncNow(Done done) = 0;
    // Forgets the account and its password; the data folder's files stay.
    virtual void forget(Done done) = 0;
    // Blocks until nothing is running or queued, at most msecs; true when idle.
    virtual bool waitIdle(int msecs) = 0;
};

// The module's entry point: a service for the data folder.
inline constexpr char kSyncModuleEntry[] = "vnCreateSyncService";
using SyncModuleEntry = SyncService* (*)(const QString& dataDir);

// Loads the sync module and makes a service; null when the module cannot be
// had (the reason in `error`, in Japanese with the loader's words in brackets).
std::unique_ptr<SyncService> LoadSyncService(const QString& dataDir, QString* error = nullptr);

} // namespace vn::sync
