#include "settingspage.h"

#include "widgets/errorbox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QSignalBlocker>
#include <QSpinBox>

namespace vn {

void SettingsPage::act(const std::function<void()>& action)
{
    Guarded(action, window());
}

QSize SettingsPage::sizeHint() const
{
    return measured() ? QWidget::sizeHint() : QSize();
}

QSize SettingsPage::minimumSizeHint() const
{
    return measured() ? QWidget::minimumSizeHint() : QSize();
}

bool SettingsPage::event(QEvent* event)
{
    // Measured from the moment it is no longer hidden, which itself asks
    // the dialog to lay it out.
    if (event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        firstShown();
    }
    return QWidget::event(event);
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
