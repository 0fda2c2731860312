#pragma once
// The memo editing commands and the page menu (`PopupMenu3`): stamps, the
// separator, export, URL, calculator, fonts, colours, rename and move.
#include <QKeySequence>
#include <QObject>

class QMenu;
class QPlainTextEdit;
class QAction;

namespace vn {

class MemoPagesView;

class PageCommands : public QObject {
    Q_OBJECT
public:
    explicit PageCommands(MemoPagesView* pages);
    QMenu* menu() const { return menu_; }
    QAction* action(const char* name) const;

    void InsertAtCaret(const QString& text); // replaces the selection
    void InsertAtEnd(const QString& value);  // on a new last line
    void StampNowAtCaret();
    void StampNowAtEnd();
    void InsertSeparator();
    void ExportPage();
    void ExportSelection();
    void OpenUrl();
    void StartCalculator();
    void ChangeFont(bool fromDefault);
    void ChangeBackColour();
    void RenameCurrentPage();

signals:
    void searchRequested();   // Ctrl+F
    void findNextRequested(); // F3

private:
    QPlainTextEdit* editor() const;
    QAction* add(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {});
    void buildMoveMenu(QMenu* parent);
    void prepareMoveMenu();
    bool confirmOverwrite(const QString& path, bool threeWay, bool* append);

    MemoPagesView* pages_;
    QMenu* menu_;
    QMenu* moveMenu_ = nullptr;
    QList<QAction*> moveItems_;
};

} // namespace vn
