// The CalDAV client against a real Radicale on this machine.
#include "radicaleserver.h"
#include "sync/caldavclient.h"
#include "sync/davxml.h"
#include "sync/syncaccount.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

using namespace vn::sync;
using vn::test::RadicaleServer;
using Kind = TransportError::Kind;

namespace {

QByteArray icsEvent(const QString& uid, const QString& summary)
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velnote//test//JA\r\n"
                          "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20261210T000000Z\r\n"
                          "DTSTART;VALUE=DATE:20261224\r\nSUMMARY:%2\r\nEND:VEVENT\r\n"
                          "END:VCALENDAR\r\n")
        .arg(uid, summary)
        .toUtf8();
}

ServerAccess accessTo(const RadicaleServer& server)
{
    return {server.url(), server.user(), server.password(), {}, false, 10000};
}

const char* kindName(Kind k)
{
    static const char* const names[] = {"None",
                                        "Offline",
                                        "Unauthorized",
                                        "NotFound",
                                        "PreconditionFailed",
                                        "SyncTokenInvalid",
                                        "Certificate",
                                        "Server"};
    return names[int(k)];
}

#define EXPECT_KIND(error, expected)                                                               \
    QVERIFY2((error).kind == (expected),                                                           \
             qPrintable(QStringLiteral("%1 (%2)").arg(kindName((error).kind), (error).detail)))

// Stands between the client and the server as a server without some
// methods would: answers those with 501 and passes the rest through.
class RefusingProxy : public QObject {
public:
    RefusingProxy(quint16 upstream, QList<QByteArray> refused)
        : upstream_(upstream), refused_(std::move(refused))
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* client = server_.nextPendingConnection())
                connect(client, &QTcpSocket::readyRead, this, [this, client] { serve(client); });
        });
    }
    quint16 port() const { return server_.serverPort(); }
    QStringList refusedSeen;

private:
    void serve(QTcpSocket* client)
    {
        QByteArray& got = pending_[client];
        got += client->readAll();
        const qsizetype end = got.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        static const QRegularExpression lengthField(
            QStringLiteral("(?i)\r\ncontent-length: *(\\d+)"));
        const auto m = lengthField.match(QString::fromLatin1(got.left(end)));
        if (got.size() < end + 4 + (m.hasMatch() ? m.captured(1).toLongLong() : 0))
            return;
        const QByteArray request = std::exchange(got, {});
        const QByteArray method = request.left(request.indexOf(' '));
        if (refused_.contains(method)) {
            refusedSeen << QString::fromLatin1(method);
            client->write("HTTP/1.1 501 Not Implemented\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        auto* server = new QTcpSocket(client);
        connect(server, &QTcpSocket::connected, server,
                [server, request] { server->write(request); });
        connect(server, &QTcpSocket::readyRead, client,
                [server, client] { client->write(server->readAll()); });
        connect(server, &QTcpSocket::disconnected, client,
                [client] { client->disconnectFromHost(); });
        server->connectToHost(QHostAddress::LocalHost, upstream_);
    }

    QTcpServer server_;
    quint16 upstream_;
    QList<QByteArray> refused_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

} // namespace

class TstCalDavClient : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!server_.started())
            QSKIP(qPrintable(server_.problem()));
    }

    // From the bare server address: the well-known redirect, the principal
    // and the calendar home; only calendars for events that may be written
    // are listed, the one made is among them.
    void discoversAndCreatesCalendars()
    {
        CalDavClient client(accessTo(server_));
        TransportError error;
        const CalendarInfo made = client.createCalendar(QStringLiteral("Velnote"), error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(made.journals);

        // A calendar for tasks only is not one to sync schedules with.
        DavSession raw(accessTo(server_));
        const QByteArray tasksOnly =
            "<C:mkcalendar xmlns:D=\"DAV:\" "
            "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop>"
            "<D:displayname>Tasks</D:displayname><C:supported-calendar-component-set>"
            "<C:comp name=\"VTODO\"/></C:supported-calendar-component-set></D:prop></D:set>"
            "</C:mkcalendar>";
        const DavReply reply =
            raw.send("MKCALENDAR", made.url.resolved(QUrl("../tasks/")), tasksOnly, {}, error);
        QCOMPARE(reply.status, 201);

        CalDavClient fresh(accessTo(server_));
        const QList<CalendarInfo> found = fresh.discoverCalendars(error);
        EXPECT_KIND(error, Kind::None);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().url, made.url);
        QCOMPARE(found.first().displayName, QStringLiteral("Velnote"));
        QVERIFY(found.first().journals);
    }

    // Write, list, change, fetch and delete, with ETags guarding each write
    // and the sync token telling what changed since.
    void syncsResourcesWithEtagsAndTokens()
    {
        CalDavClient client(accessTo(server_));
        TransportError error;
        client.setCalendar(client.createCalendar(QStringLiteral("Round trip"), error).url);
        EXPECT_KIND(error, Kind::None);

        // A uid that names its resource, and one that cannot (a slash, a
        // blank, Japanese): both come back under the href they were put at.
        const QStringList uids{QStringLiteral("plain-uid@velnote"),
                               QStringLiteral("スラッシュ/と 空白")};
        QHash<QString, QByteArray> put;
        for (const QString& uid : uids) {
            const QString href = client.hrefForNew(uid);
            put.insert(href, client.put(href, icsEvent(uid, QStringLiteral("会議")), {}, error));
            EXPECT_KIND(error, Kind::None);
            QVERIFY(!put.value(href).isEmpty());
        }
        const QString href = client.hrefForNew(uids.first());

        // Creating over an existing resource is refused.
        client.put(href, icsEvent(uids.first(), QStringLiteral("二重")), {}, error);
        EXPECT_KIND(error, Kind::PreconditionFailed);
        error = {};

        // The first listing is complete and agrees with the plain listing.
        const RemoteChanges first = client.changesSince({}, error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(first.complete);
        QVERIFY(!first.syncToken.isEmpty());
        QCOMPARE(first.changed, put);
        const RemoteChanges listed = client.listAll(error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(listed.complete);
        QCOMPARE(listed.changed, put);

        // Nothing changed since the token.
        const RemoteChanges none = client.changesSince(first.syncToken, error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(!none.complete);
        QVERIFY(none.changed.isEmpty() && none.deleted.isEmpty());

        // A change guarded by the ETag; a stale ETag no longer writes.
        const QByteArray changedTag = client.put(
            href, icsEvent(uids.first(), QStringLiteral("変更後")), put.value(href), error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(changedTag != put.value(href));
        client.put(href, icsEvent(uids.first(), QStringLiteral("古い版から")), put.value(href),
                   error);
        EXPECT_KIND(error, Kind::PreconditionFailed);
        error = {};

        const RemoteChanges after = client.changesSince(first.syncToken, error);
        EXPECT_KIND(error, Kind::None);
        QCOMPARE(after.changed.keys(), QList<QString>{href});
        QVERIFY(after.changed.value(href).isEmpty() || after.changed.value(href) == changedTag);

        // The resource as it is now; a gone href is left out.
        const QList<RemoteResource> got =
            client.fetch({href, client.hrefForNew(QStringLiteral("never-put"))}, error);
        EXPECT_KIND(error, Kind::None);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.first().href, href);
        QCOMPARE(got.first().etag, changedTag);
        QVERIFY(got.first().data.contains(QStringLiteral("SUMMARY:変更後\r\n").toUtf8()));

        // Delete: a stale ETag is refused, the current one deletes.
        client.remove(href, put.value(href), error);
        EXPECT_KIND(error, Kind::PreconditionFailed);
        error = {};
        client.remove(href, changedTag, error);
        EXPECT_KIND(error, Kind::None);
        const RemoteChanges gone = client.changesSince(after.syncToken, error);
        EXPECT_KIND(error, Kind::None);
        QCOMPARE(gone.deleted, QStringList{href});
        QVERIFY(gone.changed.isEmpty());

        client.changesSince("http://radicale.org/ns/sync/not-a-token", error);
        EXPECT_KIND(error, Kind::SyncTokenInvalid);
    }

    // A server without MKCALENDAR and without any REPORT: the calendar is
    // made by extended MKCOL, changes come from the plain listing, resources
    // from single GETs; all as the server holds them.
    void worksWithoutReportsOrMkcalendar()
    {
        RefusingProxy proxy(server_.port(), {"MKCALENDAR", "REPORT"});
        ServerAccess viaProxy = accessTo(server_);
        viaProxy.server.setPort(proxy.port());
        CalDavClient client(viaProxy);
        TransportError error;
        const CalendarInfo made = client.createCalendar(QStringLiteral("MKCOL"), error);
        EXPECT_KIND(error, Kind::None);
        client.setCalendar(made.url);
        const QString href = client.hrefForNew(QStringLiteral("by-get"));
        const QByteArray etag =
            client.put(href, icsEvent(QStringLiteral("by-get"), QStringLiteral("単独")), {}, error);
        EXPECT_KIND(error, Kind::None);

        const RemoteChanges listed = client.changesSince({}, error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(listed.complete);
        QVERIFY(listed.syncToken.isEmpty());
        QCOMPARE(listed.changed, (QHash<QString, QByteArray>{{href, etag}}));
        const QList<RemoteResource> got = client.fetch({href}, error);
        EXPECT_KIND(error, Kind::None);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got.first().etag, etag);
        QVERIFY(got.first().data.contains(QStringLiteral("SUMMARY:単独").toUtf8()));
        QCOMPARE(proxy.refusedSeen, (QStringList{"MKCALENDAR", "MKCALENDAR", "REPORT", "REPORT"}));

        // Straight to the server: a calendar like any other.
        CalDavClient direct(accessTo(server_));
        const QList<CalendarInfo> found = direct.discoverCalendars(error);
        EXPECT_KIND(error, Kind::None);
        QVERIFY(std::any_of(found.begin(), found.end(), [&](const CalendarInfo& c) {
            return c.url.path() == made.url.path() && c.displayName == u"MKCOL" && c.journals;
        }));
    }

    // What the user must act on and what is only to be retried later.
    void reportsFailuresByKind()
    {
        ServerAccess wrong = accessTo(server_);
        wrong.password = QStringLiteral("wrong");
        CalDavClient denied(wrong);
        TransportError error;
        denied.discoverCalendars(error);
        EXPECT_KIND(error, Kind::Unauthorized);

        // Plain http to another machine is refused before anything is sent.
        ServerAccess remote = accessTo(server_);
        remote.server = QUrl(QStringLiteral("http://calendar.invalid/"));
        error = {};
        CalDavClient(remote).discoverCalendars(error);
        EXPECT_KIND(error, Kind::Certificate);

        // A calendar deleted on the server.
        CalDavClient client(accessTo(server_));
        error = {};
        const QUrl made = client.createCalendar(QStringLiteral("Offline"), error).url;
        EXPECT_KIND(error, Kind::None);
        client.setCalendar(made.resolved(QUrl(QStringLiteral("../deleted/"))));
        client.changesSince({}, error);
        EXPECT_KIND(error, Kind::NotFound);

        // A server that takes the connection and never answers: the
        // time-out makes it offline.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        ServerAccess stalled = accessTo(server_);
        stalled.server.setPort(silent.serverPort());
        stalled.timeoutMs = 300;
        error = {};
        CalDavClient(stalled).discoverCalendars(error);
        EXPECT_KIND(error, Kind::Offline);

        // Stopped: offline, from a worker thread as the sync runs; started
        // again on the same storage: the token still holds.
        client.setCalendar(made);
        error = {};
        const QByteArray token = client.changesSince({}, error).syncToken;
        EXPECT_KIND(error, Kind::None);
        server_.stop();
        auto onWorker = [&] {
            QThread* worker = QThread::create([&] { client.changesSince(token, error); });
            worker->start();
            worker->wait();
            delete worker;
        };
        onWorker();
        EXPECT_KIND(error, Kind::Offline);
        QVERIFY(server_.start());
        error = {};
        onWorker();
        EXPECT_KIND(error, Kind::None);
    }

    void plainHttpNeedsConsentExceptToThisMachine_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("needsConsent");
        QTest::newRow("localhost") << "http://localhost:5232/" << false;
        QTest::newRow("LOCALHOST") << "http://LOCALHOST/" << false;
        QTest::newRow("127.0.0.1") << "http://127.0.0.1:5232/" << false;
        QTest::newRow("::1") << "http://[::1]:5232/" << false;
        QTest::newRow("https elsewhere") << "https://dav.example.com/" << false;
        QTest::newRow("http elsewhere") << "http://dav.example.com/" << true;
        QTest::newRow("LAN address") << "http://192.168.1.20:5232/" << true;
        QTest::newRow("look-alike name") << "http://localhost.example.com/" << true;
        QTest::newRow("127.0.0.2") << "http://127.0.0.2/" << true;
    }
    void plainHttpNeedsConsentExceptToThisMachine()
    {
        QFETCH(QString, url);
        QFETCH(bool, needsConsent);
        QCOMPARE(DavSession::needsPlainHttpConsent(QUrl(url)), needsConsent);
    }

    void typedAddressesBecomeServerUrls_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("url"); // empty: refused
        QTest::newRow("bare host is https") << "dav.example.com"
                                            << "https://dav.example.com/";
        QTest::newRow("host and path") << " cal.example.com/dav "
                                       << "https://cal.example.com/dav";
        QTest::newRow("http kept") << "http://127.0.0.1:5232"
                                   << "http://127.0.0.1:5232/";
        QTest::newRow("password typed in") << "https://alice:pw@dav.example.com"
                                           << "https://dav.example.com/";
        QTest::newRow("other scheme") << "ftp://dav.example.com/"
                                      << "";
        QTest::newRow("no host") << "https:///dav"
                                 << "";
        QTest::newRow("empty") << "  "
                               << "";
    }
    void typedAddressesBecomeServerUrls()
    {
        QFETCH(QString, typed);
        QFETCH(QString, url);
        const QUrl got = ServerUrlFromInput(typed);
        QCOMPARE(got.isValid() ? got.toString() : QString(), url);
    }

    // A certificate the system does not trust: refused with its
    // fingerprint; once that fingerprint is accepted, it connects.
    void certificateTrustedOnlyOnceAccepted()
    {
        RadicaleServer tls({.tls = true});
        if (!tls.started())
            QSKIP(qPrintable(tls.problem()));
        ServerAccess access = accessTo(tls);
        access.acceptedCertificates = {QStringLiteral("00:11:22")};
        CalDavClient refused(access);
        TransportError error;
        refused.discoverCalendars(error);
        EXPECT_KIND(error, Kind::Certificate);
        QCOMPARE(refused.refusedCertificate(), tls.certificateFingerprint());

        // Accepted and kept with the account: the stored account connects.
        SyncAccount account;
        account.server = tls.url().toString();
        account.user = tls.user();
        account.acceptCertificate(tls.url(), refused.refusedCertificate());
        CalDavClient accepted(AccessFor(account, tls.password()));
        error = {};
        accepted.createCalendar(QStringLiteral("Velnote"), error);
        EXPECT_KIND(error, Kind::None);
        QCOMPARE(accepted.discoverCalendars(error).size(), 1);
        EXPECT_KIND(error, Kind::None);
    }

private:
    RadicaleServer server_;
};

QTEST_GUILESS_MAIN(TstCalDavClient)
#include "tst_caldavclient.moc"
