#include "widgets/uiprompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <memory>

namespace vn {

namespace {

struct BoxButtonSet {
    QAbstractButton *ok = nullptr, *yes = nullptr, *no = nullptr;
};

BoxButtonSet fillBox(QMessageBox& box, BoxKind kind, const QString& text, BoxButtons buttons)
{
    static const char16_t* const captions[] = {u"警告", u"エラー", u"情報", u"確認", u"Velnote"};
    static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                              QMessageBox::Information, QMessageBox::Question,
                                              QMessageBox::NoIcon};
    box.setIcon(icons[int(kind)]);
    box.setWindowTitle(QString::fromUtf16(captions[int(kind)]));
    box.setText(text);
    auto add = [&](const QString& label, QMessageBox::ButtonRole role) {
        return box.addButton(label, role);
    };
    QAbstractButton *ok = nullptr, *yes = nullptr, *no = nullptr;
    switch (buttons) {
    case BoxButtons::Ok: ok = add(QStringLiteral("OK"), QMessageBox::AcceptRole); break;
    case BoxButtons::OkCancel:
        ok = add(QStringLiteral("OK"), QMessageBox::AcceptRole);
        add(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        break;
    case BoxButtons::YesNo:
        yes = add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = add(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        break;
    case BoxButtons::Yes: yes = add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole); break;
    case BoxButtons::YesNoCancel:
        yes = add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = add(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        add(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        break;
    }
    return {ok, yes, no};
}

BoxAnswer answerOf(const QMessageBox& box, const BoxButtonSet& set, BoxButtons buttons)
{
    const auto [ok, yes, no] = set;
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == yes)
        return BoxAnswer::Yes;
    if (clicked && clicked == no)
        return BoxAnswer::No;
    if (clicked && clicked == ok)
        return BoxAnswer::Ok;
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    if (buttons == BoxButtons::YesNo)
        return BoxAnswer::No;
    if (buttons == BoxButtons::Yes)
        return BoxAnswer::Yes;
    return BoxAnswer::Cancel;
}

BoxAnswer showBox(QWidget* parent, BoxKind kind, const QString& text, BoxButtons buttons)
{
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    const BoxButtonSet set = fillBox(box, kind, text, buttons);
    box.exec();
    return answerOf(box, set, buttons);
}

// A box that runs no event loop of its own: shown, and answered when closed.
void showNotice(QWidget* parent, BoxKind kind, const QString& text, BoxButtons buttons,
                std::function<void(BoxAnswer)> answered)
{
    auto* box = new QMessageBox(parent ? parent : QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    const BoxButtonSet set = fillBox(*box, kind, text, buttons);
    QObject::connect(box, &QDialog::finished, box, [box, set, buttons, answered] {
        if (answered)
            answered(answerOf(*box, set, buttons));
    });
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace

QString QtNameFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // A name that already shows its patterns is given as it is: the file
        // dialog takes the patterns from the brackets at its end.
        const QString shown = u'(' + parts[i + 1] + u')';
        out.append(parts[i].endsWith(shown)
                       ? parts[i]
                       : parts[i] + QStringLiteral(" (") + parts[i + 1] + u')');
    }
    return out.join(QStringLiteral(";;"));
}

UiPrompts DefaultPrompts(QWidget* parent)
{
    UiPrompts p;
    p.message = [parent](BoxKind k, const QString& t, BoxButtons b) {
        return showBox(parent, k, t, b);
    };
    p.notice = [parent](BoxKind k, const QString& t, BoxButtons b,
                        std::function<void(BoxAnswer)> answered) {
        showNotice(parent, k, t, b, std::move(answered));
    };
    p.saveFile = [parent](const QString& filter, const QString& suffix) {
        QFileDialog d(parent);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setNameFilter(QtNameFilter(filter));
        d.setDefaultSuffix(suffix);
        d.setOption(QFileDialog::DontConfirmOverwrite); // the program asks itself
        return d.exec() == QDialog::Accepted ? d.selectedFiles().value(0) : QString();
    };
    p.openFile = [parent](const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), QtNameFilter(filter));
    };
    p.chooseOpenFile = [parent](const QString& title, const QString& filter,
                                const QString& startFile,
                                const QString& startFolder) -> std::optional<QString> {
        QFileDialog d(parent, title, startFolder, QtNameFilter(filter));
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
        if (!startFile.isEmpty())
            d.selectFile(startFile);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
            return std::nullopt;
        return d.selectedFiles().constFirst();
    };
    p.input = [parent](const QString& caption, const QString& prompt, const QString& initial) {
        const std::unique_ptr<QInputDialog> dialog(
            MakeInputDialog(parent, caption, prompt, initial));
        return dialog->exec() == QDialog::Accepted ? dialog->textValue() : initial;
    };
    p.chooseFont = [parent](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initial, parent);
        return ok ? std::optional<QFont>(f) : std::nullopt;
    };
    p.chooseColour = [parent](const QColor& initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, parent);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    return p;
}

QInputDialog* MakeInputDialog(QWidget* parent, const QString& caption, const QString& prompt,
                              const QString& initial)
{
    auto* dialog = new QInputDialog(parent);
    dialog->setWindowTitle(caption);
    dialog->setLabelText(prompt);
    dialog->setTextValue(initial);
    // Qt sizes the box for its label and field only; the title bar also
    // needs room for the caption beside the window manager's buttons.
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const int room = title.horizontalAdvance(caption) + 4 * title.height() + 96;
    // The box's layout fixes its size from its contents, so the width is
    // asked of the field rather than of the box.
    if (auto* field = dialog->findChild<QLineEdit*>())
        field->setMinimumWidth(std::max(room, 320) - 24);
    return dialog;
}

UiPrompts& Prompts()
{
    static UiPrompts prompts = DefaultPrompts(nullptr);
    return prompts;
}

BoxAnswer Ask(BoxKind kind, const QString& text, BoxButtons buttons)
{
    return Prompts().message(kind, text, buttons);
}

void Notify(BoxKind kind, const QString& text, BoxButtons buttons,
            std::function<void(BoxAnswer)> answered)
{
    Prompts().notice(kind, text, buttons, std::move(answered));
}

bool AskWriteThroughLink(const QString& path, const QString& target)
{
    const QString text =
        QStringLiteral("\"%1\" はデータフォルダーの外にあるファイル \"%2\" への"
                       "シンボリックリンクです。\r\n\r\nリンク先のファイルを書き換えますか？\r\n"
                       "（「いいえ」ではファイルを変更しません）")
            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(target));
    return Ask(BoxKind::Confirmation, text, BoxButtons::YesNo) == BoxAnswer::Yes;
}

} // namespace vn
