#pragma once
// A host for the settings pages that keeps what they set, with a real
// calendar view, for tests of the pages without the main window.
#include "calendar/ui/calendarview.h"
#include "settings/settingshost.h"

#include <QStringList>

namespace vn::test {

class FakeSettingsHost : public SettingsHost {
public:
    int shownPageCount() const override { return pageCount; }
    void setShownPageCount(int count) override { pageCount = count; }
    bool multiLineTabs() const override { return multiLine; }
    void setMultiLineTabs(bool on) override { multiLine = on; }
    bool wrapPages() const override { return wrap; }
    void setWrapPages(bool on) override { wrap = on; }
    bool wrapReferences() const override { return wrapRef; }
    void setWrapReferences(bool on) override { wrapRef = on; }
    void setSeparator(const QString& text) override { separator = text; }
    void setBreakBeforeSeparator(bool on) override { breakBefore = on; }
    void setBreakAfterSeparator(bool on) override { breakAfter = on; }
    void setDateFormat(const QString& p) override { dateFormat = p; }
    void setDateTimeFormat(const QString& p) override { dateTimeFormat = p; }
    void setShowHideKind(int kind) override { kinds.append(kind); }
    void setShowHideInterval(int seconds) override { interval = seconds; }
    void resetShowHidePress() override { ++presses; }
    FontSpec referenceFont() const override { return refFont; }
    void applyReferenceFont(const FontSpec& f) override { refFont = f; }
    int referenceBackColour() const override { return refBack; }
    void applyReferenceBackColour(int c) override { refBack = c; }
    int pastScheduleColour() const override { return pastColour; }
    void setPastScheduleColour(int c) override { pastColour = c; }
    void setBalloonTimeFormat(const QString& p) override { balloonFormat = p; }
    void reloadBalloonHints() override { ++balloonReloads; }
    CalendarView* calendar() override { return &view; }
    QString pageText(int page) const override { return QStringLiteral("page %1").arg(page + 1); }
    void openRestoreWindow() override { ++restoreOpened; }
    void openBackUpInfo() override { ++infoOpened; }
    UptimeTexts uptime() const override { return uptimeTexts; }

    int pageCount = 3;
    bool multiLine = false, wrap = false, wrapRef = false;
    QString separator, dateFormat, dateTimeFormat, balloonFormat;
    bool breakBefore = false, breakAfter = true;
    QList<int> kinds; // every kind registered, in order
    int interval = 0, presses = 0;
    FontSpec refFont{0, QStringLiteral("ＭＳ ゴシック"), 9, 0};
    int refBack = 0xFFFFFF;
    int pastColour = 0xC0C0C0;
    int balloonReloads = 0, restoreOpened = 0, infoOpened = 0;
    UptimeTexts uptimeTexts;
    CalendarView view;
};

} // namespace vn::test
