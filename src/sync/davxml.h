#pragma once
// The WebDAV and CalDAV XML the client sends and reads: request bodies
// written with QXmlStreamWriter, multistatus answers read with
// QXmlStreamReader by namespace, whatever prefixes the server chose.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace vn::sync {

inline constexpr QStringView kDavNs = u"DAV:";
inline constexpr QStringView kCalDavNs = u"urn:ietf:params:xml:ns:caldav";

// A property name: namespace and local name.
struct DavName {
    QString ns;
    QString name;
    bool operator==(const DavName&) const = default;
};
inline DavName Dav(const char* name)
{
    return {kDavNs.toString(), QString::fromLatin1(name)};
}
inline DavName CalDav(const char* name)
{
    return {kCalDavNs.toString(), QString::fromLatin1(name)};
}

// An element of a property's value: its name, attributes, text and children.
struct DavNode {
    DavName name;
    QHash<QString, QString> attributes; // by local name
    QString text;                       // the element's own text, as read
    QList<DavNode> children;

    const DavNode* child(const DavName& n) const;
    bool hasChild(const DavName& n) const { return child(n) != nullptr; }
    // The text of every DAV:href below this node, in document order.
    QStringList hrefs() const;
};

struct DavResponse {
    QString href;         // as the server wrote it
    int status = 0;       // the response's own status (a deleted member: 404), else 0
    QList<DavNode> props; // the properties found (a 2xx propstat)

    const DavNode* prop(const DavName& n) const;
};

struct MultiStatus {
    QList<DavResponse> responses;
    QByteArray syncToken; // sync-collection's new token
};

// Reads a 207 body. False (with the reader's message) when it is not
// well-formed XML or not a multistatus.
bool ParseMultiStatus(const QByteArray& body, MultiStatus& out, QString* error = nullptr);
// "HTTP/1.1 404 Not Found" -> 404; 0 when unreadable.
int ParseStatusLine(QStringView line);
// Whether an error body (RFC 4918 DAV:error) names the precondition.
bool ErrorBodyNames(const QByteArray& body, const DavName& condition);

// Request bodies.
QByteArray PropfindBody(const QList<DavName>& props);
QByteArray SyncCollectionBody(const QByteArray& syncToken);
QByteArray CalendarMultigetBody(const QStringList& hrefs);
// MKCALENDAR (extended = false) or extended MKCOL (true) of a calendar for
// events, and journals too when asked, with the given display name.
QByteArray MakeCalendarBody(const QString& displayName, bool extended, bool journals);

} // namespace vn::sync
