#pragma once
// A CalDAV client: finds the calendars of an account, makes one, and acts
// as the sync engine's CalendarTransport on the calendar chosen.
//
// Every call blocks the calling thread until the server has answered (see
// DavSession): call it from a worker thread or the command line, and from
// one thread at a time.
//
//     CalDavClient client({QUrl("https://dav.example.com"), user, password});
//     TransportError error;
//     QList<CalendarInfo> calendars = client.discoverCalendars(error);
//     client.setCalendar(calendars.first().url); // or createCalendar("Velnote", error)
//     RemoteChanges changes = client.changesSince(token, error);
//
// Hrefs given to and returned by the transport calls are paths on the
// calendar's server, percent-encoded one way whatever the server's own
// spelling ("/dav/cal/a%40b.ics"), so they compare as plain strings.
//
// Errors: Offline (no connection, time-out, 408, 429, 502, 503, 504),
// Unauthorized (401), NotFound (404, 410: the calendar or the resource is
// gone), PreconditionFailed (412), SyncTokenInvalid (403 or 409 to a
// sync-collection with a token), Certificate (a certificate the system does
// not trust, whose fingerprint refusedCertificate() gives; or plain http to
// another machine without the user's consent: no fingerprint), Server (any
// other answer).
#include "calendartransport.h"
#include "davsession.h"

#include <QList>
#include <QString>
#include <QUrl>

namespace vn::sync {

struct MultiStatus;
struct SyncAccount;

struct CalendarInfo {
    QUrl url;             // the collection, ending in "/"
    QString displayName;  // the last part of its path when it has none
    bool journals = true; // accepts VJOURNAL (the diary) besides VEVENT
};

// The address a user typed as the client takes it: without a scheme it is
// https ("dav.example.com" -> "https://dav.example.com/"); blanks around it
// are dropped, and so are a user and password typed into it. Invalid
// (isValid() false) when it is no address at all.
QUrl ServerUrlFromInput(const QString& typed);

// The access for a stored account with its password: the certificates the
// user accepted for its server and its calendar's server go with it.
ServerAccess AccessFor(const SyncAccount& account, const QString& password);

class CalDavClient : public CalendarTransport {
public:
    explicit CalDavClient(ServerAccess access);

    // The calendars of the account that take events and that the user may
    // write, found from the address given: the address itself when it has a
    // path, then its /.well-known/caldav (RFC 6764, redirects followed) and
    // its root, for the account's principal and its calendar home.
    QList<CalendarInfo> discoverCalendars(TransportError& error);
    // Makes a calendar for events and journals in the account's calendar
    // home (MKCALENDAR, else extended MKCOL), finding the home first if
    // discoverCalendars has not.
    CalendarInfo createCalendar(const QString& displayName, TransportError& error);

    void setCalendar(const QUrl& calendar);
    QUrl calendar() const { return calendar_; }

    // After an error of kind Certificate: the fingerprint of the certificate
    // the system does not trust, for the user to compare and accept (empty
    // when the refusal was plain http to another machine).
    QString refusedCertificate() const { return session_.refusedCertificate(); }
    // HTTP requests sent so far, for benchmarks.
    int requestCount() const { return session_.requestCount(); }

    // The transport, on the calendar set by setCalendar.
    RemoteChanges changesSince(const QByteArray& syncToken, TransportError& error) override;
    QList<RemoteResource> fetch(const QStringList& hrefs, TransportError& error) override;
    QByteArray put(const QString& href, const QByteArray& data, const QByteArray& ifMatch,
                   TransportError& error) override;
    void remove(const QString& href, const QByteArray& ifMatch, TransportError& error) override;
    QString hrefForNew(const QString& uid) const override;

    // Every resource of the calendar with its ETag by a plain listing
    // (PROPFIND), as changesSince answers where the server has no
    // sync-collection: complete, without a token.
    RemoteChanges listAll(TransportError& error);

    // The one spelling of a path or URL the transport uses (see above).
    static QString normalizedHref(const QString& href);

private:
    bool findHome(TransportError& error);
    QUrl resourceUrl(const QString& href) const;
    bool multistatus(const QByteArray& method, const QUrl& url, int depth, const QByteArray& body,
                     MultiStatus& out, TransportError& error, int* status = nullptr,
                     bool followRedirects = false);
    QList<RemoteResource> fetchEach(const QStringList& hrefs, TransportError& error);

    DavSession session_;
    QUrl home_;     // the calendar home, once found
    QUrl calendar_; // the calendar the transport acts on
};

} // namespace vn::sync
