#pragma once
// The main window `MainWindow`: memo pages, reference area, calendar panel,
// clock, status bar and the program's periodic work.
#include "workspace/textrescue.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QDialog;
class QLabel;
class QSplitter;
class QTimer;
class QToolButton;
class QPlainTextEdit;
class QPropertyAnimation;

namespace vn {

class CalendarPanel;
class ClockPanel;
class DayDetails;
class BalloonHintStore;
class ScheduleAlerts;
class StatusPanels;
class MainToolBar;
class MemoPagesView;
class OutsideWatch;
class PageCommands;
class ReferenceArea;

// The secondary windows the main window opens, each asked for when its
// command comes (and made then, on its first use).
struct SecondaryWindowOpeners {
    std::function<QDialog*()> dateTime, scheduleList, balloonHintList, search, env;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // balloonHints: the program's balloon hints, asked by the minute check
    // (the window keeps a set of its own when none is given).
    explicit MainWindow(QWidget* parent = nullptr, BalloonHintStore* balloonHints = nullptr);
    ~MainWindow() override;

    void setSecondaryWindows(const SecondaryWindowOpeners& windows) { windows_ = windows; }

    void ShowMainWindow();
    void HideMainWindow();
    void ToggleMainWindow();
    void setVisible(bool visible) override;
    bool shownState() const { return shown_; }
    bool startsHidden() const { return startHidden_; }

    void RestoreWindowLayout();
    void SaveWindowLayout();
    void SaveWorkspace();
    void SaveDiary();

    MemoPagesView* pages() const { return pages_; }
    PageCommands* commands() const { return commands_; }
    ReferenceArea* reference() const { return reference_; }
    CalendarPanel* calendarPanel() const { return calendar_; }
    ScheduleAlerts* scheduleAlerts() const { return alerts_; }
    void ShowSelectedDayDetails();

    void DeleteOrRestorePage();
    // The main window's keys; true when the key acted.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    MainToolBar* mainToolBar() const { return toolBar_; }
    ClockPanel* clockPanel() const { return clock_; }
    QLabel* statusPanel(int i) const { return status_[size_t(i)]; }
    void tickClock();
    // The clock tick: every half second while the window is up, once a
    // minute while it is hidden.
    QTimer* clockTimer() const { return timer1_; }
    static constexpr int kClockTickMSecs = 500;

signals:
    void searchRequested();
    void findNextRequested();
    void printRequested();
    void calendarKey(int key); // Alt+Page Up / Page Down / Home

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    // The calendar panel's wiring and start (mainwindowcalendar.cpp).
    void connectCalendar();
    void startCalendar();
    void connectCommands();
    void LoadWorkspaceSettings();
    void applyCalendarVisibility();
    void applyStayOnTop(bool on);
    int referenceHeight(); // the last height the reference area had
    void afterSettingsDialog();
    // Files other programs change while the program runs: watched, taken
    // in, and conflicts told.
    void watchOutsideChanges();
    QPlainTextEdit* currentEditor() const;
    void applyDetailPane(bool pressed);
    void applyDiaryPane(bool pressed);
    void showSaveErrors(const QStringList& errors);
    // A close met a diary it could not save: reported, and at the end of the
    // program its text is copied to a page or the clipboard (asked unless
    // the session is ending). False when the user chose not to end.
    bool keepUnsavedDiary(bool ending);
    // Appends the diary's text to a page that may be written; its index, or
    // -1 when no page may.
    int copyDiaryToPage(const QString& text);
    int pageForDiaryCopy() const;
    void onApplicationStateChanged(Qt::ApplicationState state);
    void armClock();

    SecondaryWindowOpeners windows_;
    MainToolBar* toolBar_ = nullptr;
    ClockPanel* clock_ = nullptr;
    QSplitter* body_ = nullptr;     // Splitter2
    QSplitter* memoArea_ = nullptr; // Splitter1 and Splitter3
    MemoPagesView* pages_ = nullptr;
    PageCommands* commands_ = nullptr;
    ReferenceArea* reference_ = nullptr;
    OutsideWatch* outsideWatch_ = nullptr;
    QWidget* info_ = nullptr; // pnlInfo
    QPlainTextEdit* memoInfo_ = nullptr;
    CalendarPanel* calendar_ = nullptr;
    DayDetails* details_ = nullptr;
    ScheduleAlerts* alerts_ = nullptr;
    BalloonHintStore* balloonHints_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    std::array<QLabel*, 6> status_{};
    QPropertyAnimation* fade_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2Diary_ = nullptr;
    QTimer* timer3Memo_ = nullptr;
    bool shown_ = false;
    bool startHidden_ = false;
    int refHeight_ = 145;
    QString diaryCopied_; // the unsaved diary text last copied at an end
    TextRescue rescue_;   // what the end of the session could not save
};

} // namespace vn
