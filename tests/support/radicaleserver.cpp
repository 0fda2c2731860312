#include "radicaleserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace vn::test {

namespace {

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

RadicaleServer::RadicaleServer(Options options) : options_(std::move(options))
{
    if (!dir_.isValid()) {
        problem_ = QStringLiteral("no temporary folder");
        return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty()) {
        problem_ = QStringLiteral("radicale is not installed (scripts/setup-deps.sh)");
        return;
    }
    if (options_.tls && !makeCertificate())
        return;
    start();
}

RadicaleServer::~RadicaleServer()
{
    stop();
}

QUrl RadicaleServer::url() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(options_.tls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port_));
}

QString RadicaleServer::storageFolder() const
{
    return dir_.filePath(QStringLiteral("storage/collection-root"));
}

QString RadicaleServer::log() const
{
    QFile f(dir_.filePath(QStringLiteral("radicale.log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool RadicaleServer::makeCertificate()
{
    const QString cert = dir_.filePath(QStringLiteral("cert.pem"));
    const QString key = dir_.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-subj"), QStringLiteral("/CN=velnote-test"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-keyout"), key,
                   QStringLiteral("-out"), cert});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        problem_ = QStringLiteral("openssl could not make a certificate: ") +
                   QString::fromLocal8Bit(openssl.readAllStandardError());
        return false;
    }
    const auto certs = QSslCertificate::fromPath(cert);
    if (certs.isEmpty()) {
        problem_ = QStringLiteral("the test certificate does not read back");
        return false;
    }
    const QByteArray digest = certs.first().digest(QCryptographicHash::Sha256);
    fingerprint_ = QString::fromLatin1(digest.toHex(':').toUpper());
    return true;
}

bool RadicaleServer::writeConfig()
{
    const QString users = dir_.filePath(QStringLiteral("users"));
    if (!writeFile(users, (options_.user + u':' + options_.password + u'\n').toUtf8()))
        return false;
    QString config = QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n").arg(port_);
    if (options_.tls)
        config += QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n")
                      .arg(dir_.filePath(QStringLiteral("cert.pem")),
                           dir_.filePath(QStringLiteral("key.pem")));
    config += QStringLiteral("[auth]\ntype = htpasswd\nhtpasswd_filename = %1\n"
                             "htpasswd_encryption = plain\ndelay = 0\n"
                             "[rights]\ntype = owner_only\n"
                             "[storage]\nfilesystem_folder = %2\n"
                             "[web]\ntype = none\n"
                             "[logging]\nlevel = warning\n")
                  .arg(users, dir_.filePath(QStringLiteral("storage")));
    return writeFile(dir_.filePath(QStringLiteral("config")), config.toUtf8());
}

bool RadicaleServer::start()
{
    if (process_.state() != QProcess::NotRunning)
        return ready_;
    ready_ = false;
    // The port may be taken between the probe and the server's start: try
    // another one then (only the first start picks; a restart keeps it).
    const bool pickPort = port_ == 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (pickPort)
            port_ = freePort();
        if (port_ == 0 || !writeConfig()) {
            problem_ = QStringLiteral("no free port or config not written");
            return false;
        }
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(dir_.filePath(QStringLiteral("radicale.log")),
                                       QIODevice::Append);
        // A test that crashes takes its server with it.
        process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process_.start(QStringLiteral("radicale"),
                       {QStringLiteral("--config"), dir_.filePath(QStringLiteral("config"))});
        if (!process_.waitForStarted(5000)) {
            problem_ = QStringLiteral("radicale did not start: ") + process_.errorString();
            return false;
        }
        for (int i = 0; i < 200 && process_.state() == QProcess::Running; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port_);
            if (probe.waitForConnected(100)) {
                ready_ = true;
                return true;
            }
            QThread::msleep(50);
        }
        stop();
        if (!pickPort)
            break;
    }
    problem_ = QStringLiteral("radicale did not answer on its port: ") + log();
    return false;
}

void RadicaleServer::stop()
{
    ready_ = false;
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

} // namespace vn::test
