#pragma once
// The page "同期": the CalDAV account the schedules and the diary are synced
// with. Connecting lists the account's calendars; "今すぐ同期" keeps what the
// page shows (the password in the desktop's keyring) and syncs. The work
// runs in the sync service; the page only shows it and never waits for it.
#include "settingspage.h"

#include <memory>

namespace Ui {
class SyncPage;
}

namespace vn {

namespace sync {
struct AccountForm;
struct SyncReport;
struct CalendarEntry;
} // namespace sync

class SyncPage : public SettingsPage {
    Q_OBJECT
public:
    explicit SyncPage(QWidget* parent = nullptr);
    ~SyncPage() override;
    const Ui::SyncPage& form() const { return *ui; }

    // Shows the account kept in the data folder.
    void LoadAccount();

    // The buttons' actions.
    void Connect();
    void SyncNow();

private:
    sync::AccountForm typed() const;
    // True when the report asked the user something and the request is to
    // be made again (a certificate or plain http accepted).
    bool askAndRetry(const sync::SyncReport& report, sync::AccountForm& form);
    void listed(const QList<sync::CalendarEntry>& calendars, const sync::SyncReport& report,
                sync::AccountForm form);
    void setUpThenSync(sync::AccountForm form);
    void showReport(const sync::SyncReport& report);
    void setBusy(bool busy, const QString& status = {});

    std::unique_ptr<Ui::SyncPage> ui;
    QString keptCalendarUrl_;
};

} // namespace vn
