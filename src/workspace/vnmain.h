#pragma once
// The main window `TfrmMemo`: memo pages, reference area, calendar panel,
// clock, status bar and the program's periodic work.
#include <QMainWindow>
#include <QPointer>

class QDialog;
class QLabel;
class QSplitter;
class QTimer;
class QToolButton;
class QPlainTextEdit;

namespace vn {

class CalendarPanel;
class ClockPanel;
class MainToolBar;
class MemoPagesView;
class ReferenceArea;

// The secondary windows the main window opens.
struct SecondaryWindows {
    QPointer<QDialog> dateTime, scheduleList, balloonHintList, search, env;
};

class TfrmMemo : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMemo(QWidget* parent = nullptr);
    ~TfrmMemo() override;

    void setSecondaryWindows(const SecondaryWindows& windows) { windows_ = windows; }

    void ShowMainWindow();
    void HideMainWindow();
    void ToggleMainWindow();
    bool shownState() const { return shown_; }
    bool startsHidden() const { return startHidden_; }

    void RestoreWindowLayout();
    void SaveWindowLayout();
    void SaveWorkspace();
    void SaveDiary() {}

    MemoPagesView* pages() const { return pages_; }
    MainToolBar* mainToolBar() const { return toolBar_; }
    ClockPanel* clockPanel() const { return clock_; }
    QLabel* statusPanel(int i) const { return status_[size_t(i)]; }
    void tickClock();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void connectCommands();
    void LoadWorkspaceSettings();
    void applyCalendarVisibility();
    void applyReferenceVisibility();
    void applyStayOnTop(bool on);
    void afterSettingsDialog();
    void stampAtCaret(const QString& text);
    void stampAtEnd(const QString& text);
    QPlainTextEdit* currentEditor() const;
    void onApplicationStateChanged(Qt::ApplicationState state);

    SecondaryWindows windows_;
    MainToolBar* toolBar_ = nullptr;
    ClockPanel* clock_ = nullptr;
    QSplitter* body_ = nullptr;     // Splitter2
    QSplitter* memoArea_ = nullptr; // Splitter1 and Splitter3
    MemoPagesView* pages_ = nullptr;
    ReferenceArea* reference_ = nullptr;
    QWidget* info_ = nullptr;       // pnlInfo
    CalendarPanel* calendar_ = nullptr;
    std::array<QLabel*, 6> status_{};
    QTimer* timer1_ = nullptr;
    QTimer* timer2Diary_ = nullptr;
    QTimer* timer3Memo_ = nullptr;
    bool shown_ = false;
    bool startHidden_ = false;
    int lastMinuteChecked_ = -1;
};

} // namespace vn
