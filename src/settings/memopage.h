#pragma once
// The page "メモ" of the settings dialog: the shown page count and tab rows,
// word wrap, the separator, the insert patterns, start-up, starting at login
// and the show/hide key.
#include "settingspage.h"

#include <memory>

namespace Ui {
class MemoPage;
}

namespace vn {

class MemoPage : public SettingsPage {
    Q_OBJECT
public:
    explicit MemoPage(QWidget* parent = nullptr);
    ~MemoPage() override;
    const Ui::MemoPage& form() const { return *ui; }

    // Once, when the dialog is made: start hidden, the page count, the
    // show/hide key (registered here) and its time window.
    void LoadAtCreation();
    // Every showing: tab rows, wrap, separator, patterns, login start.
    void LoadAtShowing();
    // Every closing: the separator and the page count are written.
    void SaveAtClosing();

    // The program that starts at login (the running one unless set).
    void setAutostartProgram(const QString& program) { program_ = program; }

    // The show/hide kind of the checked row, 0..4.
    int pauseKind() const;

private:
    void setPauseKind(int kind);
    void txtPauseChange();
    void txtSepaChange();
    void chooseDate(int index);
    void chooseDateTime(int index);
    void chkAutoStartClick();
    void showPatterns();

    std::unique_ptr<Ui::MemoPage> ui;
    QString program_;
};

} // namespace vn
