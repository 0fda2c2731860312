#pragma once
// The frame the list windows share: a toolbar above a list grid, the
// deleting of the current row with its messages, and closing, which saves.
//
// Closing by any means (the toolbar, the title bar, Escape) saves the rows.
// When the save fails the error is shown and the user tries again or keeps
// the window open with its rows: nothing typed is dropped.
#include "widgets/listgrid.h"

#include <QDialog>

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
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    QToolBar* toolBar_;
    ListGrid* grid_;
    QMenu* popup_;
};

} // namespace vn
