#pragma once
// The sync account: which server, as whom, which calendar, whether the
// diary goes too, and the certificates the user accepted. It lives in a file
// of the sync's own in the data folder ("VnoteSync.ini", UTF-8, CR LF),
// beside the program's other files and never in them. The password is never
// here: it goes to the desktop's keyring (platform/passwordstore.h).
//
//     [Account]
//     Server=https://dav.example.com/
//     User=alice
//     Calendar=https://dav.example.com/alice/velnote/
//     CalendarName=Velnote
//     Diary=1
//     PlainHttp=0
//     [Certificates]
//     dav.example.com:443=AB:CD:...   (one line per accepted certificate)
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace vn::sync {

struct AcceptedCertificate {
    QString server;      // "host:port"
    QString fingerprint; // SHA-256, "AB:CD:..."
    bool operator==(const AcceptedCertificate&) const = default;
};

struct SyncAccount {
    QString server; // the address the user gave
    QString user;
    QString calendarUrl; // the calendar collection, empty until one is chosen
    QString calendarName;
    bool diary = false;
    bool plainHttpAccepted = false; // the user accepted http:// to another machine
    QList<AcceptedCertificate> certificates;

    bool operator==(const SyncAccount&) const = default;
    // Set up enough to sync.
    bool configured() const { return !server.isEmpty() && !calendarUrl.isEmpty(); }
    // The accepted fingerprints for the server of `url`.
    QStringList certificatesFor(const QUrl& url) const;
    // Keeps `fingerprint` as accepted for the server of `url`.
    void acceptCertificate(const QUrl& url, const QString& fingerprint);
};

// The server key a certificate is kept under: "host:port".
QString ServerKey(const QUrl& url);

// "VnoteSync.ini" in the data folder (the base name follows the program's).
QString SyncAccountPath();
// A missing file is an account not set up. Throws AppError when the file
// cannot be read.
SyncAccount ReadSyncAccount(const QString& path);
// Writes the account atomically, only when the file's content changes; a
// password typed into an address is left out.
// True when it wrote. Throws AppError when the write fails.
bool WriteSyncAccount(const QString& path, const SyncAccount& account);

} // namespace vn::sync
