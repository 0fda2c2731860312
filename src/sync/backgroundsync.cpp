#include "backgroundsync.h"

#include "caldavclient.h"
#include "foundation/apperror.h"
#include "platform/passwordstore.h"
#include "syncaccount.h"
#include "syncengine.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QFile>
#include <QMutex>
#include <QPointer>
#include <QThread>
#include <QWaitCondition>

namespace vn::sync {

namespace {

const QString kDefaultCalendar = QStringLiteral("Velnote");

QString transportMessage(const TransportError& error, const QString& certificate)
{
    using Kind = TransportError::Kind;
    switch (error.kind) {
    case Kind::None: return {};
    case Kind::Offline:
        return QStringLiteral("サーバーに接続できません。ネットワークとサーバーのアドレスを確かめてください");
    case Kind::Unauthorized: return QStringLiteral("ユーザー名かパスワードが違います");
    case Kind::NotFound:
        return QStringLiteral("カレンダーが見つかりません。サーバーのアドレスを確かめてください");
    case Kind::Certificate:
        if (certificate.isEmpty())
            return QStringLiteral("暗号化されていない接続 (http) です。パスワードと予定が読み取られるおそれがあります");
        return QStringLiteral("サーバーの証明書はこのシステムでは信頼されていません。"
                              "指紋 (SHA-256) を確かめてください: %1")
            .arg(certificate);
    case Kind::PreconditionFailed:
    case Kind::SyncTokenInvalid:
    case Kind::Server: break;
    }
    QString text = QStringLiteral("サーバーが要求を受け付けませんでした");
    if (error.httpStatus)
        text += QStringLiteral(" (HTTP %1)").arg(error.httpStatus);
    if (!error.detail.isEmpty())
        text += QStringLiteral(" [%1]").arg(error.detail.left(200));
    return text;
}

SyncReport transportReport(const TransportError& error, const QString& certificate)
{
    SyncReport report;
    report.finished = QDateTime::currentDateTime();
    if (error.ok())
        return report;
    using Kind = TransportError::Kind;
    report.message = transportMessage(error, certificate);
    switch (error.kind) {
    case Kind::Offline: report.outcome = SyncReport::Outcome::Offline; break;
    case Kind::Unauthorized:
    case Kind::NotFound: report.outcome = SyncReport::Outcome::UserMustAct; break;
    case Kind::Certificate:
        report.outcome = SyncReport::Outcome::UserMustAct;
        report.certificate = certificate;
        report.plainHttp = certificate.isEmpty();
        break;
    default: report.outcome = SyncReport::Outcome::Failed; break;
    }
    return report;
}

SyncReport failed(SyncReport::Outcome outcome, const QString& message)
{
    SyncReport report;
    report.outcome = outcome;
    report.message = message;
    report.finished = QDateTime::currentDateTime();
    return report;
}

QUrl serverUrl(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.contains(QStringLiteral("://")))
        return QUrl(text);
    return QUrl(QStringLiteral("https://") + text);
}

// One sync of a data folder at a time on this machine: the program's own
// and one from the command line would otherwise both write the sync state.
QString syncLockPath(const QString& dataDir)
{
    const QByteArray key =
        QCryptographicHash::hash(QDir(dataDir).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/velnote-sync-") + QString::fromLatin1(key) +
           QStringLiteral(".lock");
}

constexpr int kLockWaitMSecs = 10000;

} // namespace

// The keyring is only ever asked on the service's own thread (its library
// does not work from another); what the sync thread needs of it is handed over.
struct BackgroundSync::Core {
    QString dataDir;
    std::unique_ptr<platform::PasswordStore> keyring; // service's thread only
    QString knownPassword; // read from the keyring or typed in this run; service's thread only
    QPointer<QObject> home; // answers go through it

    QMutex mutex;
    QWaitCondition idle;
    bool ended = false;
    int pending = 0;         // requests posted and not yet answered
    bool syncQueued = false; // a sync is posted and has not started
    QList<Done> syncWaiters; // answers due when the queued sync ends

    platform::PasswordStore& passwords()
    {
        if (!keyring)
            keyring = platform::MakeKeyringPasswordStore();
        return *keyring;
    }

    SyncAccount readAccount(SyncReport& report)
    {
        try {
            return ReadSyncAccount(SyncAccountPath());
        } catch (const AppError& e) {
            report = failed(SyncReport::Outcome::Failed, e.message());
            return {};
        }
    }

    ServerAccess accessFor(const AccountForm& form, const SyncAccount& account)
    {
        ServerAccess access;
        access.server = serverUrl(form.server);
        access.user = form.user;
        access.password = form.password;
        access.acceptedCertificates = account.certificatesFor(access.server);
        if (!form.acceptedCertificate.isEmpty())
            access.acceptedCertificates.append(form.acceptedCertificate);
        access.plainHttpAccepted =
            form.plainHttpAccepted ||
            (account.plainHttpAccepted && account.server == form.server.trimmed());
        return access;
    }

    // On the service's thread: the password of the account kept, or a
    // report why there is none.
    QString password(SyncReport& report)
    {
        if (!knownPassword.isEmpty())
            return knownPassword;
        const SyncAccount account = readAccount(report);
        if (!report.ok() || !account.configured())
            return {}; // the sync says why
        const platform::PasswordResult kept = passwords().read(account.server, account.user);
        if (kept.ok()) {
            knownPassword = kept.password;
            return knownPassword;
        }
        report = failed(SyncReport::Outcome::UserMustAct,
                        kept.status == platform::PasswordResult::Status::Unavailable
                            ? QStringLiteral("キーリングがないため、同期のパスワードは保存されていません。"
                                             "環境設定の「同期」で入力してください")
                            : QStringLiteral("同期のパスワードを読み出せません。"
                                             "環境設定の「同期」で入力し直してください"));
        return {};
    }

    // On the service's thread: keeps the password; a remark when it is kept
    // for this run only, a failure when the keyring refused it.
    SyncReport keepPassword(const AccountForm& form)
    {
        SyncReport report;
        const platform::PasswordResult kept =
            passwords().write(form.server.trimmed(), form.user, form.password);
        if (kept.status == platform::PasswordResult::Status::Unavailable)
            report.message = QStringLiteral("この環境にはキーリングがないため、パスワードは"
                                            "Velnoteを終了するまでの間だけ保持します");
        else if (!kept.ok())
            return failed(SyncReport::Outcome::Failed,
                          QStringLiteral("パスワードをキーリングに保存できません [%1]").arg(kept.detail));
        knownPassword = form.password;
        return report;
    }

    // On the sync thread.
    SyncReport sync(const QString& password)
    {
        SyncReport report;
        const SyncAccount account = readAccount(report);
        if (!report.ok())
            return report;
        if (!account.configured())
            return failed(SyncReport::Outcome::UserMustAct,
                          QStringLiteral("同期の設定がありません。環境設定の「同期」で設定してください"));
        AccountForm form{account.server, account.user, password, {}, account.plainHttpAccepted};
        QLockFile lock(syncLockPath(dataDir));
        if (!lock.tryLock(kLockWaitMSecs))
            return failed(SyncReport::Outcome::Offline,
                          QStringLiteral("別の同期が終わるのを待っています"));
        CalDavClient client(accessFor(form, account));
        client.setCalendar(QUrl(account.calendarUrl));
        SyncOptions options;
        options.diary = account.diary;
        options.calendar = account.calendarUrl;
        const SyncResult result = RunSync(dataDir, client, options);
        report.finished = QDateTime::currentDateTime();
        report.pushed = result.pushed;
        report.pulled = result.pulled;
        report.deleted = result.deleted;
        report.conflicts = result.conflicts;
        report.complete = result.complete;
        report.schedulesChanged = result.schedulesChanged;
        report.diaryDaysChanged = result.diaryDaysChanged;
        report.message = result.message;
        using F = SyncResult::Failure;
        switch (result.failure) {
        case F::None: report.outcome = SyncReport::Outcome::Done; break;
        case F::Offline: report.outcome = SyncReport::Outcome::Offline; break;
        case F::Unauthorized:
        case F::NotFound: report.outcome = SyncReport::Outcome::UserMustAct; break;
        case F::Certificate:
            report.outcome = SyncReport::Outcome::UserMustAct;
            report.certificate = client.refusedCertificate();
            report.plainHttp = report.certificate.isEmpty();
            break;
        case F::Server:
        case F::LocalFile: report.outcome = SyncReport::Outcome::Failed; break;
        }
        if (!result.ok() && !result.detail.isEmpty() && result.failure != F::Offline)
            report.message += QStringLiteral(" [%1]").arg(result.detail.left(200));
        return report;
    }

    SyncReport setUp(const AccountForm& form, QString calendarUrl, QString calendarName,
                     bool diary)
    {
        SyncReport report;
        SyncAccount account = readAccount(report);
        if (!report.ok())
            return report;
        CalDavClient client(accessFor(form, account));
        if (calendarUrl.isEmpty()) {
            TransportError error;
            const CalendarInfo made =
                client.createCalendar(calendarName.isEmpty() ? kDefaultCalendar : calendarName, error);
            if (!error.ok())
                return transportReport(error, client.refusedCertificate());
            calendarUrl = made.url.toString();
            calendarName = made.displayName;
        }
        const QUrl server = serverUrl(form.server);
        account.server = form.server.trimmed();
        account.user = form.user;
        account.calendarUrl = calendarUrl;
        account.calendarName = calendarName;
        account.diary = diary;
        account.plainHttpAccepted = form.plainHttpAccepted || account.plainHttpAccepted;
        if (!form.acceptedCertificate.isEmpty())
            account.acceptCertificate(server, form.acceptedCertificate);
        try {
            WriteSyncAccount(SyncAccountPath(), account);
        } catch (const AppError& e) {
            return failed(SyncReport::Outcome::Failed, e.message());
        }
        report.finished = QDateTime::currentDateTime();
        return report;
    }
};

BackgroundSync::BackgroundSync(QString dataDir, std::unique_ptr<platform::PasswordStore> keyring)
    : core_(std::make_shared<Core>())
{
    core_->dataDir = std::move(dataDir);
    core_->keyring = std::move(keyring);
    core_->home = new QObject;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("velnote-sync"));
    worker_ = new QObject;
    worker_->moveToThread(thread_);
    thread_->start(QThread::LowPriority);
}

BackgroundSync::~BackgroundSync()
{
    {
        QMutexLocker lock(&core_->mutex);
        core_->ended = true;
        delete core_->home.data();
    }
    thread_->quit();
    if (thread_->wait(kEndWaitMSecs)) {
        delete worker_;
        delete thread_;
    }
    // Otherwise a request is still waiting for the server: the thread is
    // left to end with the process, and what it uses lives on in the core.
}

void BackgroundSync::post(std::function<std::function<void()>(Core&)> work)
{
    {
        QMutexLocker lock(&core_->mutex);
        ++core_->pending;
    }
    QMetaObject::invokeMethod(worker_, [core = core_, work = std::move(work)] {
        std::function<void()> reply = work(*core);
        QMutexLocker lock(&core->mutex);
        if (!core->ended && core->home && reply)
            QMetaObject::invokeMethod(core->home.data(), std::move(reply), Qt::QueuedConnection);
        if (--core->pending == 0)
            core->idle.wakeAll();
    });
}

void BackgroundSync::listCalendars(const AccountForm& form, CalendarsDone done)
{
    post([form, done](Core& core) -> std::function<void()> {
        SyncReport report;
        const SyncAccount account = core.readAccount(report);
        QList<CalendarEntry> entries;
        if (report.ok()) {
            CalDavClient client(core.accessFor(form, account));
            TransportError error;
            for (const CalendarInfo& c : client.discoverCalendars(error))
                entries.append({c.url.toString(), c.displayName});
            report = transportReport(error, client.refusedCertificate());
        }
        return [done, entries, report] { done(entries, report); };
    });
}

void BackgroundSync::setUp(const AccountForm& form, const QString& calendarUrl,
                           const QString& calendarName, bool diary, Done done)
{
    // The page only sets up what it has just connected with, so the
    // password is right; the keyring answers here, not on the sync thread.
    const SyncReport kept = core_->keepPassword(form);
    if (!kept.ok()) {
        post([done, kept](Core&) -> std::function<void()> { return [done, kept] { done(kept); }; });
        return;
    }
    post([=](Core& core) -> std::function<void()> {
        SyncReport report = core.setUp(form, calendarUrl, calendarName, diary);
        if (report.ok())
            report.message = kept.message;
        return [done, report] { done(report); };
    });
}

void BackgroundSync::setDiary(bool on, Done done)
{
    post([on, done](Core& core) -> std::function<void()> {
        SyncReport report;
        SyncAccount account = core.readAccount(report);
        if (report.ok() && account.diary != on) {
            account.diary = on;
            try {
                WriteSyncAccount(SyncAccountPath(), account);
            } catch (const AppError& e) {
                report = failed(SyncReport::Outcome::Failed, e.message());
            }
        }
        return [done, report] { done(report); };
    });
}

void BackgroundSync::syncNow(Done done)
{
    {
        QMutexLocker lock(&core_->mutex);
        core_->syncWaiters.append(std::move(done));
        if (core_->syncQueued)
            return;
        core_->syncQueued = true;
    }
    SyncReport noPassword;
    const QString password = core_->password(noPassword);
    post([password, noPassword](Core& core) -> std::function<void()> {
        QList<Done> waiters;
        {
            QMutexLocker lock(&core.mutex);
            core.syncQueued = false;
            waiters.swap(core.syncWaiters);
        }
        const SyncReport report = noPassword.ok() ? core.sync(password) : noPassword;
        return [waiters, report] {
            for (const Done& d : waiters)
                if (d)
                    d(report);
        };
    });
}

void BackgroundSync::forget(Done done)
{
    SyncReport read;
    const SyncAccount account = core_->readAccount(read);
    if (read.ok() && !account.server.isEmpty())
        core_->passwords().remove(account.server, account.user);
    core_->knownPassword.clear();
    post([done](Core&) -> std::function<void()> {
        SyncReport report;
        {
            QFile file(SyncAccountPath());
            if (file.exists() && !file.remove())
                report = failed(SyncReport::Outcome::Failed,
                                QStringLiteral("同期の設定を削除できません [%1]").arg(file.errorString()));
        }
        return [done, report] { done(report); };
    });
}

bool BackgroundSync::waitIdle(int msecs)
{
    QDeadlineTimer deadline(msecs);
    QMutexLocker lock(&core_->mutex);
    while (core_->pending > 0)
        if (!core_->idle.wait(&core_->mutex, deadline))
            break;
    return core_->pending == 0;
}

} // namespace vn::sync
