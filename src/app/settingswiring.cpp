#include "settingswiring.h"

#include "application.h"
#include "backgroundjobs.h"
#include "backup/ui/backupinfodialog.h"
#include "backup/ui/restorewindow.h"
#include "secondarywindows.h"
#include "settings/settingsdialog.h"
#include "settings/settingshost.h"
#include "syncjob.h"
#include "widgets/errorbox.h"
#include "widgets/loadreportbox.h"
#include "workspace/calendarpanel.h"
#include "workspace/memopagesview.h"
#include "workspace/referencearea.h"
#include "workspace/schedulealerts.h"
#include "workspace/traycontroller.h"
#include "workspace/workspacesettings.h"

namespace vn {

namespace {

QString orDefault(const QString& value, const char* fallback)
{
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

class MainWindowSettings : public QObject, public SettingsHost {
public:
    MainWindowSettings(Windows& w, TrayController* tray, BackgroundJobs* jobs, SyncJob* sync)
        : QObject(w.memo.get()), w_(w), main_(w.memo.get()), tray_(tray), jobs_(jobs), sync_(sync)
    {
    }

    int shownPageCount() const override { return Workspace().shownPageCount; }
    void setShownPageCount(int count) override
    {
        Workspace().shownPageCount = ClampPageCount(count);
    }
    bool multiLineTabs() const override { return Workspace().multiLineTabs; }
    void setMultiLineTabs(bool on) override
    {
        Workspace().multiLineTabs = on;
        main_->pages()->setMultiLineTabs(on);
    }
    bool wrapPages() const override { return Workspace().wrapPages; }
    void setWrapPages(bool on) override { Workspace().wrapPages = on; }
    bool wrapReferences() const override { return Workspace().wrapReferences; }
    void setWrapReferences(bool on) override { Workspace().wrapReferences = on; }
    void setSeparator(const QString& text) override { Workspace().separatorText = text; }
    void setBreakBeforeSeparator(bool on) override { Workspace().breakBeforeSeparator = on; }
    void setBreakAfterSeparator(bool on) override { Workspace().breakAfterSeparator = on; }
    void setDateFormat(const QString& pattern) override
    {
        Workspace().dateFormat = orDefault(pattern, "yyyy/mm/dd(aaa)");
    }
    void setDateTimeFormat(const QString& pattern) override
    {
        Workspace().dateTimeFormat = orDefault(pattern, "yyyy/mm/dd(aaa) hh:nn:ss");
    }

    void setShowHideKind(int kind) override
    {
        tray_->registerGesture(kind, tray_->gesture().intervalSeconds());
    }
    void setShowHideInterval(int seconds) override { tray_->gesture().setIntervalSeconds(seconds); }
    void resetShowHidePress() override { tray_->gesture().reset(); }

    FontSpec referenceFont() const override { return ReferenceArea::StoredFont(); }
    void applyReferenceFont(const FontSpec&) override { main_->reference()->applyFontAndColour(); }
    int referenceBackColour() const override { return ReadSettingInt(REG_EnvRefBackColor); }
    void applyReferenceBackColour(int) override { main_->reference()->applyFontAndColour(); }

    int pastScheduleColour() const override { return Workspace().pastScheduleColor; }
    void setPastScheduleColour(int colorRef) override { Workspace().pastScheduleColor = colorRef; }
    void setBalloonTimeFormat(const QString& pattern) override
    {
        Workspace().balloonTimeFormat = orDefault(pattern, "hh:nn");
    }
    void reloadBalloonHints() override
    {
        // The program's one set of hints: the list shows it, the minute
        // check asks it.
        Guarded(
            [this] {
                ShowLoadReport(main_->scheduleAlerts()->balloonHints().LoadBalloonHints(), w_.env);
            },
            w_.env);
    }

    CalendarView* calendar() override { return main_->calendarPanel()->view(); }

    QString pageText(int page) const override { return main_->pages()->pageText(page); }
    void openRestoreWindow() override { w_.secondary->restore()->exec(); }
    void openBackUpInfo() override { w_.secondary->backUpInfo()->exec(); }

    UptimeTexts uptime() const override { return jobs_->uptimeTexts(); }

    sync::SyncService* syncService() override { return sync_ ? sync_->service() : nullptr; }
    void syncAccountChanged() override
    {
        if (sync_)
            sync_->accountChanged();
    }
    void syncNow(std::function<void(const sync::SyncReport&)> done) override
    {
        if (sync_)
            sync_->syncNow(std::move(done));
    }
    QString syncStatus() const override { return sync_ ? sync_->statusText() : QString(); }

private:
    Windows& w_;
    MainWindow* main_;
    TrayController* tray_;
    BackgroundJobs* jobs_;
    SyncJob* sync_;
};

} // namespace

void ConnectSettingsDialog(Windows& w, TrayController* tray, BackgroundJobs* jobs, SyncJob* sync)
{
    auto* dialog = static_cast<SettingsDialog*>(w.env);
    dialog->setProgramVersion(QStringLiteral(VN_VERSION));
    dialog->Initialize(new MainWindowSettings(w, tray, jobs, sync));
    w.memo->scheduleAlerts()->setSoundPattern(dialog->soundPattern());
    QObject::connect(jobs, &BackgroundJobs::uptimeRefreshed, dialog, &SettingsDialog::showUptime);
    QObject::connect(jobs, &BackgroundJobs::generationMade, dialog,
                     &SettingsDialog::refreshBackUpList);
}

} // namespace vn
