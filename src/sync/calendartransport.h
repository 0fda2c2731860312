#pragma once
// What the sync engine needs from a calendar collection on a server. The
// CalDAV client implements it over the network; tests use an in-memory
// calendar. Calls block the calling thread until the server has answered or
// failed, so the engine runs on a worker thread or from the command line,
// never on the window's thread.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace vn::sync {

struct TransportError {
    enum class Kind {
        None,
        Offline,            // no connection, time-out, server down: retry later
        Unauthorized,       // wrong user or password: the user must act
        NotFound,           // the calendar or resource is gone
        PreconditionFailed, // If-Match / If-None-Match did not hold (412)
        SyncTokenInvalid,   // the server no longer knows the token: list all
        Certificate,        // the server's certificate is not trusted
        Server,             // any other answer the request cannot go on with
    };
    Kind kind = Kind::None;
    int httpStatus = 0;
    QString detail; // the server's or system's own words, for the log only

    bool ok() const { return kind == Kind::None; }
};

struct RemoteResource {
    QString href;    // path on the server, as the server names it
    QByteArray etag; // opaque, quotes kept
    QByteArray data; // the iCalendar object
};

struct RemoteChanges {
    QHash<QString, QByteArray> changed; // href -> etag, new or changed
    QStringList deleted;                // hrefs gone from the server
    QByteArray syncToken;               // empty when the server has none
    bool complete = false;              // true: `changed` lists everything
};

class CalendarTransport {
public:
    virtual ~CalendarTransport() = default;

    // Changes since `syncToken` (sync-collection), or, with an empty token or
    // where the server offers no sync-collection, every resource with its
    // ETag (complete = true).
    virtual RemoteChanges changesSince(const QByteArray &syncToken, TransportError &error) = 0;

    // The resources named, with their ETags (calendar-multiget or GET).
    // Hrefs that are gone are left out of the answer.
    virtual QList<RemoteResource> fetch(const QStringList &hrefs, TransportError &error) = 0;

    // Writes `data` at `href`. An empty `ifMatch` creates (If-None-Match: *),
    // otherwise the write only happens while the resource still has that ETag.
    // Returns the new ETag (empty when the server gave none: fetch it later).
    virtual QByteArray put(const QString &href, const QByteArray &data, const QByteArray &ifMatch,
                           TransportError &error) = 0;

    // Deletes `href` while it still has the ETag `ifMatch` (any when empty).
    virtual void remove(const QString &href, const QByteArray &ifMatch, TransportError &error) = 0;

    // The href for a new resource named `uid` within the collection.
    virtual QString hrefForNew(const QString &uid) const = 0;
};

} // namespace vn::sync
