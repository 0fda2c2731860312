#pragma once
// The dialogs commands ask through: message boxes with the program's fixed
// captions and button texts, file, input, font and colour dialogs. Tests
// replace them with scripted answers.
#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QInputDialog;
class QWidget;

namespace vn {

// Plain: a message captioned with the program's title, without an icon.
enum class BoxKind { Warning, Error, Information, Confirmation, Plain };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, Yes };
enum class BoxAnswer { Ok, Cancel, Yes, No };

struct UiPrompts {
    std::function<BoxAnswer(BoxKind, const QString& text, BoxButtons)> message;
    // A message box that does not wait: it returns at once, the box stays
    // up while timers and other windows go on, and answered runs when the
    // user closes it.
    std::function<void(BoxKind, const QString& text, BoxButtons,
                       std::function<void(BoxAnswer)> answered)>
        notice;
    // Save dialog with a filter and a default extension; empty when cancelled.
    std::function<QString(const QString& filter, const QString& defaultSuffix)> saveFile;
    std::function<QString(const QString& filter)> openFile;
    // Open dialog with a title, starting at a file or, when none, in a folder;
    // none when cancelled.
    std::function<std::optional<QString>(const QString& title, const QString& filter,
                                         const QString& startFile, const QString& startFolder)>
        chooseOpenFile;
    // Input box: caption, prompt, initial text; a cancel returns the initial text.
    std::function<QString(const QString& caption, const QString& prompt, const QString& initial)>
        input;
    std::function<std::optional<QFont>(const QFont& initial)> chooseFont;
    std::function<std::optional<QColor>(const QColor& initial)> chooseColour;
};

// The prompts in use; the defaults show real dialogs.
UiPrompts& Prompts();
UiPrompts DefaultPrompts(QWidget* parent);

// A "name|pattern|name|pattern" filter in the file dialog's own form, each
// pattern shown once.
QString QtNameFilter(const QString& filter);

// The one-line input box behind `input`, wide enough for its caption.
QInputDialog* MakeInputDialog(QWidget* parent, const QString& caption, const QString& prompt,
                              const QString& initial);

// Shorthand for a message box.
BoxAnswer Ask(BoxKind kind, const QString& text, BoxButtons buttons);

// Shorthand for a message box that does not wait (see UiPrompts::notice).
void Notify(BoxKind kind, const QString& text, BoxButtons buttons,
            std::function<void(BoxAnswer)> answered);

// Whether to rewrite target, the file outside the data folder that the
// symbolic link path leads to (yes/no); for RecordFile::write and its kin.
bool AskWriteThroughLink(const QString& path, const QString& target);

} // namespace vn
