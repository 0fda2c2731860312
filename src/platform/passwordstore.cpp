#include "passwordstore.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace vn::platform {

namespace {

const QString kService = QStringLiteral("Velnote");
// A locked keyring asks the user to unlock it: give them time.
constexpr int kKeyringTimeoutMs = 120000;

// Whether a failure means that there is no keyring to ask at all.
bool noKeyring(const QKeychain::Job& job)
{
    if (job.error() == QKeychain::NoBackendAvailable || job.error() == QKeychain::NotImplemented)
        return true;
    if (job.error() != QKeychain::OtherError)
        return false;
    // libsecret and D-Bus say it in words only.
    const QString text = job.errorString();
    for (const char* sign : {"org.freedesktop.secrets", "ServiceUnknown", "DBus", "D-Bus", "dbus",
                             "autolaunch", "No such secret collection"})
        if (text.contains(QLatin1String(sign)))
            return true;
    return false;
}

PasswordResult run(QKeychain::Job& job)
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return {PasswordResult::Status::Failed,
                {},
                QStringLiteral("the keyring is asked from the main thread only")};
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kKeyringTimeoutMs, &loop, &QEventLoop::quit);
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, [&finished] { finished = true; });
    job.start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    PasswordResult result;
    if (!finished) {
        result.status = PasswordResult::Status::Failed;
        result.detail = QStringLiteral("the keyring did not answer");
    } else if (job.error() == QKeychain::NoError) {
        result.status = PasswordResult::Status::Ok;
    } else if (job.error() == QKeychain::EntryNotFound) {
        result.status = PasswordResult::Status::NotFound;
    } else {
        result.status =
            noKeyring(job) ? PasswordResult::Status::Unavailable : PasswordResult::Status::Failed;
        result.detail = job.errorString();
    }
    return result;
}

class KeyringPasswordStore : public PasswordStore {
public:
    PasswordResult read(const QString& server, const QString& user) override
    {
        QKeychain::ReadPasswordJob job(kService);
        job.setKey(PasswordKey(server, user));
        PasswordResult result = run(job);
        if (result.ok())
            result.password = job.textData();
        return result;
    }

    PasswordResult write(const QString& server, const QString& user,
                         const QString& password) override
    {
        QKeychain::WritePasswordJob job(kService);
        job.setKey(PasswordKey(server, user));
        job.setTextData(password);
        return run(job);
    }

    PasswordResult remove(const QString& server, const QString& user) override
    {
        QKeychain::DeletePasswordJob job(kService);
        job.setKey(PasswordKey(server, user));
        PasswordResult result = run(job);
        if (result.status == PasswordResult::Status::NotFound)
            result.status = PasswordResult::Status::Ok;
        return result;
    }
};

} // namespace

QString PasswordKey(const QString& server, const QString& user)
{
    return user + u'@' + server;
}

std::unique_ptr<PasswordStore> MakeKeyringPasswordStore()
{
    return std::make_unique<KeyringPasswordStore>();
}

PasswordResult SessionPasswordStore::read(const QString& server, const QString& user)
{
    const auto it = passwords_.constFind(PasswordKey(server, user));
    if (it == passwords_.cend())
        return {PasswordResult::Status::NotFound, {}, {}};
    return {PasswordResult::Status::Ok, *it, {}};
}

PasswordResult SessionPasswordStore::write(const QString& server, const QString& user,
                                           const QString& password)
{
    passwords_.insert(PasswordKey(server, user), password);
    return {};
}

PasswordResult SessionPasswordStore::remove(const QString& server, const QString& user)
{
    passwords_.remove(PasswordKey(server, user));
    return {};
}

} // namespace vn::platform
