#pragma once
// One HTTP exchange at a time with a CalDAV server, blocking the calling
// thread: each request runs a local event loop on that thread until the
// answer is in, the transfer stalls for the time-out, or it fails. The
// QNetworkAccessManager lives on the thread that makes the requests (it is
// made again when another thread takes over the session, and ends with its
// thread or the session).
//
// Basic authentication goes with every request, so a request costs one
// round trip; it is only ever sent over https, or over plain http to this
// machine (localhost, 127.0.0.1, ::1) or where the user accepted the
// warning. Certificates are checked by the system's trust store; a
// certificate the system does not trust is refused unless its SHA-256
// fingerprint is one the user accepted for this server.
#include "calendartransport.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;
class QSslCertificate;

namespace vn::sync {

// Where and as whom to connect.
struct ServerAccess {
    QUrl server; // the address the user gave
    QString user;
    QString password;
    // SHA-256 fingerprints ("AB:CD:...") of certificates the user accepted
    // for this server although the system does not trust them.
    QStringList acceptedCertificates;
    bool plainHttpAccepted = false; // the user accepted http:// to another host
    int timeoutMs = 30000;          // a transfer that stalls this long fails (Offline)
};

struct DavReply {
    int status = 0; // HTTP status, 0 when no answer came
    QByteArray body;
    QByteArray etag;     // the ETag header, quotes kept
    QByteArray location; // the Location header
    QUrl url;            // where the answer came from (after redirects)
};

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

class DavSession {
public:
    explicit DavSession(ServerAccess access);
    ~DavSession();
    DavSession(const DavSession&) = delete;
    DavSession& operator=(const DavSession&) = delete;

    const ServerAccess& access() const { return access_; }

    // Sends one request. Network failures and refusals set `error` (the
    // status is 0 then); any HTTP answer comes back as it is, `error` left
    // alone, for the caller to judge by its status. With `followRedirects`,
    // 301/302/303/307/308 are followed (at most five, to the same scheme or
    // from http to https), repeating the same method and body.
    DavReply send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                  const HeaderList& headers, TransportError& error, bool followRedirects = false);

    // The fingerprint of the last certificate refused as untrusted.
    QString refusedCertificate() const { return refusedCertificate_; }
    // Requests sent so far (redirects each count), for benchmarks.
    int requestCount() const { return requests_; }

    // "AB:CD:..." (SHA-256 of the DER form).
    static QString fingerprint(const QSslCertificate& certificate);
    static bool isThisMachine(const QUrl& url);
    // Whether a request to `url` must wait for the user to accept plain http.
    static bool needsPlainHttpConsent(const QUrl& url);

private:
    DavReply sendOnce(const QByteArray& method, const QUrl& url, const QByteArray& body,
                      const HeaderList& headers, TransportError& error);
    QNetworkAccessManager& manager();

    ServerAccess access_;
    QPointer<QNetworkAccessManager> manager_; // on the thread of the last request
    QString refusedCertificate_;
    int requests_ = 0;
};

// The transport error an HTTP status stands for (None for 2xx).
TransportError StatusError(int status, const QByteArray& body = {});

} // namespace vn::sync
