#pragma once
// The sync service of the sync module: every request runs, one after the
// other, on a thread of its own, and its answer is posted back to the thread
// that made the service.
#include "syncservice.h"

#include "platform/passwordstore.h"

#include <memory>

class QObject;
class QThread;

namespace vn::sync {

class BackgroundSync final : public SyncService {
public:
    // keyring: where the password is kept; null: the desktop's keyring.
    BackgroundSync(QString dataDir, std::unique_ptr<platform::PasswordStore> keyring = nullptr);
    ~BackgroundSync() override;

    void listCalendars(const AccountForm& form, CalendarsDone done) override;
    void setUp(const AccountForm& form, const QString& calendarUrl, const QString& calendarName,
               bool diary, Done done) override;
    void setDiary(bool on, Done done) override;
    void syncNow(Done done) override;
    void forget(Done done) override;
    bool waitIdle(int msecs) override;

    // How long the end waits for a request under way before leaving it.
    static constexpr int kEndWaitMSecs = 1000;

    struct Core; // what the requests share; outlives the service while one runs

private:
    // Runs work on the sync thread; the function it returns is run on the
    // service's own thread unless the service has ended by then.
    void post(std::function<std::function<void()>(Core&)> work);

    std::shared_ptr<Core> core_;
    QThread* thread_ = nullptr;
    QObject* worker_ = nullptr; // lives on thread_
};

} // namespace vn::sync
