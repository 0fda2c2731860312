#pragma once
// Where the sync password is kept: the desktop's keyring through the Secret
// Service (QtKeychain), under a key made of the server and the user. Never
// in a file of the data folder.
//
// Without a keyring (no Secret Service on the session bus, no session bus)
// the calls answer Unavailable; the caller then keeps the password for the
// running session only (SessionPasswordStore) and tells the user so.
//
// The keyring is asked from the application's main thread only (QtKeychain
// runs its jobs there): a call from another thread answers Failed at once.
// Read the password there when a sync starts and hand it to the worker. A
// call blocks until the keyring has answered (a local event loop that takes
// no user input; a locked keyring may ask the user to unlock it first).
#include <QHash>
#include <QString>

#include <memory>

namespace vn::platform {

struct PasswordResult {
    enum class Status {
        Ok,
        NotFound,    // nothing kept for this server and user
        Unavailable, // no keyring on this desktop: keep it for the session
        Failed,      // the keyring refused or failed (see detail)
    };
    Status status = Status::Ok;
    QString password; // read: the password kept
    QString detail;   // the keyring's own words, for the log

    bool ok() const { return status == Status::Ok; }
};

class PasswordStore {
public:
    virtual ~PasswordStore() = default;
    virtual PasswordResult read(const QString& server, const QString& user) = 0;
    virtual PasswordResult write(const QString& server, const QString& user,
                                 const QString& password) = 0;
    // Removing what is not there is no failure.
    virtual PasswordResult remove(const QString& server, const QString& user) = 0;
};

// The desktop's keyring (Secret Service, or KWallet where that is the desktop's).
std::unique_ptr<PasswordStore> MakeKeyringPasswordStore();

// Passwords for the running session only, in memory: where there is no
// keyring, and in tests.
class SessionPasswordStore : public PasswordStore {
public:
    PasswordResult read(const QString& server, const QString& user) override;
    PasswordResult write(const QString& server, const QString& user,
                         const QString& password) override;
    PasswordResult remove(const QString& server, const QString& user) override;

private:
    QHash<QString, QString> passwords_;
};

// The key a password is kept under: "user@server".
QString PasswordKey(const QString& server, const QString& user);

} // namespace vn::platform
