// Only http and https addresses are web addresses; paths, file: addresses
// and other programs' schemes are not, however they are written.
#include "foundation/webaddress.h"

#include <QTest>

using namespace vn;

class TstWebAddress : public QObject {
    Q_OBJECT
private slots:
    void onlyWebAddressesPass_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opened"); // empty: refused
        QTest::newRow("http") << "http://example.com/page"
                              << "http://example.com/page";
        QTest::newRow("https") << "https://secure.example/a?b=1"
                               << "https://secure.example/a?b=1";
        QTest::newRow("capital scheme") << "HTTP://EXAMPLE.COM"
                                        << "http://example.com";
        QTest::newRow("blanks around") << "  https://x.jp  "
                                       << "https://x.jp";
        QTest::newRow("bare www") << "www.example.jp"
                                  << "http://www.example.jp";
        QTest::newRow("bare host, path") << "example.co.jp/a/b"
                                         << "http://example.co.jp/a/b";
        QTest::newRow("bare host, port") << "example.jp:8080/x"
                                         << "http://example.jp:8080/x";
        QTest::newRow("space inside") << "http://example.com/a b"
                                      << "http://example.com/a b";
        QTest::newRow("absolute path") << "/home/user/Downloads/run.sh"
                                       << "";
        QTest::newRow("home path") << "~/bin/tool"
                                   << "";
        QTest::newRow("relative path") << "./evil.desktop"
                                       << "";
        // a bare name with a dot is a host to the browser, never a file
        QTest::newRow("file-like name") << "evil.desktop"
                                        << "http://evil.desktop";
        QTest::newRow("file address") << "file:///etc/passwd"
                                      << "";
        QTest::newRow("FILE address") << "FILE:///usr/share/applications/x.desktop"
                                      << "";
        QTest::newRow("javascript") << "javascript:alert(1)"
                                    << "";
        QTest::newRow("other program") << "steam://run/1"
                                       << "";
        QTest::newRow("mail") << "mailto:a@example.com"
                              << "";
        QTest::newRow("ftp") << "ftp://example.com"
                             << "";
        QTest::newRow("http without host") << "http:///etc/passwd"
                                           << "";
        QTest::newRow("two lines") << "http://a.jp\n/bin/sh"
                                   << "";
        QTest::newRow("word") << "memo"
                              << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void onlyWebAddressesPass()
    {
        QFETCH(QString, text);
        QFETCH(QString, opened);
        const QUrl url = WebAddress(text);
        QCOMPARE(url.isValid() ? url.toString() : QString(), opened);
    }
};

QTEST_GUILESS_MAIN(TstWebAddress)
#include "tst_webaddress.moc"
