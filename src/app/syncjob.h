#pragma once
// The sync of schedules and diary with a calendar server, as a background
// job of the program: shortly after the window is up, a few seconds after a
// change to the schedules or the diary, every few minutes while running, and
// once more at an orderly end (bounded). Nothing happens, and nothing is
// loaded, while no account is set up. A failure for lack of a connection is
// retried quietly with growing pauses; one the user must act on is told once.
#include "sync/syncservice.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace vn {

class SyncJob : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const QString& message)> tellUser; // once per cause
        std::function<void(const QString& status)> showStatus; // "最終同期 12:34"
        // Makes the service (loads the module); null with the reason.
        std::function<std::unique_ptr<sync::SyncService>(QString* error)> load;
        std::function<bool()> configured; // an account is set up (a cheap check)
    };
    explicit SyncJob(Hooks hooks, QObject* parent = nullptr);
    ~SyncJob() override;

    static constexpr int kStartDelayMSecs = 5000;
    static constexpr int kChangeDelayMSecs = 5000;
    static constexpr int kPeriodMSecs = 5 * 60 * 1000;
    static constexpr int kFirstRetryMSecs = 30 * 1000;
    static constexpr int kLongestRetryMSecs = 15 * 60 * 1000;
    static constexpr int kEndBoundMSecs = 3000;

    void start();        // the window is up
    void localChanged(); // the schedules or the diary were written here
    void finish();       // the program ends: one more sync, within the bound
    // The account was set up or changed on the sync page: sync soon.
    void accountChanged();

    // The service, loaded on first use; null when the module is missing
    // (told once).
    sync::SyncService* service();
    // The last sync's report, for the page.
    QString statusText() const { return status_; }

    // One sync now; `also` gets its report too (the sync page).
    void syncNow(sync::SyncService::Done also = {});
    QTimer* soonTimer() { return &soon_; }
    int retryMSecs() const { return retryMSecs_; }

signals:
    void synced(const vn::sync::SyncReport& report);

private:
    void done(const sync::SyncReport& report);
    void tellOnce(const QString& message);

    Hooks hooks_;
    std::unique_ptr<sync::SyncService> service_;
    bool loadFailed_ = false;
    bool finished_ = false;
    QTimer soon_;
    QTimer period_;
    int retryMSecs_ = 0;
    QString told_; // the last cause told; told again only after a success
    QString status_;
};

} // namespace vn
