#pragma once
// What the pages of the settings dialog share: the host they change, the
// rule for writing a setting, and quiet setting of controls while loading.
//
// A page loads by setting its controls without their signals and then
// running each control's action, as a change by the user would: the
// program receives the loaded value (corrected where it was out of range).
// A setting is written only when its value differs from what the file
// gives, so loading (and closing) leaves the file byte for byte as it was
// unless a value had to be corrected.
#include "settingshost.h"

#include <QWidget>

#include <functional>

class QAbstractButton;
class QComboBox;
class QSpinBox;

namespace vn {

// A page behind a tab that was never selected takes no part in the dialog's
// layout (the dialog has a fixed size): it is measured, and its costly
// parts (samples in other fonts) are made, when it is first shown.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(QWidget* parent = nullptr) : QWidget(parent) {}
    void setHost(SettingsHost* host) { host_ = host; }
    SettingsHost* host() const { return host_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Runs a user's action; an error is shown and the dialog stays.
    void act(const std::function<void()>& action);
    // Once, as the page is first shown.
    virtual void firstShown() {}
    bool shownOnce() const { return shown_; }
    bool event(QEvent* event) override;

    SettingsHost* host_ = nullptr;

private:
    bool measured() const { return shown_ || !isHidden(); }
    bool shown_ = false;
};

// Writes a setting unless the file already gives that value.
void StoreSettingInt(int id, int value);
void StoreSettingStr(int id, const QString& text);

// Control changes that do not run the control's action.
void SetQuietly(QAbstractButton* button, bool checked);
void SetQuietly(QSpinBox* spin, int value);
void SelectQuietly(QComboBox* combo, int index);
// Selects the entry whose text equals the text, or none.
void SelectTextQuietly(QComboBox* combo, const QString& text);

} // namespace vn
