#pragma once
// What the settings dialog changes outside itself: the main window's pages,
// reference area, formats and calendar, the show/hide key, the balloon-hint
// list, the restore windows and the uptime the background jobs keep. The
// application implements it over the real windows; tests over fakes. The
// dialog writes the settings itself; the host applies them.
#include "foundation/settings.h"
#include "foundation/uptime.h"

#include <QString>

#include <functional>

namespace vn {

class CalendarView;
namespace sync {
class SyncService;
struct SyncReport;
} // namespace sync

class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // ---- Memo pages -----------------------------------------------------
    virtual int shownPageCount() const = 0;
    // The count takes effect at once; the tabs follow when the dialog closes.
    virtual void setShownPageCount(int count) = 0;
    virtual bool multiLineTabs() const = 0;
    virtual void setMultiLineTabs(bool on) = 0; // the tab rows change at once
    virtual bool wrapPages() const = 0;
    virtual void setWrapPages(bool on) = 0; // applied when the dialog closes
    virtual bool wrapReferences() const = 0;
    virtual void setWrapReferences(bool on) = 0; // applied when the dialog closes
    virtual void setSeparator(const QString& text) = 0;
    virtual void setBreakBeforeSeparator(bool on) = 0;
    virtual void setBreakAfterSeparator(bool on) = 0;
    // An empty pattern stands for the built-in one.
    virtual void setDateFormat(const QString& pattern) = 0;
    virtual void setDateTimeFormat(const QString& pattern) = 0;

    // ---- Show/hide key --------------------------------------------------
    // Unregisters the key and registers the one of the kind (0..4).
    virtual void setShowHideKind(int kind) = 0;
    virtual void setShowHideInterval(int seconds) = 0;
    virtual void resetShowHidePress() = 0; // the next press starts a pair

    // ---- Reference pages (all ten share one font and colour) -------------
    virtual FontSpec referenceFont() const = 0;
    virtual void applyReferenceFont(const FontSpec& font) = 0;
    virtual int referenceBackColour() const = 0;
    virtual void applyReferenceBackColour(int colorRef) = 0;

    // ---- Schedules and balloon hints -------------------------------------
    virtual int pastScheduleColour() const = 0;
    virtual void setPastScheduleColour(int colorRef) = 0;
    // The time pattern of balloon hints (empty: the built-in one).
    virtual void setBalloonTimeFormat(const QString& pattern) = 0;
    // The balloon-hint list reads its file again, its times in the pattern.
    virtual void reloadBalloonHints() = 0;

    // ---- Calendar ---------------------------------------------------------
    // The main window's calendar; its setters repaint it.
    virtual CalendarView* calendar() = 0;

    // ---- Backups ----------------------------------------------------------
    virtual QString pageText(int page) const = 0; // as its editor holds it now
    virtual void openRestoreWindow() = 0;
    virtual void openBackUpInfo() = 0;

    // ---- Uptime -----------------------------------------------------------
    virtual UptimeTexts uptime() const = 0;

    // ---- Sync with a calendar server ---------------------------------------
    // The sync service, loaded at its first use; null when it cannot be had.
    virtual sync::SyncService* syncService() { return nullptr; }
    // The account was set up or changed: the background sync follows it.
    virtual void syncAccountChanged() {}
    // One sync as the background sync runs it; `done` gets its report.
    virtual void syncNow(std::function<void(const sync::SyncReport&)> done) { (void)done; }
    // "最終同期 12:34", or empty before the first sync of this run.
    virtual QString syncStatus() const { return {}; }
};

} // namespace vn
