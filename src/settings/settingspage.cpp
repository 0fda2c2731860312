#include "settingspage.h"

#include "widgets/errorbox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSignalBlocker>
#include <QSpinBox>

namespace vn {

void SettingsPage::act(const std::function<void()>& action)
{
    Guarded(action, window());
}

void StoreSettingInt(int id, int value)
{
    if (ReadSettingInt(id) != value)
        WriteSettingInt(id, value);
}

void StoreSettingStr(int id, const QString& text)
{
    if (ReadSettingStr(id) != text)
        WriteSettingStr(id, text);
}

void SetQuietly(QAbstractButton* button, bool checked)
{
    const QSignalBlocker block(button);
    button->setChecked(checked);
}

void SetQuietly(QSpinBox* spin, int value)
{
    const QSignalBlocker block(spin);
    spin->setValue(value);
}

void SelectQuietly(QComboBox* combo, int index)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

void SelectTextQuietly(QComboBox* combo, const QString& text)
{
    SelectQuietly(combo, combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace vn
