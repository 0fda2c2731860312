#pragma once
// The page "予定": the start-up balloon, the colour of past schedules, the
// alarm default and the schedule sounds, with the schedule-time pattern the
// notifier plays.
#include "schedule/schedulenotifier.h"
#include "settingspage.h"

#include <memory>

class QLineEdit;
class QPushButton;

namespace Ui {
class SchedulePage;
}

namespace vn {

// The chosen schedule-time pattern is kept in the settings file, in section
// "Sound", key "SchedulePattern": 0 for pattern 1, 1 for pattern 2, 2 for
// pattern 3; anything else (or nothing) is pattern 1.
constexpr const char* kSchedulePatternSection = "Sound";
constexpr const char* kSchedulePatternKey = "SchedulePattern";

class SchedulePage : public SettingsPage, public ScheduleSoundPattern {
    Q_OBJECT
public:
    explicit SchedulePage(QWidget* parent = nullptr);
    ~SchedulePage() override;
    const Ui::SchedulePage& form() const { return *ui; }

    // Once, when the dialog is made.
    void LoadAtCreation();
    // Every showing: the sound fields and the pattern.
    void LoadAtShowing();

    // 1, 2 or 3: the checked pattern button.
    int pattern() const override;

private:
    struct SoundRow {
        QLineEdit* field;
        QPushButton* pick;
        QPushButton* play;
        int setting;
        QString title;
    };
    void loadPattern();
    void choosePattern(int stored);

    std::unique_ptr<Ui::SchedulePage> ui;
    std::vector<SoundRow> sounds_;
};

} // namespace vn
