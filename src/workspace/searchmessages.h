#pragma once
// Warning boxes (caption "警告") of the search and print commands. Tests
// install a sink that records the texts and gives the answers instead of
// showing a modal box.
#include <QString>
#include <functional>

class QWidget;

namespace vn
{

// Receives the text of a warning; `askYesNo` tells whether it is a Yes/No
// question. The return value is the answer (true = Yes); it is ignored for a
// box with OK only.
using WarningSink = std::function<bool(const QString& text, bool askYesNo)>;
void SetWarningSink(WarningSink sink);

// A warning box with the button "OK".
void ShowWarningBox(const QString& text, QWidget* parent = nullptr);
// A warning box with the buttons "はい(&Y)" and "いいえ(&N)"; true for Yes.
bool AskWarningYesNo(const QString& text, QWidget* parent = nullptr);

} // namespace vn
