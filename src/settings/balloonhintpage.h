#pragma once
// The page "バルーンヒント": the time pattern of balloon hints (their list
// shows the times in it) and their sound.
#include "settingspage.h"

#include <memory>

namespace Ui {
class BalloonHintPage;
}

namespace vn {

class BalloonHintPage : public SettingsPage {
    Q_OBJECT
public:
    explicit BalloonHintPage(QWidget* parent = nullptr);
    ~BalloonHintPage() override;
    const Ui::BalloonHintPage& form() const { return *ui; }

    // Every showing: the pattern (selected without its action) and the sound.
    void LoadAtShowing();

private:
    void choosePattern(int index);

    std::unique_ptr<Ui::BalloonHintPage> ui;
};

} // namespace vn
