#pragma once
// The frame the list windows share: a toolbar above a list grid, the
// deleting of the current row with its messages, and closing, which saves.
//
// Closing by any means (the toolbar, the title bar, Escape) saves the rows.
// When the save fails the user is told and may always close: with the rows
// copied to the clipboard, without, or back to the window. Rows that could
// not be written stay in the window and are shown again at its next
// opening (instead of the file), until a close writes them or the program
// ends. When the program ends (a quit, the end of the session, a stop
// signal) an open list saves what it can and closes without a question.
#include "widgets/listgrid.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QMenu;
class QToolBar;
class QToolButton;

namespace vn {

class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(QWidget* parent, const char* objectName, const QString& caption, QSize size);

    ListGrid* grid() const { return grid_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The grid's pop-up menu; empty menus do not pop up.
    QMenu* popupMenu() const { return popup_; }

protected:
    // A toolbar button showing caption, with the hint as its tooltip.
    QToolButton* addToolButton(const char* objectName, const QString& caption, const QString& hint);
    // One toolbar command: its button's object name, caption and hint, what
    // a click runs, and whether a separator comes before it.
    struct ToolCommand {
        const char* name;
        const char16_t* caption;
        const char16_t* hint;
        std::function<void()> run;
        bool separatorBefore = false;
    };
    // Adds the buttons in order; a click runs its command with any error
    // shown. Returns the buttons in the same order.
    std::vector<QToolButton*> addToolCommands(const std::vector<ToolCommand>& commands);
    // The current row when there is one to edit, else -1.
    int editableRow() const;
    // Deletes the current row after asking question(row) (YesNo): warns
    // "削除データなし" without rows and "削除データ不明" without a current
    // row. The row at the same place, or the new last row, becomes current.
    // True when a row was deleted.
    bool DeleteCurrentRow(const std::function<QString(int row)>& question);

    // Writes the rows; throws AppError when it cannot.
    virtual void saveRows() = 0;
    // The lines a save writes, for the copy offered when it cannot.
    virtual QStringList savedLines() const = 0;
    // True while the rows hold what the last close could not write.
    bool unsaved() const { return unsaved_; }
    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // While the window is shown, called every second: a list whose file
    // another program changed reads it again when none of its rows was
    // changed here (a row changed here is merged into the file at the close).
    virtual void takeInOutsideChange() {}
    // The file changed outside since it was read, and the rows (as lines)
    // are still those read.
    static bool changedOnlyOutside(const class RecordFile& file,
                                   const std::function<QStringList()>& rowLines);

private:
    // Closes after a failed save, copying the rows first when asked; false
    // when the user goes back to the window.
    bool closeUnsaved(const QString& error);

    QToolBar* toolBar_;
    ListGrid* grid_;
    QMenu* popup_;
    bool unsaved_ = false;
    bool ending_ = false; // the program is ending: nothing is asked
    class QTimer* outsideLook_ = nullptr;
};

} // namespace vn
