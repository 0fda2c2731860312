#pragma once
// The page "参照ファイル": the font and background colour of all ten
// reference pages, and their word wrap.
#include "settingspage.h"

#include <memory>

namespace Ui {
class ReferencePage;
}

namespace vn {

class ReferencePage : public SettingsPage {
    Q_OBJECT
public:
    explicit ReferencePage(QWidget* parent = nullptr);
    ~ReferencePage() override;
    const Ui::ReferencePage& form() const { return *ui; }

    void LoadAtShowing();

protected:
    void firstShown() override;

private:
    void cmdRefFontClick();
    void cmdRefBackColorClick();
    void showSample();

    std::unique_ptr<Ui::ReferencePage> ui;
    bool loaded_ = false;
};

} // namespace vn
