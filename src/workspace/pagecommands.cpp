#include "pagecommands.h"

#include "editcommands.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "foundation/webaddress.h"
#include "memopagesview.h"
#include "platform/platform.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/pasteguard.h"
#include "widgets/uiprompts.h"
#include "workspacesettings.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace vn {

namespace {
const QString kTextFilter = QStringLiteral("テキストファイル(*.txt)|*.txt");
const QString kNoSelection = QStringLiteral("選択文字列がありません");

QString selectionOf(const QPlainTextEdit* e)
{
    // QTextCursor marks paragraph ends with U+2029.
    QString s = e->textCursor().selectedText();
    s.replace(QChar(0x2029), QLatin1String("\r\n"));
    return s;
}
} // namespace

PageCommands::PageCommands(MemoPagesView* pages) : QObject(pages), pages_(pages)
{
    menu_ = new QMenu(pages);
    menu_->setObjectName(QStringLiteral("PopupMenu3"));
    auto guard = [this](void (PageCommands::*fn)()) {
        return [this, fn] { Guarded([this, fn] { (this->*fn)(); }, pages_); };
    };
    connect(add(menu_, "U1", QStringLiteral("元に戻す(&U)"), QKeySequence::Undo),
            &QAction::triggered, this, [this] { editor()->undo(); });
    menu_->addSeparator();
    connect(add(menu_, "T1", QStringLiteral("切り取り(&T)"), QKeySequence::Cut),
            &QAction::triggered, this, [this] { editor()->cut(); });
    connect(add(menu_, "C1", QStringLiteral("コピー(&C)"), QKeySequence::Copy), &QAction::triggered,
            this, [this] { editor()->copy(); });
    connect(add(menu_, "P1", QStringLiteral("貼り付け(&P)"), QKeySequence::Paste),
            &QAction::triggered, this, [this] { PasteInto(editor()); });
    connect(add(menu_, "D1", QStringLiteral("削除(&D)")), &QAction::triggered, this, [this] {
        if (!editor()->isReadOnly())
            editor()->textCursor().removeSelectedText();
    });
    menu_->addSeparator();
    connect(add(menu_, "N34", QStringLiteral("文字列検索..."), QKeySequence(Qt::CTRL | Qt::Key_F)),
            &QAction::triggered, this, &PageCommands::searchRequested);
    connect(add(menu_, "N36", QStringLiteral("次を検索"), QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, &PageCommands::findNextRequested);
    menu_->addSeparator();
    connect(add(menu_, "A1", QStringLiteral("すべて選択(&A)"), QKeySequence::SelectAll),
            &QAction::triggered, this, [this] { editor()->selectAll(); });
    menu_->addSeparator();
    add(menu_, "R1", QStringLiteral("右から左に読む(&R)")); // kept for familiarity; no action
    menu_->addSeparator();
    connect(add(menu_, "N12", QStringLiteral("区切り文字列挿入(&K)"),
                QKeySequence(Qt::CTRL | Qt::Key_K)),
            &QAction::triggered, this, guard(&PageCommands::InsertSeparator));
    connect(add(menu_, "L1", QStringLiteral("最下行に現在の日時を挿入(&L)"),
                QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, this, guard(&PageCommands::StampNowAtEnd));
    menu_->addSeparator();
    connect(add(menu_, "N14", QStringLiteral("ファイル出力(&S)..."),
                QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, guard(&PageCommands::ExportPage));
    connect(add(menu_, "R2", QStringLiteral("選択範囲のみファイル出力(&W)")), &QAction::triggered,
            this, guard(&PageCommands::ExportSelection));
    connect(add(menu_, "URLW1", QStringLiteral("選択文字列、またはカーソル行をURLとして開く(&E)")),
            &QAction::triggered, this, guard(&PageCommands::OpenUrl));
    connect(add(menu_, "N23", QStringLiteral("選択文字列(数式)をコピーし電卓を起動する(&G)...")),
            &QAction::triggered, this, guard(&PageCommands::StartCalculator));
    menu_->addSeparator();
    connect(add(menu_, "F1", QStringLiteral("フォント(&F)...")), &QAction::triggered, this,
            [this] { Guarded([this] { ChangeFont(false); }, pages_); });
    connect(add(menu_, "B1", QStringLiteral("背景色(&B)...")), &QAction::triggered, this,
            guard(&PageCommands::ChangeBackColour));
    connect(add(menu_, "I1", QStringLiteral("フォント初期化(&I)...")), &QAction::triggered, this,
            [this] { Guarded([this] { ChangeFont(true); }, pages_); });
    menu_->addSeparator();
    connect(add(menu_, "N18", QStringLiteral("メモ名称の変更(&T)...")), &QAction::triggered, this,
            guard(&PageCommands::RenameCurrentPage));
    buildMoveMenu(menu_);
    connect(menu_, &QMenu::aboutToShow, this, &PageCommands::prepareMoveMenu);

    // Shortcuts act while a page editor has the focus.
    for (QAction* a : menu_->actions()) {
        if (!a->shortcut().isEmpty()) {
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            pages_->addAction(a);
        }
    }
    connect(pages_, &MemoPagesView::pageMenuRequested, this,
            [this](const QPoint& global) { menu_->popup(global); });
}

QAction* PageCommands::add(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    return a;
}

QAction* PageCommands::action(const char* name) const
{
    return menu_->findChild<QAction*>(QLatin1String(name));
}

QPlainTextEdit* PageCommands::editor() const
{
    return pages_->editor(pages_->currentPage());
}

void PageCommands::buildMoveMenu(QMenu* parent)
{
    moveMenu_ = parent->addMenu(QStringLiteral("メモ移動(&M)"));
    moveMenu_->menuAction()->setObjectName(QStringLiteral("M1"));
    for (int k = 1; k <= 30; ++k) {
        if (k == 11 || k == 21)
            moveMenu_->addSeparator();
        const QString caption = k == 1    ? QStringLiteral("先頭へ移動")
                                : k == 30 ? QStringLiteral("最後へ移動")
                                          : QStringLiteral("%1番目へ移動").arg(k);
        QAction* a = moveMenu_->addAction(caption);
        connect(a, &QAction::triggered, this, [this, k] {
            Guarded([this, k] { pages_->movePage(pages_->currentPage(), k - 1); }, pages_);
        });
        moveItems_.append(a);
    }
}

void PageCommands::prepareMoveMenu()
{
    const int shown = ReadSettingInt(REG_ShowVnoteCount);
    for (int k = 1; k <= moveItems_.size(); ++k)
        moveItems_[k - 1]->setEnabled(shown >= k);
}

void PageCommands::InsertAtCaret(const QString& text)
{
    if (editor()->isReadOnly())
        return; // a page whose file is not to be written yet
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    editor()->insertPlainText(t);
}

void PageCommands::InsertAtEnd(const QString& value)
{
    QPlainTextEdit* e = editor();
    if (e->isReadOnly())
        return;
    QTextCursor c = e->textCursor();
    c.movePosition(QTextCursor::End);
    const QString text = e->toPlainText();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        c.insertText(QStringLiteral("\n"));
    c.insertText(value + u'\n');
    c.movePosition(QTextCursor::End);
    e->setTextCursor(c);
    e->setFocus();
}

void PageCommands::StampNowAtCaret()
{
    InsertAtCaret(RenderDateTime(Workspace().dateTimeFormat, Now()) + QStringLiteral("\r\n"));
    editor()->setFocus();
}

void PageCommands::StampNowAtEnd()
{
    InsertAtEnd(RenderDateTime(Workspace().dateTimeFormat, Now()));
}

void PageCommands::InsertSeparator()
{
    const WorkspaceSettings& w = Workspace();
    InsertAtCaret(
        SeparatorInsertion(w.separatorText, w.breakBeforeSeparator, w.breakAfterSeparator));
    editor()->setFocus();
}

bool PageCommands::confirmOverwrite(const QString& path, bool threeWay, bool* append)
{
    *append = false;
    if (!QFileInfo::exists(path))
        return true;
    if (!threeWay)
        return Ask(BoxKind::Warning, QStringLiteral("既存のファイルが存在します、上書きしますか。"),
                   BoxButtons::OkCancel) == BoxAnswer::Ok;
    const QString text = QStringLiteral("既存のファイルが存在します、上書き出力しますか。\r\n\r\n"
                                        "[はい]：上書き出力。\r\n[いいえ]：最終行に追加出力。\r\n"
                                        "[キャンセル]：処理を中止。");
    const BoxAnswer a = Ask(BoxKind::Warning, text, BoxButtons::YesNoCancel);
    *append = a == BoxAnswer::No;
    return a != BoxAnswer::Cancel;
}

void PageCommands::ExportPage()
{
    const QString path = Prompts().saveFile(kTextFilter, QStringLiteral("txt"));
    bool append = false;
    if (path.isEmpty() || !confirmOverwrite(path, false, &append))
        return;
    WriteEditText(path, pages_->pageText(pages_->currentPage()), NewFileMode::UserUmask);
}

void PageCommands::ExportSelection()
{
    const QString selection = selectionOf(editor());
    if (selection.isEmpty()) {
        Ask(BoxKind::Information, kNoSelection, BoxButtons::Ok);
        return;
    }
    const QString path = Prompts().saveFile(kTextFilter, QStringLiteral("txt"));
    bool append = false;
    if (path.isEmpty() || !confirmOverwrite(path, true, &append))
        return;
    WriteEditText(path, append ? AppendOnNewLine(ReadEditText(path), selection) : selection,
                  NewFileMode::UserUmask);
}

void PageCommands::OpenUrl()
{
    QPlainTextEdit* e = editor();
    QString url = selectionOf(e);
    if (url.isEmpty()) {
        url = UrlOfLine(e->textCursor().block().text());
        if (url.isEmpty()) {
            Ask(BoxKind::Information, kNoSelection, BoxButtons::Ok);
            return;
        }
    }
    const QUrl web = WebAddress(url.left(1023));
    if (!web.isValid()) { // a path, a file: address, another program's scheme
        Ask(BoxKind::Information, NotAWebAddressMessage(), BoxButtons::Ok);
        return;
    }
    CurrentPlatform().desktop->openUrl(web.toString());
}

void PageCommands::StartCalculator()
{
    const QString selection = selectionOf(editor());
    if (!selection.isEmpty())
        QApplication::clipboard()->setText(selection);
    if (CurrentPlatform().desktop->startCalculator())
        return;
    QString text = QStringLiteral("電卓が見つかりません。\r\n"
                                  "次のいずれかの電卓をインストールしてください：\r\n"
                                  "gnome-calculator、kcalc、galculator、mate-calc、"
                                  "qalculate-gtk、xcalc");
    if (!selection.isEmpty())
        text += QStringLiteral("\r\n（選択文字列はクリップボードにコピーしました）");
    Ask(BoxKind::Information, text, BoxButtons::Ok);
}

void PageCommands::ChangeFont(bool fromDefault)
{
    const int page = pages_->currentPage();
    const FontSpec current = pages_->pageFont(page);
    const FontSpec start = fromDefault ? DefaultPageFont() : current;
    const auto chosen = Prompts().chooseFont(FontDialogStart(start));
    if (!chosen)
        return;
    pages_->setPageFont(page, ChosenFont(*chosen, start, current.color));
}

void PageCommands::ChangeBackColour()
{
    const int page = pages_->currentPage();
    const auto chosen = Prompts().chooseColour(ToQColor(pages_->pageBackColour(page)));
    if (chosen)
        pages_->setPageBackColour(page, ToColorRef(*chosen));
}

void PageCommands::RenameCurrentPage()
{
    const int page = pages_->currentPage();
    const QString name = pages_->tabName(page);
    const QString chosen =
        Prompts().input(QStringLiteral("タブ名称変更"), QStringLiteral("新しいタブ名を入力"), name);
    pages_->renamePage(page, chosen);
}

} // namespace vn
