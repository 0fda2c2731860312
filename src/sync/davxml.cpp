#include "davxml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vn::sync {

namespace {

bool is(const QXmlStreamReader& r, const DavName& n)
{
    return r.namespaceUri() == n.ns && r.name() == n.name;
}

// Reads the element the reader is at, up to and including its end.
DavNode readNode(QXmlStreamReader& r)
{
    DavNode node;
    node.name = {r.namespaceUri().toString(), r.name().toString()};
    for (const QXmlStreamAttribute& a : r.attributes())
        node.attributes.insert(a.name().toString(), a.value().toString());
    while (r.readNext() != QXmlStreamReader::Invalid) {
        if (r.isStartElement())
            node.children.append(readNode(r));
        else if (r.isCharacters())
            node.text += r.text();
        else if (r.isEndElement())
            break;
    }
    return node;
}

void skipElement(QXmlStreamReader& r)
{
    r.skipCurrentElement();
}

void readPropstat(QXmlStreamReader& r, DavResponse& response)
{
    QList<DavNode> props;
    int status = 0;
    while (r.readNextStartElement()) {
        if (is(r, Dav("prop"))) {
            while (r.readNextStartElement())
                props.append(readNode(r));
        } else if (is(r, Dav("status"))) {
            status = ParseStatusLine(r.readElementText());
        } else {
            skipElement(r);
        }
    }
    if (status == 0 || (status >= 200 && status < 300))
        response.props += props;
}

DavResponse readResponse(QXmlStreamReader& r)
{
    DavResponse response;
    while (r.readNextStartElement()) {
        if (is(r, Dav("href")))
            response.href = r.readElementText().trimmed();
        else if (is(r, Dav("status")))
            response.status = ParseStatusLine(r.readElementText());
        else if (is(r, Dav("propstat")))
            readPropstat(r, response);
        else
            skipElement(r);
    }
    return response;
}

void writeName(QXmlStreamWriter& w, const DavName& n)
{
    w.writeEmptyElement(n.ns, n.name);
}

void startDocument(QXmlStreamWriter& w, const DavName& root)
{
    w.writeStartDocument();
    w.writeNamespace(kDavNs.toString(), QStringLiteral("D"));
    w.writeNamespace(kCalDavNs.toString(), QStringLiteral("C"));
    w.writeStartElement(root.ns, root.name);
}

} // namespace

const DavNode* DavNode::child(const DavName& n) const
{
    for (const DavNode& c : children)
        if (c.name == n)
            return &c;
    return nullptr;
}

QStringList DavNode::hrefs() const
{
    QStringList out;
    for (const DavNode& c : children) {
        if (c.name == Dav("href"))
            out << c.text.trimmed();
        else
            out += c.hrefs();
    }
    return out;
}

const DavNode* DavResponse::prop(const DavName& n) const
{
    for (const DavNode& p : props)
        if (p.name == n)
            return &p;
    return nullptr;
}

int ParseStatusLine(QStringView line)
{
    // "HTTP/1.1 207 Multi-Status": the number after the first blank.
    const QStringView t = line.trimmed();
    const qsizetype blank = t.indexOf(u' ');
    if (blank < 0)
        return 0;
    bool ok = false;
    const int code = t.mid(blank + 1, 3).toInt(&ok);
    return ok ? code : 0;
}

bool ParseMultiStatus(const QByteArray& body, MultiStatus& out, QString* error)
{
    out = {};
    QXmlStreamReader r(body);
    if (!r.readNextStartElement() || !is(r, Dav("multistatus"))) {
        if (error)
            *error = r.hasError() ? r.errorString() : QStringLiteral("not a multistatus");
        return false;
    }
    while (r.readNextStartElement()) {
        if (is(r, Dav("response")))
            out.responses.append(readResponse(r));
        else if (is(r, Dav("sync-token")))
            out.syncToken = r.readElementText().trimmed().toUtf8();
        else
            skipElement(r);
    }
    if (r.hasError()) {
        if (error)
            *error = r.errorString();
        return false;
    }
    return true;
}

bool ErrorBodyNames(const QByteArray& body, const DavName& condition)
{
    QXmlStreamReader r(body);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && is(r, condition))
            return true;
    }
    return false;
}

QByteArray PropfindBody(const QList<DavName>& props)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    startDocument(w, Dav("propfind"));
    w.writeStartElement(kDavNs.toString(), QStringLiteral("prop"));
    for (const DavName& n : props)
        writeName(w, n);
    w.writeEndDocument();
    return out;
}

QByteArray SyncCollectionBody(const QByteArray& syncToken)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    startDocument(w, Dav("sync-collection"));
    w.writeTextElement(kDavNs.toString(), QStringLiteral("sync-token"),
                       QString::fromUtf8(syncToken));
    w.writeTextElement(kDavNs.toString(), QStringLiteral("sync-level"), QStringLiteral("1"));
    w.writeStartElement(kDavNs.toString(), QStringLiteral("prop"));
    writeName(w, Dav("getetag"));
    w.writeEndDocument();
    return out;
}

QByteArray CalendarMultigetBody(const QStringList& hrefs)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    startDocument(w, CalDav("calendar-multiget"));
    w.writeStartElement(kDavNs.toString(), QStringLiteral("prop"));
    writeName(w, Dav("getetag"));
    writeName(w, CalDav("calendar-data"));
    w.writeEndElement();
    for (const QString& href : hrefs)
        w.writeTextElement(kDavNs.toString(), QStringLiteral("href"), href);
    w.writeEndDocument();
    return out;
}

QByteArray MakeCalendarBody(const QString& displayName, bool extended, bool journals)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    startDocument(w, extended ? Dav("mkcol") : CalDav("mkcalendar"));
    w.writeStartElement(kDavNs.toString(), QStringLiteral("set"));
    w.writeStartElement(kDavNs.toString(), QStringLiteral("prop"));
    if (extended) {
        w.writeStartElement(kDavNs.toString(), QStringLiteral("resourcetype"));
        writeName(w, Dav("collection"));
        writeName(w, CalDav("calendar"));
        w.writeEndElement();
    }
    w.writeTextElement(kDavNs.toString(), QStringLiteral("displayname"), displayName);
    w.writeStartElement(kCalDavNs.toString(), QStringLiteral("supported-calendar-component-set"));
    for (const char* comp : {"VEVENT", "VJOURNAL"}) {
        if (!journals && comp[1] == 'J')
            break;
        w.writeEmptyElement(kCalDavNs.toString(), QStringLiteral("comp"));
        w.writeAttribute(QStringLiteral("name"), QString::fromLatin1(comp));
    }
    w.writeEndDocument();
    return out;
}

} // namespace vn::sync
