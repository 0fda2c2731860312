#include "davsession.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QThread>

namespace vn::sync {

namespace {

constexpr int kMaxRedirects = 5;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

TransportError failure(TransportError::Kind kind, QString detail, int status = 0)
{
    TransportError e;
    e.kind = kind;
    e.httpStatus = status;
    e.detail = std::move(detail);
    return e;
}

} // namespace

DavSession::DavSession(ServerAccess access) : access_(std::move(access)) {}

DavSession::~DavSession()
{
    if (!manager_)
        return;
    if (manager_->thread() == QThread::currentThread())
        delete manager_.data();
    else
        manager_->deleteLater(); // its own thread ends it
}

QString DavSession::fingerprint(const QSslCertificate& certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

bool DavSession::isThisMachine(const QUrl& url)
{
    const QString host = url.host().toLower();
    if (host == u"localhost")
        return true;
    QHostAddress address;
    return address.setAddress(host) && (address == QHostAddress(QHostAddress::LocalHost) ||
                                        address == QHostAddress(QHostAddress::LocalHostIPv6));
}

bool DavSession::needsPlainHttpConsent(const QUrl& url)
{
    return url.scheme().compare(u"http", Qt::CaseInsensitive) == 0 && !isThisMachine(url);
}

QNetworkAccessManager& DavSession::manager()
{
    QThread* const here = QThread::currentThread();
    if (manager_ && manager_->thread() == here)
        return *manager_;
    // Another thread's manager is that thread's to end: at once while it
    // runs, or as it finishes (below).
    if (manager_)
        manager_->deleteLater();
    manager_ = new QNetworkAccessManager;
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    // A worker thread ends its manager as it finishes, on that thread.
    if (QCoreApplication::instance() && here != QCoreApplication::instance()->thread())
        QObject::connect(here, &QThread::finished, manager_.data(), &QObject::deleteLater,
                         Qt::DirectConnection);
    return *manager_;
}

DavReply DavSession::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                          const HeaderList& headers, TransportError& error, bool followRedirects)
{
    QUrl current = url;
    for (int hops = 0;; ++hops) {
        DavReply reply = sendOnce(method, current, body, headers, error);
        if (!followRedirects || !isRedirect(reply.status) || reply.location.isEmpty() ||
            hops == kMaxRedirects)
            return reply;
        const QUrl next = current.resolved(QUrl::fromEncoded(reply.location));
        const QString from = current.scheme().toLower(), to = next.scheme().toLower();
        if (!(from == to || (from == u"http" && to == u"https"))) {
            error = failure(TransportError::Kind::Server,
                            QStringLiteral("redirect from %1 to %2 refused")
                                .arg(current.toDisplayString(), next.toDisplayString()),
                            reply.status);
            return reply;
        }
        current = next;
    }
}

DavReply DavSession::sendOnce(const QByteArray& method, const QUrl& url, const QByteArray& body,
                              const HeaderList& headers, TransportError& error)
{
    DavReply out;
    out.url = url;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"https" && scheme != u"http") {
        error = failure(TransportError::Kind::Server,
                        QStringLiteral("not an http(s) address: ") + url.toDisplayString());
        return out;
    }
    if (needsPlainHttpConsent(url) && !access_.plainHttpAccepted) {
        // Refused before anything (the password above all) goes out in the
        // clear: the user has to accept it, as for an untrusted certificate.
        error = failure(TransportError::Kind::Certificate,
                        QStringLiteral("plain http to another machine: ") + url.host());
        return out;
    }

    // Credentials go in their header only, never in an address that error
    // texts repeat.
    QUrl target = url;
    target.setUserInfo({});
    QNetworkRequest request(target);
    request.setTransferTimeout(access_.timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Velnote"));
    if (!access_.user.isEmpty())
        request.setRawHeader("Authorization",
                             "Basic " +
                                 (access_.user + u':' + access_.password).toUtf8().toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);

    ++requests_;
    QNetworkReply* reply = manager().sendCustomRequest(request, method, body);
    bool refused = false;
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [&, reply](const QList<QSslError>& errors) {
                         QSslCertificate peer = reply->sslConfiguration().peerCertificate();
                         if (peer.isNull() && !errors.isEmpty())
                             peer = errors.first().certificate();
                         const QString print = fingerprint(peer);
                         if (!peer.isNull() &&
                             access_.acceptedCertificates.contains(print, Qt::CaseInsensitive)) {
                             reply->ignoreSslErrors(errors);
                             return;
                         }
                         refused = true;
                         refusedCertificate_ = print;
                     });
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen())
        out.body = reply->readAll();
    out.etag = reply->rawHeader("ETag");
    out.location = reply->rawHeader("Location");
    if (out.status == 0) {
        const QString detail = reply->errorString();
        if (refused)
            error = failure(TransportError::Kind::Certificate, detail);
        else if (reply->error() == QNetworkReply::SslHandshakeFailedError ||
                 reply->error() == QNetworkReply::ProtocolUnknownError)
            error = failure(TransportError::Kind::Server, detail);
        else // refused, reset, host not found, time-out, no route...
            error = failure(TransportError::Kind::Offline, detail);
    }
    delete reply;
    return out;
}

TransportError StatusError(int status, const QByteArray& body)
{
    using Kind = TransportError::Kind;
    if (status >= 200 && status < 300)
        return {};
    Kind kind = Kind::Server;
    switch (status) {
    case 401: kind = Kind::Unauthorized; break;
    case 404:
    case 410: kind = Kind::NotFound; break;
    case 412: kind = Kind::PreconditionFailed; break;
    case 408:
    case 429:
    case 502:
    case 503:
    case 504: kind = Kind::Offline; break;
    default: break;
    }
    return failure(kind,
                   QStringLiteral("HTTP %1 %2").arg(status).arg(QString::fromUtf8(body.left(300))),
                   status);
}

} // namespace vn::sync
