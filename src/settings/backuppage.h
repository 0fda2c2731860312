#pragma once
// The page "データ・バックアップ": when backup generations are made and how
// many are kept, a generation made by hand, the list of generations with
// delete and refresh, the restore window and the explanation.
#include "settingspage.h"

#include <memory>

namespace Ui {
class BackUpPage;
}

namespace vn {

class BackUpPage : public SettingsPage {
    Q_OBJECT
public:
    explicit BackUpPage(QWidget* parent = nullptr);
    ~BackUpPage() override;
    const Ui::BackUpPage& form() const { return *ui; }

    // The five schedule controls from the settings (at creation and every
    // showing). Out-of-range choices are shown corrected but not written;
    // the maximum is kept within 5..99 and written when it moved.
    void LoadBackUpControls();
    // The generations in the BackUp folder, newest first.
    void RefreshList();

    void Button1Click();         // "現在の状態をバックアップ"
    void cmdBackUpDelDirClick(); // "削除(日時)"

private:
    void showIntervalControls();

    std::unique_ptr<Ui::BackUpPage> ui;
};

} // namespace vn
