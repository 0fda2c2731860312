#pragma once
// A Radicale CalDAV server for one test or benchmark, started on 127.0.0.1
// at a free port, with its storage in a temporary folder and one user.
//
// How to use it (link vn_radicaleserver):
//
//     vn::test::RadicaleServer server;         // or RadicaleServer({.tls = true})
//     if (!server.started())
//         QSKIP(qPrintable(server.problem())); // radicale not installed
//     CalDavClient client({server.url(), server.user(), server.password()});
//     ...
//     server.stop();  // the next request finds nothing listening (offline)
//     server.start(); // the same port and storage again
//
// The server ends with the object. With `tls`, it serves https with a
// self-signed certificate made for the test (openssl), which no system trusts;
// certificateFingerprint() is its SHA-256 fingerprint as "AB:CD:...".
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace vn::test {

class RadicaleServer {
public:
    struct Options {
        bool tls = false;
        QString user = QStringLiteral("alice");
        QString password = QStringLiteral("s3cret-パス");
    };
    RadicaleServer() : RadicaleServer(Options{}) {}
    explicit RadicaleServer(Options options);
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    bool started() const { return process_.state() == QProcess::Running && ready_; }
    QString problem() const { return problem_; } // why it did not start
    // Starts the server again after stop(), on the same port and storage.
    bool start();
    void stop();

    QUrl url() const; // "http://127.0.0.1:PORT/" (https with tls)
    quint16 port() const { return port_; }
    QString user() const { return options_.user; }
    QString password() const { return options_.password; }
    QString storageFolder() const; // the collection root
    QString certificateFingerprint() const { return fingerprint_; }
    // The server's own log (warnings and errors), for a failing test's message.
    QString log() const;

private:
    bool writeConfig();
    bool makeCertificate();

    Options options_;
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    bool ready_ = false;
    QString problem_;
    QString fingerprint_;
};

} // namespace vn::test
