#include "caldavclient.h"

#include "davxml.h"
#include "syncaccount.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QUuid>

namespace vn::sync {

namespace {

using Kind = TransportError::Kind;

constexpr int kMultigetChunk = 100; // hrefs per calendar-multiget
constexpr int kMaxSyncRounds = 100; // truncated sync-collection answers followed

const QByteArray kXmlType = QByteArrayLiteral("application/xml; charset=utf-8");

TransportError serverError(const QString& detail)
{
    TransportError e;
    e.kind = Kind::Server;
    e.detail = detail;
    return e;
}

// Failures that no other way round the server can mend.
bool isFinal(const TransportError& e)
{
    return e.kind == Kind::Offline || e.kind == Kind::Unauthorized || e.kind == Kind::Certificate;
}

// The answers by which a server says it does not do a report or method.
bool isUnsupported(int status)
{
    return status == 400 || status == 403 || status == 405 || status == 415 || status == 501;
}

bool takesComponent(const DavNode* set, QStringView component)
{
    if (!set) // no set: every component
        return true;
    for (const DavNode& comp : set->children)
        if (comp.name == CalDav("comp") &&
            comp.attributes.value(QStringLiteral("name")).compare(component, Qt::CaseInsensitive) ==
                0)
            return true;
    return false;
}

bool grantsWrite(const DavNode* privileges)
{
    if (!privileges) // not told: try
        return true;
    for (const DavNode& privilege : privileges->children)
        for (const DavNode& p : privilege.children)
            if (p.name == Dav("write") || p.name == Dav("write-content") || p.name == Dav("all"))
                return true;
    return false;
}

// iCalendar lines end in CR LF; an XML reader hands them over as LF.
QByteArray crlfLines(const QString& text)
{
    QByteArray data = text.toUtf8();
    data.replace("\r\n", "\n");
    data.replace('\n', "\r\n");
    return data;
}

QString lastSegment(const QUrl& url)
{
    const QStringList parts = url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
    return parts.isEmpty() ? QString() : parts.last();
}

} // namespace

QUrl ServerUrlFromInput(const QString& typed)
{
    QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    if (!text.contains(QStringLiteral("://")))
        text.prepend(QStringLiteral("https://"));
    QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"https" && scheme != u"http"))
        return {};
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    url.setUserInfo({}); // the user and password have fields of their own
    return url;
}

ServerAccess AccessFor(const SyncAccount& account, const QString& password)
{
    ServerAccess access;
    access.server = ServerUrlFromInput(account.server);
    access.user = account.user;
    access.password = password;
    access.plainHttpAccepted = account.plainHttpAccepted;
    access.acceptedCertificates = account.certificatesFor(access.server);
    for (const QString& print : account.certificatesFor(QUrl(account.calendarUrl)))
        if (!access.acceptedCertificates.contains(print))
            access.acceptedCertificates << print;
    return access;
}

CalDavClient::CalDavClient(ServerAccess access) : session_(std::move(access)) {}

QString CalDavClient::normalizedHref(const QString& href)
{
    const QUrl url = QUrl::fromEncoded(href.trimmed().toUtf8());
    return QString::fromLatin1(QUrl::toPercentEncoding(url.path(QUrl::FullyDecoded), "/"));
}

void CalDavClient::setCalendar(const QUrl& calendar)
{
    calendar_ = calendar;
    if (!calendar_.path().endsWith(u'/'))
        calendar_.setPath(calendar_.path() + u'/');
}

QUrl CalDavClient::resourceUrl(const QString& href) const
{
    return calendar_.resolved(QUrl::fromEncoded(href.toUtf8()));
}

bool CalDavClient::multistatus(const QByteArray& method, const QUrl& url, int depth,
                               const QByteArray& body, MultiStatus& out, TransportError& error,
                               int* status, bool followRedirects)
{
    const DavReply reply = session_.send(
        method, url, body, {{"Depth", QByteArray::number(depth)}, {"Content-Type", kXmlType}},
        error, followRedirects);
    if (status)
        *status = reply.status;
    if (!error.ok())
        return false;
    if (reply.status != 207) {
        error = StatusError(reply.status, reply.body);
        return false;
    }
    QString why;
    if (!ParseMultiStatus(reply.body, out, &why)) {
        error = serverError(QStringLiteral("unreadable multistatus: ") + why);
        return false;
    }
    // Hrefs are resolved against where the answer came from.
    for (DavResponse& r : out.responses)
        r.href =
            reply.url.resolved(QUrl::fromEncoded(r.href.toUtf8())).toString(QUrl::FullyEncoded);
    return true;
}

bool CalDavClient::findHome(TransportError& error)
{
    QUrl given = session_.access().server;
    if (given.path().isEmpty())
        given.setPath(QStringLiteral("/"));
    QList<QUrl> candidates;
    if (given.path() != u"/")
        candidates << given;
    candidates << given.resolved(QUrl(QStringLiteral("/.well-known/caldav")))
               << given.resolved(QUrl(QStringLiteral("/")));

    QUrl principal;
    TransportError last;
    for (const QUrl& candidate : candidates) {
        MultiStatus ms;
        TransportError e;
        const QByteArray body =
            PropfindBody({Dav("current-user-principal"), CalDav("calendar-home-set")});
        if (!multistatus("PROPFIND", candidate, 0, body, ms, e, nullptr, true)) {
            if (isFinal(e)) {
                error = e;
                return false;
            }
            last = e;
            continue;
        }
        for (const DavResponse& r : ms.responses) {
            const QUrl at(r.href);
            if (const DavNode* p = r.prop(CalDav("calendar-home-set")); p && !p->hrefs().isEmpty())
                home_ = at.resolved(QUrl::fromEncoded(p->hrefs().first().toUtf8()));
            if (const DavNode* p = r.prop(Dav("current-user-principal"));
                p && !p->hrefs().isEmpty())
                principal = at.resolved(QUrl::fromEncoded(p->hrefs().first().toUtf8()));
        }
        if (!home_.isEmpty() || !principal.isEmpty())
            break;
    }
    if (home_.isEmpty() && !principal.isEmpty()) {
        MultiStatus ms;
        if (!multistatus("PROPFIND", principal, 0, PropfindBody({CalDav("calendar-home-set")}), ms,
                         error, nullptr, true))
            return false;
        for (const DavResponse& r : ms.responses)
            if (const DavNode* p = r.prop(CalDav("calendar-home-set")); p && !p->hrefs().isEmpty())
                home_ = QUrl(r.href).resolved(QUrl::fromEncoded(p->hrefs().first().toUtf8()));
    }
    if (home_.isEmpty()) {
        error = last.ok() ? serverError(QStringLiteral("no calendar home found")) : last;
        return false;
    }
    if (!home_.path().endsWith(u'/'))
        home_.setPath(home_.path() + u'/');
    return true;
}

QList<CalendarInfo> CalDavClient::discoverCalendars(TransportError& error)
{
    if (!findHome(error))
        return {};
    MultiStatus ms;
    const QByteArray body = PropfindBody({Dav("resourcetype"), Dav("displayname"),
                                          CalDav("supported-calendar-component-set"),
                                          Dav("current-user-privilege-set")});
    if (!multistatus("PROPFIND", home_, 1, body, ms, error))
        return {};
    QList<CalendarInfo> out;
    for (const DavResponse& r : ms.responses) {
        const DavNode* type = r.prop(Dav("resourcetype"));
        const DavNode* components = r.prop(CalDav("supported-calendar-component-set"));
        if (!type || !type->hasChild(CalDav("calendar")) ||
            !takesComponent(components, u"VEVENT") ||
            !grantsWrite(r.prop(Dav("current-user-privilege-set"))))
            continue;
        CalendarInfo info;
        info.url = QUrl(r.href);
        if (!info.url.path().endsWith(u'/'))
            info.url.setPath(info.url.path() + u'/');
        const DavNode* name = r.prop(Dav("displayname"));
        info.displayName = name ? name->text.trimmed() : QString();
        if (info.displayName.isEmpty())
            info.displayName = lastSegment(info.url);
        info.journals = takesComponent(components, u"VJOURNAL");
        out << info;
    }
    return out;
}

CalendarInfo CalDavClient::createCalendar(const QString& displayName, TransportError& error)
{
    if (home_.isEmpty() && !findHome(error))
        return {};
    CalendarInfo info;
    info.url = home_.resolved(QUrl(QUuid::createUuid().toString(QUuid::WithoutBraces) + u'/'));
    info.displayName = displayName;
    // MKCALENDAR for events and journals; a server that refuses journals gets
    // one for events only; one without MKCALENDAR an extended MKCOL.
    struct Attempt {
        QByteArray method;
        bool journals;
    };
    const Attempt attempts[] = {{"MKCALENDAR", true}, {"MKCALENDAR", false}, {"MKCOL", true}};
    for (const Attempt& a : attempts) {
        error = {};
        const DavReply reply = session_.send(
            a.method, info.url, MakeCalendarBody(displayName, a.method == "MKCOL", a.journals),
            {{"Content-Type", kXmlType}}, error);
        if (!error.ok())
            return {};
        if (reply.status == 201 || reply.status == 200) {
            info.journals = a.journals;
            return info;
        }
        error = StatusError(reply.status, reply.body);
        if (error.kind == Kind::Unauthorized || !isUnsupported(reply.status))
            return {};
    }
    return {};
}

RemoteChanges CalDavClient::changesSince(const QByteArray& syncToken, TransportError& error)
{
    if (calendar_.isEmpty()) {
        error = serverError(QStringLiteral("no calendar chosen"));
        return {};
    }
    const QString self = normalizedHref(calendar_.toString(QUrl::FullyEncoded));
    RemoteChanges out;
    out.complete = syncToken.isEmpty();
    QByteArray token = syncToken;
    for (int round = 0; round < kMaxSyncRounds; ++round) {
        MultiStatus ms;
        int status = 0;
        if (!multistatus("REPORT", calendar_, 0, SyncCollectionBody(token), ms, error, &status)) {
            if (error.kind == Kind::Server && (status == 403 || status == 409) &&
                !token.isEmpty()) {
                error.kind = Kind::SyncTokenInvalid;
                return {};
            }
            if (error.kind == Kind::Server && round == 0 && token.isEmpty() &&
                isUnsupported(status)) {
                error = {};
                return listAll(error);
            }
            return {};
        }
        bool truncated = false;
        for (const DavResponse& r : ms.responses) {
            const QString href = normalizedHref(r.href);
            if (href == self) {
                truncated = truncated || r.status == 507;
                continue;
            }
            if (r.status == 404 || r.status == 410) {
                out.changed.remove(href);
                if (!out.deleted.contains(href))
                    out.deleted << href;
                continue;
            }
            const DavNode* etag = r.prop(Dav("getetag"));
            out.deleted.removeAll(href);
            out.changed.insert(href, etag ? etag->text.trimmed().toUtf8() : QByteArray());
        }
        out.syncToken = ms.syncToken;
        if (!truncated || ms.syncToken.isEmpty() || ms.syncToken == token)
            return out;
        token = ms.syncToken;
    }
    return out;
}

RemoteChanges CalDavClient::listAll(TransportError& error)
{
    const QString self = normalizedHref(calendar_.toString(QUrl::FullyEncoded));
    MultiStatus ms;
    if (!multistatus("PROPFIND", calendar_, 1, PropfindBody({Dav("resourcetype"), Dav("getetag")}),
                     ms, error))
        return {};
    RemoteChanges out;
    out.complete = true;
    for (const DavResponse& r : ms.responses) {
        const QString href = normalizedHref(r.href);
        const DavNode* type = r.prop(Dav("resourcetype"));
        if (href == self || (type && type->hasChild(Dav("collection"))))
            continue;
        const DavNode* etag = r.prop(Dav("getetag"));
        out.changed.insert(href, etag ? etag->text.trimmed().toUtf8() : QByteArray());
    }
    return out;
}

QList<RemoteResource> CalDavClient::fetch(const QStringList& hrefs, TransportError& error)
{
    QList<RemoteResource> out;
    for (qsizetype from = 0; from < hrefs.size(); from += kMultigetChunk) {
        QStringList chunk;
        for (const QString& h : hrefs.mid(from, kMultigetChunk))
            chunk << normalizedHref(h);
        MultiStatus ms;
        int status = 0;
        if (!multistatus("REPORT", calendar_, 1, CalendarMultigetBody(chunk), ms, error, &status)) {
            if (error.kind != Kind::Server || !isUnsupported(status))
                return {};
            error = {};
            out += fetchEach(chunk, error);
            if (!error.ok())
                return {};
            continue;
        }
        for (const DavResponse& r : ms.responses) {
            const DavNode* data = r.prop(CalDav("calendar-data"));
            const QString href = normalizedHref(r.href);
            if (!data || r.status == 404 || !chunk.contains(href))
                continue;
            const DavNode* etag = r.prop(Dav("getetag"));
            out.append(
                {href, etag ? etag->text.trimmed().toUtf8() : QByteArray(), crlfLines(data->text)});
        }
    }
    return out;
}

QList<RemoteResource> CalDavClient::fetchEach(const QStringList& hrefs, TransportError& error)
{
    QList<RemoteResource> out;
    for (const QString& href : hrefs) {
        const DavReply reply = session_.send("GET", resourceUrl(href), {}, {}, error);
        if (!error.ok())
            return {};
        if (reply.status == 404 || reply.status == 410)
            continue;
        error = StatusError(reply.status, reply.body);
        if (!error.ok())
            return {};
        out.append({href, reply.etag, reply.body});
    }
    return out;
}

QByteArray CalDavClient::put(const QString& href, const QByteArray& data, const QByteArray& ifMatch,
                             TransportError& error)
{
    HeaderList headers{{"Content-Type", "text/calendar; charset=utf-8"}};
    if (ifMatch.isEmpty())
        headers.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    else
        headers.append(qMakePair(QByteArray("If-Match"), ifMatch));
    const DavReply reply = session_.send("PUT", resourceUrl(href), data, headers, error);
    if (!error.ok())
        return {};
    error = StatusError(reply.status, reply.body);
    // A weak tag cannot guard a later write: fetch the strong one then.
    if (!error.ok() || reply.etag.startsWith("W/"))
        return {};
    return reply.etag;
}

void CalDavClient::remove(const QString& href, const QByteArray& ifMatch, TransportError& error)
{
    HeaderList headers;
    if (!ifMatch.isEmpty())
        headers.append(qMakePair(QByteArray("If-Match"), ifMatch));
    const DavReply reply = session_.send("DELETE", resourceUrl(href), {}, headers, error);
    if (error.ok())
        error = StatusError(reply.status, reply.body);
}

QString CalDavClient::hrefForNew(const QString& uid) const
{
    // A uid of letters, digits and - . _ @ names its resource; any other
    // (a slash would make a sub-path) is named by its hash.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._@-]{1,200}$"));
    const QString name =
        plain.match(uid).hasMatch()
            ? uid
            : QString::fromLatin1(
                  QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex());
    return normalizedHref(calendar_.path(QUrl::FullyEncoded) + name + QStringLiteral(".ics"));
}

} // namespace vn::sync
