// Reading multistatus answers the way different servers write them.
#include "sync/davxml.h"

#include <QtTest>

using namespace vn::sync;

namespace {

// One line per response: "href status [ns-initial:name=text ...]" with the
// properties found, and the sync token last.
QString summary(const MultiStatus& ms)
{
    QStringList lines;
    for (const DavResponse& r : ms.responses) {
        QStringList props;
        for (const DavNode& p : r.props) {
            const QString ns = p.name.ns == kDavNs ? QStringLiteral("D") : QStringLiteral("C");
            QString text = p.text.trimmed();
            if (!p.hrefs().isEmpty())
                text = p.hrefs().join(u',');
            for (const DavNode& c : p.children)
                if (c.name.name == u"comp")
                    text += c.attributes.value(QStringLiteral("name")) + u' ';
                else if (c.name.name != u"href")
                    text += c.name.name + u' ';
            props << ns + u':' + p.name.name + u'=' + text.trimmed();
        }
        lines << QStringLiteral("%1 %2 [%3]").arg(r.href).arg(r.status).arg(props.join(u' '));
    }
    lines << QStringLiteral("token=") + QString::fromUtf8(ms.syncToken);
    return lines.join(u'\n');
}

} // namespace

class TstDavXml : public QObject {
    Q_OBJECT

private slots:
    void readsMultistatus_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");

        QTest::newRow("upper-case prefixes, absolute href")
            << QByteArray("<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\">"
                          "<D:response><D:href>https://h.example/cal/a.ics</D:href><D:propstat>"
                          "<D:prop><D:getetag>\"1\"</D:getetag></D:prop>"
                          "<D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>"
                          "<D:sync-token>tok-1</D:sync-token></D:multistatus>")
            << "https://h.example/cal/a.ics 0 [D:getetag=\"1\"]\ntoken=tok-1";
        QTest::newRow("default namespace, caldav under another prefix")
            << QByteArray("<multistatus xmlns=\"DAV:\" xmlns:cal=\"urn:ietf:params:xml:ns:caldav\">"
                          "<response><href>/dav/</href><propstat><prop>"
                          "<cal:calendar-home-set><href>/dav/alice/</href></cal:calendar-home-set>"
                          "<current-user-principal><href>/p/alice/</href></current-user-principal>"
                          "</prop><status>HTTP/1.1 200 OK</status></propstat></response>"
                          "</multistatus>")
            << "/dav/ 0 [C:calendar-home-set=/dav/alice/ D:current-user-principal=/p/alice/]\n"
               "token=";
        // Properties the server does not have come in a 404 propstat: not
        // values.
        QTest::newRow("404 propstat left out")
            << QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/c/</d:href>"
                          "<d:propstat><d:prop><d:resourcetype><d:collection/>"
                          "<c:calendar xmlns:c=\"urn:ietf:params:xml:ns:caldav\"/>"
                          "</d:resourcetype></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                          "</d:propstat><d:propstat><d:prop><d:displayname/></d:prop>"
                          "<d:status>HTTP/1.1 404 Not Found</d:status></d:propstat>"
                          "</d:response></d:multistatus>")
            << "/c/ 0 [D:resourcetype=collection calendar]\ntoken=";
        QTest::newRow("deleted member of a sync-collection")
            << QByteArray("<multistatus xmlns=\"DAV:\"><response><href>/c/gone.ics</href>"
                          "<status>HTTP/1.1 404 Not Found</status></response>"
                          "<sync-token>tok-2</sync-token></multistatus>")
            << "/c/gone.ics 404 []\ntoken=tok-2";
        QTest::newRow("calendar data in CDATA, component set")
            << QByteArray(
                   "<D:multistatus xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                   "<D:response><D:href>/c/x.ics</D:href><D:propstat><D:prop>"
                   "<C:calendar-data><![CDATA[BEGIN:VCALENDAR]]></C:calendar-data>"
                   "<C:supported-calendar-component-set><C:comp name=\"VEVENT\"/>"
                   "<C:comp name=\"VTODO\"/></C:supported-calendar-component-set>"
                   "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>"
                   "</D:response></D:multistatus>")
            << "/c/x.ics 0 [C:calendar-data=BEGIN:VCALENDAR "
               "C:supported-calendar-component-set=VEVENT VTODO]\ntoken=";
        // The same local names in a namespace of their own are not DAV's.
        QTest::newRow("foreign namespace ignored")
            << QByteArray("<multistatus xmlns=\"DAV:\" xmlns:x=\"http://example.com/ns\">"
                          "<x:sync-token>no</x:sync-token><response><x:href>/wrong</x:href>"
                          "<href>/right</href></response></multistatus>")
            << "/right 0 []\ntoken=";
    }
    void readsMultistatus()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        MultiStatus ms;
        QString error;
        QVERIFY2(ParseMultiStatus(body, ms, &error), qPrintable(error));
        QCOMPARE(summary(ms), expected);
    }

    void refusesWhatIsNotAMultistatus_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("html error page") << QByteArray("<html><body>Bad gateway</body></html>");
        QTest::newRow("cut off") << QByteArray("<multistatus xmlns=\"DAV:\"><response><href>/a");
        QTest::newRow("multistatus outside DAV:")
            << QByteArray("<multistatus><response><href>/a</href></response></multistatus>");
        QTest::newRow("empty") << QByteArray();
    }
    void refusesWhatIsNotAMultistatus()
    {
        QFETCH(QByteArray, body);
        MultiStatus ms;
        QVERIFY(!ParseMultiStatus(body, ms));
    }
};

QTEST_GUILESS_MAIN(TstDavXml)
#include "tst_davxml.moc"
