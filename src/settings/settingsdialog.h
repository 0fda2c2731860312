#pragma once
// "環境設定" (`TfrmEnv`): eight pages of settings, each control written the
// moment it changes and applied at once. The dialog is made when first
// opened and lives until the end; what it changes outside itself it reaches
// through its host. What its creation corrects in the settings file the
// start corrects without it (storedsettings.h).
#include "foundation/uptime.h"

#include <QDialog>

#include <memory>

class QTabWidget;

namespace Ui {
class SettingsDialog;
}

namespace vn {

class SettingsHost;
class ScheduleSoundPattern;
class MemoPage;
class ReferencePage;
class CalendarPage;
class SchedulePage;
class BalloonHintPage;
class BackUpPage;
class VersionPage;
class SyncPage;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The pages in their order.
    enum class Page { Memo, Reference, Calendar, Schedule, BalloonHint, BackUp, Version, Sync, Count };

    explicit SettingsDialog(QWidget* parent = nullptr);
    ~SettingsDialog() override;

    // Connects the dialog to the program and makes the creation steps: the
    // first page, start hidden, the page count, the alarm default, the
    // show/hide key (registered here) and the backup controls.
    void Initialize(SettingsHost* host);

    void setProgramVersion(const QString& version);
    // The uptime fields; the background jobs refresh them.
    void showUptime(const UptimeTexts& uptime);
    // The generations list; after a scheduled generation.
    void refreshBackUpList();

    // What the schedule notifier asks for the schedule-time sound.
    const ScheduleSoundPattern* soundPattern() const;

    QTabWidget* pageControl() const;
    QWidget* page(Page p) const;
    MemoPage* memoPage() const { return memo_; }
    ReferencePage* referencePage() const { return reference_; }
    CalendarPage* calendarPage() const { return calendar_; }
    SchedulePage* schedulePage() const { return schedule_; }
    BalloonHintPage* balloonHintPage() const { return balloon_; }
    BackUpPage* backUpPage() const { return backUp_; }
    VersionPage* versionPage() const { return version_; }
    SyncPage* syncPage() const { return sync_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();

    std::unique_ptr<Ui::SettingsDialog> ui;
    SettingsHost* host_ = nullptr;
    MemoPage* memo_;
    ReferencePage* reference_;
    CalendarPage* calendar_;
    SchedulePage* schedule_;
    BalloonHintPage* balloon_;
    BackUpPage* backUp_;
    VersionPage* version_;
    SyncPage* sync_;
};

} // namespace vn
